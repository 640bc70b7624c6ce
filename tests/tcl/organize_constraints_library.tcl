# The place-and-route constraint list of a unit that changes library. The
# list is kept beside the database the unit's view uses; a database made
# from a netlist of the unit under its old library is not the unit's any
# more, so the unit's view takes a database of its own (top_1 beside top).
# The list follows the unit there, in its order, as its other lists do:
# whether its file goes to another library, its library goes
# (remove_library) or takes another name (rename_library), and after the
# project is saved and opened again.
#
# The tools' constraint extensions and the project's constraint kinds are
# settings of the user's options file, read when the shell starts: the
# session runs in a shell started with them. The shell looks for the
# tool's databases between commands; a short pace lets the session wait
# for that.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(CONSTRAINTS_LIBRARY_SESSION)]} {
    write_file options [join {
        "IDE_MIXED_HDL_ENABLED = 1" "ALL_IMPORT_CONSTRAINT_FILES = PDC SDC" "IMPORT_CONSTRAINT_FILES = PDC SDC"
        "PDC_DISP_NAME = Pin Constraint File" "PDC_EXTN = pdc"
        "SDC_DISP_NAME = Timing Constraint File" "SDC_EXTN = sdc"
        "PALLADOR_IMPORT_CONSTRAINT_FILES = pdc sdc" "IDE_TIMER_INTERVAL = 20" ""} \n]
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    exit [run_again CONSTRAINTS_LIBRARY_SESSION 1]
}
proc wait_for_checks {} {
    after 150 {set ::waited 1}
    vwait ::waited
}
# The lists beside the view's databases, one line each.
proc layout_lists {} {
    foreach name [lsort [glob -nocomplain -directory pallador/impl1 *.ide_pld]] {
        set files {}
        foreach line [split [read_file $name] \n] {
            if {[regexp {^(FILE|LINK) (.*)$} $line -> kind file]} { lappend files [file tail $file] }
        }
        puts "  [file tail $name]: $files"
    }
}
# The list of the unit as test_organize_constraints finds it.
proc check {unit args} {
    set files {}
    foreach name $args { lappend files -file constraint/$name }
    puts -nonewline "  $unit has [expr {[llength $args] ? $args : {no constraint file}}]: "
    try {test_organize_constraints -tool pallador -module $unit {*}$files}
}

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is signal a, b : bit; begin u : entity work.mid port map (a, b); end;\n"
write_file src/mid.vhd "entity mid is port (a : in bit; b : out bit); end;\narchitecture rtl of mid is begin b <= a; end;\n"
write_file src/top.edn "(edif top (design top (cellRef top (libraryRef work))))\n"
write_file src/pins.pdc "set_io a 1\n"
write_file src/timing.sdc "create_clock -period 10 clk\n"

puts "--- top in work, with its netlist, the pin constraint before the timing one, and a database"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd}}
try {import_files -edif ../src/top.edn -pdc ../src/pins.pdc -sdc ../src/timing.sdc}
try {set_root top}
try {organize_constraints -tool pallador -file constraint/pins.pdc -file constraint/timing.sdc}
write_file pallador/impl1/top.adb "database\n"
wait_for_checks
layout_lists
check top pins.pdc timing.sdc

puts "--- top goes to the library dsp: its list comes along to a database of its own"
try {add_library -library dsp}
try {add_file_to_library -library dsp -file hdl/top.vhd}
try {set_root top::dsp}
check top::dsp pins.pdc timing.sdc
layout_lists
puts "the order changed in dsp"
try {organize_constraints -tool pallador -file constraint/timing.sdc -file constraint/pins.pdc}
check top::dsp timing.sdc pins.pdc

puts "--- the library removed: top is back in work with the order it had in dsp, its netlist still first"
try {remove_library -library dsp}
check top timing.sdc pins.pdc
layout_lists

puts "--- to another library and back, and a library renamed on the way"
try {add_library -library dsp}
try {add_file_to_library -library dsp -file hdl/top.vhd}
check top::dsp timing.sdc pins.pdc
try {organize_constraints -tool pallador -module top::dsp -file constraint/pins.pdc -file constraint/timing.sdc}
try {rename_library -library dsp -name fir}
check top::fir pins.pdc timing.sdc
try {add_file_to_library -library work -file hdl/top.vhd}
check top pins.pdc timing.sdc
layout_lists

puts "--- saved and opened again, the order stays"
try {save_project}
try {close_project}
try {open_project alu.prj}
check top pins.pdc timing.sdc
puts "a unit that stayed in its library keeps its own list"
check mid
