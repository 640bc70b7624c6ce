# A unit that several files define is given another of them as its
# definition (use_source_file), or its definition's file leaves the project
# and another file defines it: what its views hold from the unit's own
# files (the stimulus steps, done while the unit has a stimulus) is saved
# at once, as the flow works it out, and an open of the saved project finds
# the same: a save, an open and a save give the same file. Tool results
# made from the former definition are gone; another unit's stay.
#
# The constraint kinds and the choice of a view's file are settings of the
# user's options file, read when the shell starts: the session runs in a
# shell started with them.
source [file join [file dirname [info script]] lib scenario.tcl]
source [file join [file dirname [info script]] lib case_rename_design.tcl]
with_options USE_SOURCE_FILE_VIEWS_SESSION [case_rename_options {}]

# Saves the project and shows the file defining MID, then what the views of
# MID and top hold as the project file keeps them (their block in the
# project's list of view states).
proc show_views {} {
    save_project
    set lines [split [read_file alu.prj] \n]
    set chosen [lsearch -inline -glob $lines {VALUE "<project>/*,MID"}]
    puts "  MID defined by: [expr {$chosen eq {} ? {the one file that defines it} : $chosen}]"
    show_view_states {MID::work top::work}
}

puts "--- MID defined by Base.vhd and MID.vhd, MID.vhd chosen; MID has a stimulus and is the root"
make_case_rename_design {{organize_constraints -tool physynth -file constraint/Pins.pdc -file constraint/Timing.sdc}}
write_file ../x/MID3.vhd [vhdl_unit MID ""]
try {import_files -hdl_source ../x/MID3.vhd}
show_views
round_trip

puts "--- MID3.vhd chosen: the stimulus steps stay done, saved at once"
try {use_source_file -file hdl/MID3.vhd -module MID}
show_views
round_trip

puts "--- MID.vhd chosen back"
try {use_source_file -file hdl/MID.vhd -module MID}
show_views
round_trip

puts "--- tool results held for MID and top (synthesis, as the design environment writes them)"
try {close_project}
edit_project "LIST Impl1\nideSTIMULUS=" "LIST Impl1\nideSYNTHESIS=StateSuccess\nideSTIMULUS="
edit_project "LIST Impl1\nLIST FlowOptions" "LIST Impl1\nideSYNTHESIS(<project>/synthesis/Top_Fast.edn,syn_edn)=StateSuccess\nLIST FlowOptions"
try {open_project alu.prj}
show_views
puts "    Base.vhd chosen: the synthesis results were made from MID.vhd and go, MID's and top's (MID is"
puts "    part of top)"
try {use_source_file -file hdl/Base.vhd -module MID}
show_views
round_trip

puts "--- MID3.vhd leaves the project, then Base.vhd, MID's definition: MID.vhd, the one file left"
puts "    that defines MID, is its definition, and the stimulus steps stay done"
try {delete_files -file hdl/MID3.vhd}
try {delete_files -file hdl/Base.vhd}
show_views
round_trip

puts "--- without a stimulus, MID's views hold nothing after a choice"
write_file ../x/MID4.vhd [vhdl_unit MID ""]
try {import_files -hdl_source ../x/MID4.vhd}
try {associate_stimulus -module MID -mode remove -file stimulus/TB.vhd}
try {use_source_file -file hdl/MID4.vhd -module MID}
show_views
round_trip
try {close_project}
