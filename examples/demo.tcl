# A first look at the quorlane shell: a Tcl 8.6 interpreter with the Quorlane
# library loaded. Run it with scripts/demo.
puts "Quorlane [package present quorlane], the project manager of the Solvato FPGA suite."
puts "This shell runs Tcl scripts, in batch or at its prompt."
puts ""

# Plain Tcl works as in any tclsh.
set families {ZX7 ZX9 QL3}
foreach family $families {
    puts [format "  family %-4s has %d letters" $family [string length $family]]
}

# Errors are Tcl errors: a script can catch them or let them stop the run.
if {[catch {no_such_command} message]} {
    puts "caught: $message"
}
