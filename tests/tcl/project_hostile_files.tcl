# Project files and members that are not what they say: members that are no
# regular files (a device that never ends, a named pipe, a folder) are
# reported once, not read and left out; a project file that holds no
# project is refused and left as it is.
source [file join [file dirname [info script]] lib scenario.tcl]
proc members {} {
    set lines [split [read_file alu/alu.prj] \n]
    set first [lsearch $lines "LIST FileManager"]
    set last [lsearch -start $first $lines ENDLIST]
    return [lsearch -all -inline [lrange $lines $first $last] {VALUE *}]
}
proc write_raw {name text} { set f [open $name w]; fconfigure $f -translation binary; puts -nonewline $f $text; close $f }

try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
write_file src/top.vhd "entity top is end;\narchitecture a of top is begin u : entity work.leaf port map (x); end;\n"
write_file src/leaf.vhd "entity leaf is end;\n"
try {import_files -hdl_source {src/top.vhd src/leaf.vhd}}
try {close_project}
set good [read_file alu/alu.prj]

puts "--- members that are no regular files"
file mkdir alu/hdl/folder.vhd
exec mkfifo alu/hdl/pipe.vhd
set list "LIST FileManager\nVALUE \"/dev/zero,hdl\"\nENDFILE\nVALUE \"<project>/hdl/pipe.vhd,hdl\"\nENDFILE\n"
append list "VALUE \"<project>/hdl/folder.vhd,hdl\"\nENDFILE\n"
write_file alu/alu.prj [string map [list "LIST FileManager\n" $list] $good]
puts "open_project answers: [join [split [open_project alu/alu.prj] \n] {, }]"
puts [dump_all_modules -tree true]
puts "  saved members: [members]"
try {close_project}
puts "opened again, nothing is left to report:"
puts "open_project answers: '[open_project alu/alu.prj]'"
try {close_project}

puts "--- project files that hold no project"
foreach {what text} {
    "an empty file" ""
    "blank lines" "\n\n  \n"
    "a text that is no project" "top.vhd\nleaf.vhd\n"
} {
    write_raw alu/alu.prj $text
    puts "$what:"
    try {open_project alu/alu.prj}
    puts "  the file is left as it was: [expr {[read_file alu/alu.prj] eq $text}];\
          backups: [llength [glob -nocomplain alu/*.bak]]"
    catch {save_project} message
    puts "  $message"
}
puts "a file without a version that holds a project is older than every release:"
write_raw alu/alu.prj [string map [list "KEY SOLVATO \"8.4\"\n" ""] $good]
try {open_project alu/alu.prj}
puts "  [lsearch -inline [split [read_file alu/alu.prj] \n] {KEY SOLVATO*}]; backups: [glob -tails -directory alu *.bak]"
try {close_project}

