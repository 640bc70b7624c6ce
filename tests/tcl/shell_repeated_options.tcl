# The shell's own options are given once: a second -journal is refused with
# the usage and status 2 before anything runs, rather than the first journal
# being left empty.
source [file join [file dirname [info script]] lib scenario.tcl]
set shell [info nameofexecutable]

puts "--- two journals"
set failed [catch {exec $shell -journal first.tcl -journal second.tcl -c {puts ran} 2>@1} output]
puts "[lindex [split $output \n] 0] (failed: $failed, [lindex $::errorCode 0] [lindex $::errorCode 2])"
puts "journals written: [glob -nocomplain *.tcl]"

puts "--- one journal holds the commands"
catch {exec $shell -journal first.tcl -c {
    new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100
    add_library -library dsp
    close_project
} 2>@1} output
puts $output
puts [read_file first.tcl]
