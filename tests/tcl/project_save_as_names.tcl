# A project whose file names a member by its absolute name inside the
# project folder (written by hand, or by an older version), or by a name
# that climbs out of it ("<project>/../shared/x.vhd", or out and back in
# by the folder's own name), kept under another name in another folder.
# The copy names its own copy of each file it copied, so that editing the
# copy leaves the project kept alone; a file outside the folder, not
# copied, stays the same file and is still found.
source [file join [file dirname [info script]] lib scenario.tcl]
proc sums {folder} {
    set out {}
    foreach file [lsort [exec find $folder -type f]] { lappend out [lindex [exec md5sum $file] 0] $file }
    return $out
}
# The member files a project file lists, the test's folder shown as "~".
proc members {project} {
    set found {}
    foreach line [lsearch -all -inline [split [read_file $project] \n] {VALUE "*,*"}] {
        lappend found [string map [list [pwd] ~] [string range $line 7 end-1]]
    }
    expr {$found eq "" ? "none" : [join [lsort $found] "; "]}
}
proc units {} { join [lrange [split [string trim [dump_all_modules]] \n] 1 end] " " }

puts "--- a project naming members in four ways, and a file outside it by its absolute name"
try {new_project -location work/alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
try {close_project}
foreach {file unit} {work/alu/hdl/top.vhd top work/alu/hdl/inner.vhd inner work/alu/hdl/back.vhd back
                     work/shared/near.vhd near work/shared/far.vhd far} {
    write_file $file "entity $unit is end;\narchitecture a of $unit is begin end;\n"
}
set listed "LIST FileManager\n"
foreach name [list <project>/hdl/top.vhd [file normalize work/alu/hdl/inner.vhd] <project>/../../work/alu/hdl/back.vhd \
                  <project>/../shared/near.vhd [file normalize work/shared/far.vhd]] {
    append listed "VALUE \"$name,hdl\"\nENDFILE\n"
}
write_file work/alu/alu.prj [string map [list "LIST FileManager\n" $listed] [read_file work/alu/alu.prj]]
try {open_project work/alu/alu.prj}
try {save_project}
puts "  [members work/alu/alu.prj]"
set before [sums work]

foreach filter {all project sources} {
    puts "--- a copy with $filter files, in a folder elsewhere"
    try {open_project work/alu/alu.prj}
    try {save_project_as -location copies/$filter/alu -name alu_$filter -files $filter}
    puts "  [members copies/$filter/alu/alu_$filter.prj]"
    puts "  units: [units]"
    puts "  copied: [lsort [glob -tails -directory copies/$filter/alu/hdl *]]"
    try {save_project}
    try {close_project}
    puts "the copy's own file is edited: the copy opens with it, the project kept is left alone"
    write_file copies/$filter/alu/hdl/inner.vhd "entity inner_$filter is end;\narchitecture b of inner_$filter is begin end;\n"
    try {open_project copies/$filter/alu/alu_$filter.prj}
    puts "  units: [units]"
    try {close_project}
    puts "  the project kept is as it was: [expr {[sums work] eq $before}]"
}

puts "--- an empty copy lists no member"
try {open_project work/alu/alu.prj}
try {save_project_as -location copies/none/alu -name alu_none -files none}
puts "  members: [members copies/none/alu/alu_none.prj]"
puts "  units: [expr {[units] eq "" ? "none" : [units]}]"
try {close_project}
puts "  the project kept is as it was: [expr {[sums work] eq $before}]"