puts "--- project files cut short, as an interrupted copy leaves them, are refused and left as they are"
proc cut_at {what text} {
    write_raw alu/alu.prj $text
    set backups [llength [glob -nocomplain alu/*.bak]]
    puts "$what (its last line: '[lindex [split [string trimright $text] \n] end]'):"
    try {open_project alu/alu.prj}
    puts "  the file is left as it was: [expr {[read_file alu/alu.prj] eq $text}];\
          backups made: [expr {[llength [glob -nocomplain alu/*.bak]] - $backups}]"
    catch {save_project} message
    puts "  $message"
}
cut_at "cut after 130 bytes" [string range $good 0 129]
set die [string first "KEY VendorTechnology_Die \"" $good]
cut_at "cut inside the die's quotes" [string range $good 0 [expr {$die + 26}]]
cut_at "cut after a key's name" [string range $good 0 [expr {$die + 23}]]
cut_at "cut inside the member list" [string range $good 0 [expr {[string first "ENDFILE" $good] + 7}]]
cut_at "written by version 8.1 and cut short: no question, no backup" \
    [string range [string map {"KEY SOLVATO \"8.4\"" "KEY SOLVATO \"8.1\""} $good] 0 129]
puts "cut after a whole key line, it opens as such a file always did: the keys and lists before the cut are the project"
write_raw alu/alu.prj [string range $good 0 [string first "\n" $good $die]]
try {open_project alu/alu.prj}
puts "  [lsearch -inline [split [read_file alu/alu.prj] \n] {KEY VendorTechnology_Die*}]; members: [llength [members]]"
try {close_project}
write_raw alu/alu.prj $good

puts "--- project files as checkouts, merges and editors leave them"
proc views {} { return [join [lrange [split [lindex [regexp -inline {LIST REVISIONS\n(.*?)ENDLIST} [read_file alu/alu.prj]] 1] \n] 0 end-1] {; }] }
puts "a merge conflict left unresolved is refused, the file kept as it was:"
set conflict [string map [list "VALUE \"<project>/hdl/top.vhd,hdl\"\n" \
    "<<<<<<< HEAD\nVALUE \"<project>/hdl/top.vhd,hdl\"\n=======\nVALUE \"<project>/hdl/top2.vhd,hdl\"\n>>>>>>> feature\n"] $good]
write_raw alu/alu.prj $conflict
try {open_project alu/alu.prj}
puts "  the file is left as it was: [expr {[read_file alu/alu.prj] eq $conflict}]"
puts "a byte-order mark before the first key reads as a project of this version:"
write_raw alu/alu.prj "\xEF\xBB\xBF$good"
set backups [llength [glob -nocomplain alu/*.bak]]
try {open_project alu/alu.prj}
puts "  backups made: [expr {[llength [glob -nocomplain alu/*.bak]] - $backups}]"
try {close_project}
puts "a checkout without the current view's folder keeps its views and makes the folder again:"
write_raw alu/alu.prj [string map [list "CURREV=1\n" "VALUE=\"fast\",NUM=2\nCURREV=2\n"] $good]
file delete -force alu/pallador
try {open_project alu/alu.prj}
try {close_project}
puts "  [views]; folders: [lsort [glob -tails -directory alu/pallador *]]"
puts "a family the catalogue does not know is unset, and the user is told:"
write_raw alu/alu.prj [string map [list "Family \"ZX3\"" "Family \"ZQ9\""] $good]
try {open_project alu/alu.prj}
try {close_project}
puts "  [lsearch -inline [split [read_file alu/alu.prj] \n] {KEY VendorTechnology_Family*}]"
puts "a file whose name does not end in .prj is no project file:"
file copy alu/alu.prj alu/alu.PRJ
try {open_project alu/alu.PRJ}
puts "a project file reached through a link from another folder opens where it lies, its members kept:"
file delete alu/alu.PRJ
write_raw alu/alu.prj $good
file mkdir elsewhere
file link -symbolic elsewhere/alu.prj [file normalize alu/alu.prj]
try {open_project elsewhere/alu.prj}
puts "  [dump_all_modules]"
try {close_project}
puts "  members kept in the real file: [llength [regexp -all -inline {VALUE "<project>/hdl/} [read_file alu/alu.prj]]];\
      still a link: [expr {[file type elsewhere/alu.prj] eq {link}}]; folders made beside the link: [glob -nocomplain -tails -directory elsewhere *]"

puts "--- a project without views whose view folder cannot be made keeps its default view and the units' states"
proc states {} {
    set block [lindex [regexp -inline {LIST NewModulesInfo\n(.*?)LIST AssociatedStimulus} [read_file alu/alu.prj]] 1]
    return [join [lrange [split $block \n] 0 end-1] {; }]
}
set states "LIST NewModulesInfo\nLIST \"top::work\"\nLIST ProjectState5.1\nLIST Impl1\nideSYNTHESIS=StateSuccess\n"
append states "LIST FlowOptions\nUsePhySynth=TRUE\nUseSynth=FALSE\nENDLIST\nENDLIST\nENDLIST\nENDLIST\nENDLIST\n"
write_raw alu/alu.prj [string map [list "VALUE=\"Impl1\",NUM=1\nCURREV=1\n" "" "LIST NewModulesInfo\nENDLIST\n" $states] $good]
file delete -force alu/pallador
write_file alu/pallador "not a folder\n"
try {open_project alu/alu.prj}
try {save_project}
try {close_project}
puts "  [views]"
puts "  [states]"
puts "the folder can be made again: the view and the states are there, the view's folder made"
file delete alu/pallador
try {open_project alu/alu.prj}
try {close_project}
puts "  [views]; folders: [lsort [glob -tails -directory alu/pallador *]]"
puts "  [states]"

puts "--- a view listed twice is kept once; CURREV still names the view the file names"
file mkdir alu/pallador/impl2 alu/pallador/impl3 alu/pallador/impl4
foreach {list current} {
    {{A 1} {A 2} {C 3} {D 4}} 3
    {{A 1} {A 2} {C 3} {D 4}} 2
    {{A 1} {B 1} {C 3}} 3
    {{A 1} {B 1} {C 3}} 2
} {
    set block "LIST REVISIONS\n"
    foreach view $list { append block "VALUE=\"[lindex $view 0]\",NUM=[lindex $view 1]\n" }
    regsub {LIST REVISIONS\n.*?ENDLIST\n} $good "${block}CURREV=$current\nENDLIST\n" text
    write_raw alu/alu.prj $text
    puts "[join $list {, }], CURREV=$current:"
    try {open_project alu/alu.prj}
    try {close_project}
    set first [views]
    try {open_project alu/alu.prj}
    try {close_project}
    puts "  $first; the same when opened again: [expr {[views] eq $first}]"
}
