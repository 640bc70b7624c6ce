# The place-and-route tool keeps beside a view's database a description of
# the files the database was built from (top.ide_pld). A file that the
# description names outside the project folder and that the project does
# not hold joins the project as a link when the description is read fresh:
# when the project is opened (the open reads every view's description
# ahead) and when the file watcher finds the description changed. One
# that is not on disk is passed over with a debug line and nothing else; a
# file of the project folder that the user took out of the project stays
# out.
#
# Linking, constraint kinds, the pace of the checks and debug lines are
# settings of the user's options file, read when the shell starts: the
# session runs in a shell started with them.
source [file join [file dirname [info script]] lib scenario.tcl]
source [file join [file dirname [info script]] lib layout_design.tcl]
with_options DESCRIPTION_LINKS_SESSION \
    [layout_options "IDE_LINKING_ENABLED = 1" "IDE_TIMER_INTERVAL = 20" "DEBUG_MSG = 1"]
# The description of top's database in the view impl1 as the tool writes
# it after a layout, naming the project's netlist and pin constraint and
# the simulation dumps `dumps` (the switching activity of a power
# analysis); its time moved ahead as the tool's write would.
proc describe {dumps} {
    set text "KEMLET_IDE_PLD 1\nWRITER 1\nDATABASE top.adb\nDESIGN top\nLOCAL_COPIES 0\n"
    append text "FILE ../../synthesis/top.edn\nKIND 0\nFILE ../../constraint/pins.pdc\nKIND 12\n"
    foreach file $dumps { append text "FILE $file\nKIND 13\nFORMAT vcd\n" }
    write_file pallador/impl1/top.ide_pld $text
    file mtime pallador/impl1/top.ide_pld [expr {[clock seconds] + [incr ::ahead 3]}]
}
# The project's member files as the saved project lists them.
proc members {} {
    save_project
    foreach line [split [read_file alu.prj] \n] {
        if {[regexp {^VALUE "([^"]+)"} $line -> value]} { puts "  $value" }
    }
}

write_layout_design
write_file shared/board.vcd "\$date today \$end\n"
write_file shared/late.vcd "\$date later \$end\n"

puts "--- a design top with its netlist and constraints"
new_layout_project alu {timing.sdc pins.pdc}
write_file stimulus/old.vcd "\$date before \$end\n"
members
try {close_project}

puts "--- the tool's description names a dump outside the project, one that is gone, and a dump"
puts "--- of the project folder that the project does not hold: the open links the first"
describe [list [file normalize ../shared/board.vcd] [file normalize ../shared/missing.vcd] ../../stimulus/old.vcd]
try {open_project alu.prj}
members

puts "--- the tool names one more file outside the project: the next check of the watcher links it"
describe [list [file normalize ../shared/board.vcd] [file normalize ../shared/late.vcd]]
wait_for_checks 200
members

puts "--- saved, closed and opened again: the links are members, nothing more is added"
round_trip
try {close_project}
