# Files of one library whose names for it differ in letter case ("LIB2"
# beside "lib2", "Work" for "work"): a unit such a file leaves behind, a
# unit without file standing in for one that moved or a placeholder for
# one it instantiates, is saved under the library's own name, whichever
# file made it and whatever the order the files were moved and parsed in;
# the project saved at once is the one saved after an open.
source [file join [file dirname [info script]] lib scenario.tcl]
# The member files with their libraries, and each unit's name in the
# project's lists of stimulus and of states ("unit::library"), with its
# states.
proc show {} {
    save_project
    foreach line [split [read_file alu.prj] \n] {
        if {[regexp {^(VALUE "<project>/hdl/|LIBRARY=|LIST "[^"]+::[^"]+"|SolvatoState|ide)} $line]} {
            puts "  $line"
        }
    }
}
# Saves, closes, opens and saves: whether the two saves wrote the same
# bytes, and the lines where they differ.
proc reopen {} {
    save_project
    set saved [split [read_file alu.prj] \n]
    try {close_project}
    try {open_project alu.prj}
    save_project
    set again [split [read_file alu.prj] \n]
    puts "  saved, opened and saved again: [expr {$saved eq $again ? {the same file} : {a different file}}]"
    foreach a $saved b $again { if {$a ne $b} { puts "    at once: $a"; puts "    opened:  $b" } }
}
# A VHDL entity with one port, its architecture using each of `subs`.
proc vhdl_units {name subs} {
    set text "entity $name is port (p : in bit); end;\narchitecture rtl of $name is\nbegin\n"
    set n 0
    foreach sub $subs { append text "  u[incr n] : entity work.$sub port map (p);\n" }
    return "${text}end;\n"
}

write_file src/top.vhd [vhdl_units top {mid shr}]
write_file src/mid.vhd [vhdl_units mid {leaf shr}]
write_file src/leaf.vhd [vhdl_units leaf {}]
write_file src/shr.vhd [vhdl_units shr {}]
write_file src/aux.vhd [vhdl_units aux {mid}]
write_file src/tb.vhd "entity tb is end;\narchitecture sim of tb is begin end;\n"
foreach unit {top mid shr} {
    write_file src/$unit.edn "(edif $unit (library work (cell $unit)) (design $unit (cellRef $unit (libraryRef work))))\n"
}

try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/leaf.vhd ../src/shr.vhd} -edif {../src/top.edn ../src/mid.edn ../src/shr.edn} -stimulus ../src/tb.vhd}
try {associate_stimulus -module top -file stimulus/tb.vhd}
try {associate_stimulus -module shr -file stimulus/tb.vhd}
try {set_root top}

puts "--- top.vhd and mid.vhd to lib2, shr.vhd to LIB2: shr of lib2 takes the stimulus along"
try {add_file_to_library -library lib2 -file hdl/top.vhd}
try {add_file_to_library -library LIB2 -file hdl/shr.vhd}
try {add_file_to_library -library lib2 -file hdl/mid.vhd}
puts [dump_all_modules -tree true]
show
reopen

puts "--- shr.vhd back to work: shr of lib2 stands in for it with the stimulus, under lib2"
try {add_file_to_library -library work -file hdl/shr.vhd}
puts [dump_all_modules -tree true]
show
reopen
show

puts "--- mid.vhd to lib3, top.vhd to lib3 and on to Work: top makes a placeholder of mid in work"
try {add_file_to_library -library work -file hdl/mid.vhd}
try {add_file_to_library -library lib3 -file hdl/mid.vhd}
try {add_file_to_library -library lib3 -file hdl/top.vhd}
try {add_file_to_library -library Work -file hdl/top.vhd}
puts "--- aux.vhd of work uses mid too, and is read before top.vhd when the project is opened"
try {import_files -hdl_source ../src/aux.vhd}
puts [dump_all_modules -tree true]
show
reopen
puts [dump_all_modules -tree true]
try {close_project}
