# What goes wrong around a project file: a save that cannot replace the
# file, project files that are damaged or written by another version. A
# failed save keeps the old file and the project open; a failed open leaves
# no project open.
source [file join [file dirname [info script]] lib scenario.tcl]
proc write_file {name text} { set f [open $name w]; fconfigure $f -translation binary; puts -nonewline $f $text; close $f }
proc is_open {} {
    catch {save_project} message
    if {[string match "You must load a project*" $message]} { return "no project is open" }
    return "the project is open"
}

try {new_project -location alu -name alu -hdl VERILOG -family TN4 -die tn4_15 -package cs64}
set good [read_file alu/alu.prj]

puts "--- the project file cannot be replaced (a folder took its name)"
file rename alu/alu.prj alu/saved.prj
file mkdir alu/alu.prj/inside
try {save_project}
try {close_project}
puts "[is_open]; alu.prj is still a folder: [file isdirectory alu/alu.prj]"
set left [glob -nocomplain -tails -types {f hidden} -directory alu *]
puts "temporary files left beside it: [expr {$left eq {} ? {none} : $left}]"
try {close_project -save false}
file delete -force alu/alu.prj
file rename alu/saved.prj alu/alu.prj

puts "--- damaged project files"
proc damaged {what text} {
    write_file alu/alu.prj $text
    puts "$what:"
    try {open_project alu/alu.prj}
    puts "  [is_open]"
}
damaged "a module block whose head has no quotes" [string map {"LIST NewModulesInfo\n" "LIST NewModulesInfo\nLIST alu\nENDLIST\n"} $good]
damaged "a module block whose head is a bare LIST" [string map {"LIST NewModulesInfo\n" "LIST NewModulesInfo\nLIST\nENDLIST\n"} $good]
damaged "a nested list without its ENDLIST" [string map {"LIST NewModulesInfo\nENDLIST\n" "LIST NewModulesInfo\nLIST \"alu\"\nENDLIST\n"} $good]
damaged "a stray LIST line that would take the member list for its own" [string map {"LIST FileManager\n" "LIST Extra\nLIST FileManager\n"} $good]
damaged "the member list without its LIST line" [string map {"LIST FileManager\n" ""} $good]
puts "  the file as it was is kept: [expr {[read_file alu/alu.prj] eq [string map {"LIST FileManager\n" ""} $good]}]"
damaged "binary bytes" "KEY SOLVATO \"8.4\"\n\x00\x01\xff\xfeLIST REVISIONS\n"
damaged "a version beyond every number" [string map {"KEY SOLVATO \"8.4\"" "KEY SOLVATO \"99999999999999999999.1\""} $good]

puts "--- projects of other versions"
damaged "written by version 9.0" [string map {"KEY SOLVATO \"8.4\"" "KEY SOLVATO \"9.0\""} $good]
damaged "written by version 6.5" [string map {"KEY SOLVATO \"8.4\"" "KEY SOLVATO \"6.5\""} $good]
damaged "written by version 8.1, with a view number beyond every number" \
    [string map {"KEY SOLVATO \"8.4\"" "KEY SOLVATO \"8.1\"" "NUM=1" "NUM=99999999999999999999"} $good]
puts "  the file as it was is kept: [lsort [glob -tails -directory alu *.bak]]"
puts "  [lsearch -inline [split [read_file alu/alu.prj] \n] {KEY SOLVATO*}]"
try {close_project}

puts "--- a project file with carriage returns for line ends is whole, not damaged"
write_file alu/alu.prj [string map {\n \r} $good]
try {open_project alu/alu.prj}
puts "  [is_open]; saved again, it keeps its family: [regexp {KEY VendorTechnology_Family \"TN4\"} [read_file alu/alu.prj]]"
try {close_project -save false}

puts "--- a core workspace that cannot be read: the open says so once, and each open says it again"
write_file alu/alu.prj $good
set workspace [read_file alu/kiltora/kiltora.aws]
write_file alu/kiltora/kiltora.aws "<workspace version=\"1\"\n"
try {open_project alu/alu.prj}
try {close_project}
try {open_project alu/alu.prj}
puts "  [is_open]; the workspace file is left as it was: [expr {[read_file alu/kiltora/kiltora.aws] eq "<workspace version=\"1\"\n"}]"
try {close_project}
puts "mended, it opens without a word"
write_file alu/kiltora/kiltora.aws $workspace
try {open_project alu/alu.prj}
try {close_project}
