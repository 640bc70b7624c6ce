# A unit with a stimulus whose definition passes to another file while the
# project is open: the chosen file goes to another library, is deleted, or
# one of three files that define the unit is deleted. The unit keeps its
# stimulus, and its stimulus states, which follow from the stimulus alone,
# stay as they were: the project file holds the same before and after an
# open (a save, an open and a save give the same file). The chosen file
# that goes to another library takes its unit's data along: the unit there
# has the stimulus and its states too, before an open as after it.
#
# The constraint kinds and the choice of a view's file are settings of the
# user's options file, read when the shell starts: the session runs in a
# shell started with them.
source [file join [file dirname [info script]] lib scenario.tcl]
source [file join [file dirname [info script]] lib case_rename_design.tcl]
with_options DEFINITION_MOVES_SESSION [case_rename_options {}]

# The design, then the lines of the saved project file that open a unit's
# block or name its stimulus and stimulus states.
proc show {} {
    puts [dump_all_modules -tree true]
    save_project
    foreach line [split [read_file alu.prj] \n] {
        if {[regexp {^LIST (NewModulesInfo|AssociatedStimulus|ProjectState5\.1|"|MID)|ideSTIMULUS|TB\.vhd} $line]} {
            puts "  $line"
        }
    }
}

puts "--- MID defined by Base.vhd and MID.vhd, MID.vhd chosen, with a stimulus"
make_case_rename_design {}
show
puts "--- MID.vhd goes to the library lib2: Base.vhd defines MID of work, which keeps its stimulus states;"
puts "    MID of lib2 has them as well"
try {add_library -library lib2}
try {add_file_to_library -library lib2 -file hdl/MID.vhd}
show
round_trip
show
drop_project

puts "--- Base.vhd goes to lib2 instead: MID of work stays as it was"
make_case_rename_design {}
try {add_library -library lib2}
try {add_file_to_library -library lib2 -file hdl/Base.vhd}
show
round_trip
drop_project

puts "--- MID.vhd is deleted: Base.vhd defines MID"
make_case_rename_design {}
try {delete_files -file hdl/MID.vhd}
show
round_trip
puts "    and refresh reads every file again"
try {refresh}
round_trip
drop_project

puts "--- a third file defines MID; MID.vhd is deleted: the first of the two left defines MID"
make_case_rename_design {}
write_file ../x/MID3.vhd [vhdl_unit MID ""]
try {import_files -hdl_source ../x/MID3.vhd}
try {delete_files -file hdl/MID.vhd}
show
round_trip
try {close_project}
