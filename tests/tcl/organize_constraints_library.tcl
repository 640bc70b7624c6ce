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
source [file join [file dirname [info script]] lib layout_design.tcl]
with_options CONSTRAINTS_LIBRARY_SESSION [layout_options "IDE_TIMER_INTERVAL = 20"]
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

write_layout_design

puts "--- top in work, with its netlist, the pin constraint before the timing one, and a database"
new_layout_project alu {pins.pdc timing.sdc}
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
