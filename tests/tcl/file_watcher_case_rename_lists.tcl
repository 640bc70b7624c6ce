# Member files renamed on disk in the case of their letters while the
# project is open (hdl/MID.vhd becomes hdl/mid.vhd): once the watcher has
# followed them, every list of the project names each by its new name, as a
# rename made while the project was closed gives at the next open: the
# definition chosen, the stimulus, the synthesis constraints, the root, the
# views' tool results and the links of other files. Nothing keeps the old
# name, the data is still found, and a save, an open and a save give the
# same file. A member exported as a link, and a link given a new place,
# leave no old name behind either.
#
# The pace of the checks, the constraint kinds and the choice of a view's
# file are settings of the user's options file, read when the shell starts:
# the session runs in a shell started with them.
source [file join [file dirname [info script]] lib scenario.tcl]
source [file join [file dirname [info script]] lib case_rename_design.tcl]
with_options CASE_OPEN_SESSION [case_rename_options {"IDE_TIMER_INTERVAL = 20"}]

# The design, then every line of the saved project file that names one of
# the files renamed, old name or new.
proc show {} {
    puts [dump_all_modules -tree true]
    save_project
    foreach line [split [read_file alu.prj] \n] {
        if {[regexp -nocase {mid2?\.vhd|timing\.sdc|tb\.vhd|top_fast\.edn|ActiveRoot} $line]} { puts "  $line" }
    }
}
# Whether the saved project file names any of `names` as it is spelt.
proc old_names {names} {
    save_project
    set text [read_file alu.prj]
    set found {}
    foreach name $names { if {[string first $name $text] >= 0} { lappend found $name } }
    puts "  old names in the saved file: [expr {[llength $found] ? $found : {none}}]"
}

puts "--- MID defined twice, MID.vhd chosen; MID has a stimulus, synthesis constraints and is the root;"
puts "    top's view works on Top_Fast.edn; tool results for Top_Fast.edn, and Pins.pdc linked to MID.vhd"
make_case_rename_design {{organize_constraints -tool physynth -file constraint/Pins.pdc -file constraint/Timing.sdc}}
try {close_project}
edit_project "LIST Impl1\n" "LIST Impl1\nideSYNTHESIS(<project>/synthesis/Top_Fast.edn,syn_edn)=StateSuccess\n"
edit_project "VALUE \"<project>/constraint/Pins.pdc,pdc\"\nSTATE" \
    "VALUE \"<project>/constraint/Pins.pdc,pdc\"\nPARENT=\"<project>/hdl/MID.vhd\"\nSTATE"
try {open_project alu.prj}
show

puts "--- renamed in case while open: MID.vhd, Timing.sdc, TB.vhd, Top_Fast.edn; the watcher follows each"
file rename hdl/MID.vhd hdl/mid.vhd
file rename constraint/Timing.sdc constraint/timing.SDC
file rename stimulus/TB.vhd stimulus/tb.vhd
file rename synthesis/Top_Fast.edn synthesis/top_fast.edn
wait_for_checks 300
show
old_names {MID.vhd Timing.sdc TB.vhd Top_Fast.edn}
puts "    the data is still found under the new names"
try {test_associate_stimulus -module MID -file stimulus/tb.vhd}
try {test_organize_constraints -tool synthesis -file constraint/timing.SDC}
try {test_organize_constraints -tool physynth -file constraint/Pins.pdc -file constraint/timing.SDC}
round_trip
show

puts "--- mid.vhd exported as a link, then the link pointed at another file: no list keeps an old place"
try {export_as_link -file hdl/mid.vhd -path ../elsewhere/mid.vhd}
show
old_names {<project>/hdl/mid.vhd}
round_trip
file copy ../elsewhere/mid.vhd ../elsewhere/Mid2.vhd
try {change_link_source -file ../elsewhere/mid.vhd -path ../elsewhere/Mid2.vhd}
old_names {elsewhere/mid.vhd <project>/hdl/mid.vhd}
puts "  Pins.pdc linked to: [lsearch -inline -glob [split [read_file alu.prj] \n] PARENT=*]"
try {close_project}
