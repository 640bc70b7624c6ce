# A project file written by hand with every section the format has (views,
# libraries with alias and compile option, member files with their stamps,
# one named with a comma, a used definition, a per-module block, option
# sections, tool profiles and editor files) is opened and saved: the saved
# file is the same, byte for byte. A member
# file changed on disk since is taken in again, and the project saved once.
#
# Member-file stamps in the project file and the editor files reopened with
# a project are settings of the user's options file, read when the shell
# starts: the session runs in a shell started with them.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(ROUND_TRIP_SESSION)]} {
    write_file options "IDE_SAVE_FILE_STAMPS_IN_PRJ = 1\nIDE_RESTORE_OPENED_VIEWS = 1\n"
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    exit [run_again ROUND_TRIP_SESSION 1]
}
proc compare {what expected actual} {
    if {$expected eq $actual} { puts "$what: identical"; return }
    puts "$what: differs"
    set a [split $expected \n]; set b [split $actual \n]
    for {set i 0} {$i < max([llength $a], [llength $b])} {incr i} {
        if {[lindex $a $i] ne [lindex $b $i]} { puts "  line [expr {$i + 1}]: '[lindex $a $i]' became '[lindex $b $i]'" }
    }
}

puts "--- the design files, all of 14 November 2023"
file mkdir alu/hdl alu/stimulus alu/pallador/impl1 alu/pallador/impl2 shared
foreach {name unit} {alu/hdl/alu,v1.v alu alu/hdl/regs.v regs alu/stimulus/tb_alu.v tb_alu shared/shared_pkg.v shared_pkg} {
    write_file $name "module ${unit}(input a);\nendmodule\n\n\n\n"
    file mtime $name 1700000000
    puts "  $name [file size $name] bytes"
}
set golden [string map [list @PROJECT@ [pwd]/alu @SHARED@ [pwd]/shared] \
                [read_file $env(QUORLANE_TEST_DATA_DIR)/project/round_trip.prj]]
write_file alu/alu.prj $golden
file mtime alu/alu.prj 1700000000
proc untouched {} { expr {[file mtime alu/alu.prj] == 1700000000 ? "untouched" : "written again"} }

puts "--- open, which saves at once"
try {open_project alu/alu.prj}
compare "project file after the open" $golden [read_file alu/alu.prj]
try {save_project}
compare "project file after a save" $golden [read_file alu/alu.prj]
puts "a save of the same bytes leaves the file [untouched]"
try {close_project}
compare "project file after the close" $golden [read_file alu/alu.prj]

puts "--- alu.v changes on disk while the project is closed"
write_file alu/hdl/alu,v1.v "module alu(input a, input b);\nendmodule\n"
file mtime alu/hdl/alu,v1.v 1700000600
try {open_project alu/alu.prj}
compare "project file after the open" $golden [read_file alu/alu.prj]
try {close_project}

puts "--- a member file is gone"
file delete alu/hdl/regs.v
try {open_project alu/alu.prj}
puts "a save of other bytes leaves the file [untouched]"
puts [lsearch -all -inline [split [read_file alu/alu.prj] \n] {VALUE "<project>/hdl/*}]
try {close_project -save false}
