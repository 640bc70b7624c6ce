# How the commands take their arguments: switches, booleans and choices,
# lists, files and folders, the target device, design units and views, and
# what a mistake on the command line says. The tests' echo command tells what
# each argument received.
load $env(QUORLANE_ECHO_PACKAGE) Quorlaneecho

proc try {script} {
    if {[catch {uplevel 1 $script} message]} { puts "refused: $message" } else { puts $message }
}

puts "--- switches, booleans and choices"
try {echo_args -verbose -bool 1 -speed fast -string "two words"}
try {echo_args -bool FALSE}
try {echo_args -bool yes}
try {echo_args -speed FAST}

puts "--- the HDL and the tool are typed in any letter case"
try {echo_args -hdl vhdl -tool PALLADOR}
try {echo_args -hdl Verilog -tool glimmond}
try {echo_args -tool place_and_route}

puts "--- a list in one word, or an option given once per value"
try {echo_args -words {counter fifo {top level}}}
try {echo_args -words counter -words fifo}
try {echo_args -file counter.v -file rtl/fifo.v}
try {echo_args -component fifo -component ram::ip}

puts "--- folders and file names are taken in the current folder"
try {echo_args -folder out -file_name notes.txt}
file mkdir rtl
cd rtl
try {echo_args -file counter.v}
cd ..

puts "--- the target device, with die and package by their displayed names"
try {echo_args -family ZX3 -die zx3-10 -package TQ100}
try {echo_args -family ZX9}
try {echo_args -family ZX3 -die ZX3-99}

puts "--- design units and views are looked for in the design"
try {echo_args -module counter}
try {echo_args -module counter::rtl_lib}
try {echo_args -pallador_view impl1}

puts "--- an option the command does not know"
try {echo_args -colour red}
