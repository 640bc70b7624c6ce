# The shell watches the open project's folders while it waits for events
# (at the prompt, in vwait, update or after): a source dropped into the HDL
# folder comes in at the next check, an edited one is parsed again, what the
# watcher does not take stays out, nothing is taken while file detection
# is off or no project is open, and a linked source that disappears takes its
# units along until it comes back.
#
# The pace of the checks is a setting of the user's options file, read when
# the shell starts: the session runs in a shell started with a short one.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(WATCH_SESSION)]} {
    write_file options "IDE_TIMER_INTERVAL = 20\n"
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    exit [run_again WATCH_SESSION 1]
}
proc tree {} { puts [dump_all_modules -tree true] }
proc members {} {
    save_project
    foreach line [split [read_file alu.prj] \n] {
        if {[string match {VALUE "*} $line]} { puts "  $line" }
    }
}
proc members_text {} { save_project; return [read_file alu.prj] }
# Moves a file's time ahead, so that an edit within the same second shows.
proc touch {name seconds} { file mtime $name [expr {[clock seconds] + $seconds}] }

write_file src/top.vhd [vhdl_unit top mid]
write_file src/mid.vhd [vhdl_unit mid leaf]

puts "--- a VHDL project whose mid uses a leaf that is not there yet"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd}}
tree

puts "--- leaf.vhd dropped into the HDL folder: nothing happens until the shell waits"
write_file hdl/leaf.vhd [vhdl_unit leaf ""]
tree
wait_for_checks
tree

puts "--- mid.vhd edited on disk so that it no longer uses leaf: parsed again"
write_file hdl/mid.vhd [vhdl_unit mid ""]
touch hdl/mid.vhd 5
wait_for_checks
tree

puts "--- what the watcher leaves out: Verilog in a VHDL project, a file one level too deep, an empty file"
write_file hdl/counter.v "module counter; endmodule\n"
write_file hdl/old/top.vhd [vhdl_unit top ""]
write_file hdl/empty.vhd ""
puts "--- and what it takes into other folders: a test bench, a simulation script"
write_file stimulus/tb_top.vhd "entity tb_top is end;\narchitecture sim of tb_top is begin end;\n"
write_file simulation/run.do "run -all\n"
wait_for_checks
members

puts "--- with file detection off nothing comes in; on again, the file is taken"
try {project_settings -auto_file_detection false}
write_file hdl/late.vhd [vhdl_unit late ""]
wait_for_checks
puts "  late.vhd in the project: [expr {[string first late.vhd [members_text]] >= 0}]"
try {project_settings -auto_file_detection true}
wait_for_checks
puts "  late.vhd in the project: [expr {[string first late.vhd [members_text]] >= 0}]"

puts "--- a source removed on disk stays a member (and its units) until it is deleted from the project"
file delete hdl/leaf.vhd
wait_for_checks
tree

puts "--- closed, nothing is watched; opened again, what lay there is the start"
try {close_project}
write_file hdl/while_closed.vhd [vhdl_unit while_closed ""]
wait_for_checks
try {open_project alu.prj}
wait_for_checks
puts "  while_closed.vhd in the project: [expr {[string first while_closed.vhd [members_text]] >= 0}]"
puts "--- until it changes"
touch hdl/while_closed.vhd 9
wait_for_checks
puts "  while_closed.vhd in the project: [expr {[string first while_closed.vhd [members_text]] >= 0}]"

puts "--- an edit on disk, then an import before the shell waits: the import takes only its own file"
write_file hdl/while_closed.vhd [vhdl_unit while_closed late]
touch hdl/while_closed.vhd 11
write_file ../src/extra.vhd [vhdl_unit extra ""]
try {import_files -hdl_source ../src/extra.vhd}
tree
puts "--- the next check parses the edited source again"
wait_for_checks
tree

puts "--- a source outside the project, linked in by the project file"
write_file ../src/shared.vhd [vhdl_unit shared ""]
try {close_project}
set text [read_file alu.prj]
set member "VALUE \"<project>/hdl/top.vhd,hdl\""
set at [string first $member $text]
write_file alu.prj [string replace $text $at [expr {$at + [string length $member] - 1}] \
    "VALUE \"[file normalize ../src/shared.vhd],hdl\"\n$member"]
try {open_project alu.prj}
tree
puts "--- it disappears: its units leave the design, it stays a member"
file rename ../src/shared.vhd ../src/shared.keep
wait_for_checks
tree
members
puts "--- it comes back: parsed again"
file rename ../src/shared.keep ../src/shared.vhd
wait_for_checks
tree
try {close_project}
