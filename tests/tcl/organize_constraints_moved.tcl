# The place-and-route constraint list of a project that was copied by
# save_project_as or moved to another folder. The list beside the view's
# database names the project's own files relative to its folder, so the
# copy and the moved project keep their list, in its order and with the
# netlist first, and build from their own files; the original's list is
# left as it was. A list written by an earlier version names the files in
# full: opened in another folder than it was saved in, the project has its
# lists carried over to its own files.
#
# The tools' constraint extensions and the project's constraint kinds are
# settings of the user's options file, read when the shell starts: the
# session runs in a shell started with them.
source [file join [file dirname [info script]] lib scenario.tcl]
source [file join [file dirname [info script]] lib layout_design.tcl]
with_options CONSTRAINTS_MOVED_SESSION [layout_options]
# The place-and-route list of the open project's view, as written.
proc layout_list {} {
    foreach line [split [read_file pallador/impl1/top.ide_pld] \n] {
        if {[regexp {^(FILE|LINK) } $line]} { puts "  $line" }
    }
}

write_layout_design

puts "--- a design top with its netlist and a timing constraint before the pin constraint"
new_layout_project alu {timing.sdc pins.pdc}
puts "the list names the project's files from the view's folder"
layout_list
set original [read_file pallador/impl1/top.ide_pld]

puts "--- a copy keeps the list, and its list names the copy's files"
try {save_project_as -location ../cp -name cp}
cd ../cp
try {test_organize_constraints -tool pallador -file constraint/timing.sdc -file constraint/pins.pdc}
puts "a change in the copy keeps the netlist first"
try {organize_constraints -tool pallador -file constraint/pins.pdc}
try {test_organize_constraints -tool pallador -file constraint/pins.pdc}
layout_list
puts "the original's list is left as it was"
puts "  [expr {[read_file ../alu/pallador/impl1/top.ide_pld] eq $original ? {unchanged} : {changed}}]"
try {close_project}

puts "--- the original moved to another folder keeps its list too"
cd ..
file mkdir archive
file rename alu archive/alu
try {open_project archive/alu/alu.prj}
cd archive/alu
try {test_organize_constraints -tool pallador -file constraint/timing.sdc -file constraint/pins.pdc}
try {organize_constraints -tool pallador -file constraint/pins.pdc -file constraint/timing.sdc}
try {test_organize_constraints -tool pallador -file constraint/pins.pdc -file constraint/timing.sdc}
layout_list
try {close_project}
puts "and the copy still has its own"
cd ../../cp
try {open_project cp.prj}
try {test_organize_constraints -tool pallador -file constraint/pins.pdc}
layout_list

puts "--- a list that names the files in full, as earlier versions wrote it, moves with its project"
try {close_project}
cd ..
new_layout_project old {timing.sdc pins.pdc}
try {close_project}
write_file pallador/impl1/top.ide_pld [string map [list "../../" "[pwd]/"] [read_file pallador/impl1/top.ide_pld]]
set original [read_file pallador/impl1/top.ide_pld]
try {open_project old.prj}
try {save_project_as -location ../old_copy -name old_copy}
cd ../old_copy
try {test_organize_constraints -tool pallador -file constraint/timing.sdc -file constraint/pins.pdc}
layout_list
try {organize_constraints -tool pallador -file constraint/pins.pdc}
layout_list
puts "the original's list is left as it was"
puts "  [expr {[read_file ../old/pallador/impl1/top.ide_pld] eq $original ? {unchanged} : {changed}}]"
