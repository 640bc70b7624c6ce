# Commands that work on the project refuse to run while no project is open,
# whatever their arguments, and the files they are given must belong to the
# project; commands that need no project run at any time.
load $env(QUORLANE_ECHO_PACKAGE) Quorlaneecho

proc try {script} {
    if {[catch {uplevel 1 $script} message]} { puts "refused: $message" } else { puts $message }
}

puts "--- no project is open"
try {echo_project_args}
try {echo_project_args -tool synthesis -hdl VHDL}
try {echo_args -tool synthesis -hdl VHDL}

puts "--- every registered command that needs a project, run without one, answers that alone, whatever its words"
# Each runs with no words, with every option given a module's name, with
# every option given a file that exists, and with words it does not take;
# each distinct answer shows once, after the Tcl return code.
set f [open a.vhd w]; puts $f "entity a is end;"; close $f
set free {}
foreach entry [registered_commands] {
    lassign $entry name condition options
    if {[string match echo_* $name]} continue
    if {$condition ne "a project must be opened"} { lappend free $name; continue }
    set lines [list {} {} {} {-no_such_option 1} {stray}]
    foreach option $options {
        lassign $option word takesValue
        lset lines 1 [concat [lindex $lines 1] $word [expr {$takesValue ? "top" : ""}]]
        lset lines 2 [concat [lindex $lines 2] $word [expr {$takesValue ? "a.vhd" : ""}]]
    }
    set answers {}
    foreach words $lines {
        set answer "[catch {$name {*}$words} message] $message"
        if {$answer ni $answers} { lappend answers $answer }
    }
    puts "$name: [join $answers "\n  and: "]"
}
puts "--- the commands that run without a project: $free"

puts "--- with a project open the arguments are read"
new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100
puts "--- a project command offers only the tools whose sources a module organises"
try {echo_project_args -tool pallador}

puts "--- each file that is not in the project is refused"
try {echo_project_args -file counter.v -file fifo.v}
try {echo_args -file counter.v -file fifo.v}
