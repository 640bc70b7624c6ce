# A first look at the quorlane shell: a Tcl 8.6 interpreter with the Quorlane
# library loaded. Run it with scripts/demo.
puts "Quorlane [package present quorlane], the project manager of the Solvato FPGA suite."
puts "This shell runs Tcl scripts, in batch or at its prompt."
puts ""

# Plain Tcl works as in any tclsh: a script can write its own design files.
file mkdir hdl
foreach unit {alu uart timer} {
    set f [open hdl/$unit.v w]
    puts $f "module $unit (input clk, input rst);\nendmodule"
    close $f
}
foreach file [lsort [glob hdl/*.v]] {
    puts [format "  wrote %-14s %3d bytes" $file [file size $file]]
}

# Errors are Tcl errors: a script can catch them or let them stop the run.
if {[catch {no_such_command} message]} {
    puts "caught: $message"
}
