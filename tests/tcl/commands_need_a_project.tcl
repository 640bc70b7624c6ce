# Commands that work on the project refuse to run while no project is open,
# and the files they are given must belong to the project; commands that
# need no project run at any time.
load $env(QUORLANE_ECHO_PACKAGE) Quorlaneecho

proc try {script} {
    if {[catch {uplevel 1 $script} message]} { puts "refused: $message" } else { puts $message }
}

puts "--- no project is open"
try {echo_project_args}
try {echo_project_args -tool synthesis -hdl VHDL}
try {echo_args -tool synthesis -hdl VHDL}

puts "--- a project command offers only the tools whose sources a module organises"
try {echo_project_args -tool pallador}

puts "--- each file that is not in the project is refused"
try {echo_project_args -file counter.v -file fifo.v}
try {echo_args -file counter.v -file fifo.v}
