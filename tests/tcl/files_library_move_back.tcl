# Files moved to another library one at a time and back, as a script that
# sorts a design into libraries moves them: each unit takes its stimulus
# and its views' states along; a netlist's synthesis state stays with the
# unit of the netlist's library (top of lib2 has none), and a unit's file
# parsed again in the netlist's library leaves the netlist out of date; the
# units a moved file instantiates, and those left in the library it left,
# have the states an open gives them.
# After each move the project saved at once is the project saved after an
# open.
source [file join [file dirname [info script]] lib scenario.tcl]
# The root, the states of the netlists, and the design and view states of
# each unit (named "unit::library"), as the saved project holds them.
proc show {} {
    save_project
    set lines [split [read_file alu.prj] \n]
    puts "  [lsearch -inline $lines {KEY ActiveRoot *}]"
    foreach at [lsearch -all -regexp $lines {^VALUE "<project>/synthesis/}] {
        puts "  [lindex $lines $at] [lindex $lines [expr {$at + 1}]]"
    }
    set states [lrange $lines [lindex [lsearch -exact -all $lines "LIST ProjectState5.1"] end] end]
    foreach line $states {
        if {[regexp {^(LIST "[^"]+::[^"]+"|SolvatoState|ide)} $line]} { puts "  $line" }
    }
}

write_file src/top.vhd [vhdl_unit top mid]
write_file src/mid.vhd [vhdl_unit mid leaf]
write_file src/leaf.vhd [vhdl_unit leaf ""]
write_file src/tb.vhd "entity tb is end;\narchitecture sim of tb is begin end;\n"
foreach unit {top mid} {
    write_file src/$unit.edn "(edif $unit (library work (cell $unit)) (design $unit (cellRef $unit (libraryRef work))))\n"
}

try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/leaf.vhd} -edif {../src/top.edn ../src/mid.edn} -stimulus ../src/tb.vhd}
try {associate_stimulus -module top -file stimulus/tb.vhd}
try {associate_stimulus -module leaf -file stimulus/tb.vhd}
try {set_root top}
show

puts "--- top.vhd to lib2: top of lib2 keeps the root and its stimulus, not the synthesis state of work's netlist"
try {add_file_to_library -library lib2 -file hdl/top.vhd}
puts [dump_all_modules -tree true]
show
round_trip

puts "--- mid.vhd to lib2 too: top of lib2 finds mid there, and work keeps leaf alone"
try {add_file_to_library -library lib2 -file hdl/mid.vhd}
puts [dump_all_modules -tree true]
show
round_trip

puts "--- top.vhd back to work: top of work has its stimulus, its netlist is out of date, and mid of work,"
puts "    a unit without file, has its netlist's state"
try {add_file_to_library -library work -file hdl/top.vhd}
puts [dump_all_modules -tree true]
show
round_trip

puts "--- mid.vhd back to work: the hierarchy is as it was, and mid's netlist is out of date too"
try {add_file_to_library -library work -file hdl/mid.vhd}
puts [dump_all_modules -tree true]
show
round_trip
try {close_project}
