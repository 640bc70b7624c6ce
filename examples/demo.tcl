# A first look at the quorlane shell: a Tcl 8.6 interpreter with the Quorlane
# library loaded. Run it with scripts/demo.
puts "Quorlane [package present quorlane], the project manager of the Solvato FPGA suite."
puts "This shell runs Tcl scripts, in batch or at its prompt."
puts ""

# A new project: its folder, the sub-folders the tools use, the first
# place-and-route view and the project file.
puts "--- new_project"
new_project -location alu -name alu -hdl VERILOG -family ZX3 -die zx3_10 -package tq100
puts "  folders: [lsort [glob -tails -types d -directory alu *]]"
puts "  views:   [glob -tails -directory alu/pallador *]"

# Plain Tcl works as in any tclsh: a script can write its own design files.
foreach unit {alu uart timer} {
    set f [open alu/hdl/$unit.v w]
    puts $f "module $unit (input clk, input rst);\nendmodule"
    close $f
}
foreach file [lsort [glob alu/hdl/*.v]] {
    puts [format "  wrote %-18s %3d bytes" $file [file size $file]]
}

# The project file: keys, then one block per section.
proc show_project_file {name} {
    set f [open $name]; set lines [split [string trimright [read $f] \n] \n]; close $f
    puts "  $name, [llength $lines] lines:"
    foreach line $lines {
        if {[string match "KEY *" $line]} { puts "    $line" }
    }
    set sections {}
    foreach line $lines {
        if {[regexp {^LIST (\S+)$} $line -> name]} { lappend sections $name }
    }
    puts "    sections: [join $sections {, }]"
}

puts "--- save_project, close_project"
save_project
show_project_file alu/alu.prj
close_project

# Every command that works on a project says so when none is open.
if {[catch {save_project} message]} { puts "  save_project now: $message" }

puts "--- open_project"
open_project alu/alu.prj
show_project_file alu/alu.prj
close_project -save false

# Errors are Tcl errors: a script can catch them or let them stop the run.
puts "--- errors"
if {[catch {new_project -location alu -name alu -hdl VERILOG -family ZX3} message]} { puts "  caught: $message" }
if {[catch {open_project missing/nothing.prj} message]} { puts "  caught: $message" }
if {[catch {no_such_command} message]} { puts "  caught: $message" }
