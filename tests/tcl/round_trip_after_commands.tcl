# Commands whose result the project saved at once holds as an open of it
# works it out: a save, a close, an open and a save give the same file.
# refresh works out the states of units its parse brings (a netlist's unit
# newly defined has the netlist's synthesis state); organize_sources saves
# no empty block for a module whose list it keeps but does not use;
# use_source_file refuses a file that does not define the unit, where the
# unit is only instantiated; add_file_to_library works out the states of
# the units it moves (top, moved from work to lib2, leaves the synthesis
# state of work's netlist behind); remove_library chooses a root afresh
# when the root it moved back into "work" is refused there; a file
# imported again keeps its units in their parents' places.
source [file join [file dirname [info script]] lib scenario.tcl]
# The lines of the saved project that open a unit's block or name its
# design state, and the chosen files.
proc show {} {
    save_project
    foreach line [split [read_file alu.prj] \n] {
        if {[regexp {^(LIST ("|UserCustomizedFileList|UsedFile)|SolvatoState|VALUE .*,(top|mid|leaf)")} $line]} {
            puts "  $line"
        }
    }
}

write_file src/top.vhd [vhdl_unit top mid]
write_file src/mid.vhd [vhdl_unit mid leaf]
write_file src/leaf.vhd [vhdl_unit leaf ""]
write_file src/top.edn "(edif top (library work (cell top)) (design top (cellRef top (libraryRef work))))\n"

puts "--- top's netlist; top.vhd comes to define other, then mid.vhd defines top: refresh gives"
puts "    the new top the netlist's synthesis state"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/leaf.vhd} -edif ../src/top.edn}
write_file hdl/top.vhd [vhdl_unit other mid]
try {refresh}
show
write_file hdl/mid.vhd [vhdl_unit top leaf]
try {refresh}
puts [dump_all_modules -tree true]
show
round_trip
show
drop_project

puts "--- a list of mid's own that equals no computed one, kept but not used: nothing of mid is saved"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/leaf.vhd}}
try {organize_sources -tool synthesis -module mid -mode new -file hdl/top.vhd -use_default true}
show
round_trip
puts "    used, it is saved"
try {organize_sources -tool synthesis -module mid -mode new -file hdl/top.vhd -use_default false}
show
round_trip
drop_project

puts "--- top.vhd, with top's netlist, goes to lib2: top of lib2 has no synthesis state"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/leaf.vhd} -edif ../src/top.edn}
show
try {add_file_to_library -library lib2 -file hdl/top.vhd}
puts [dump_all_modules -tree true]
show
round_trip
drop_project

puts "--- top.vhd goes to lib2 with the root; mid.vhd comes to define top as well;"
puts "    lib2 removed: top.vhd's top is refused in work, and a root is chosen afresh"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/leaf.vhd}}
try {set_root top}
try {add_file_to_library -library lib2 -file hdl/top.vhd}
write_file hdl/mid.vhd [vhdl_unit top leaf]
try {refresh}
try {remove_library -library lib2}
puts [dump_all_modules -tree true]
save_project
puts [lsearch -inline -all [split [read_file alu.prj] \n] *ActiveRoot*]
round_trip
puts [lsearch -inline -all [split [read_file alu.prj] \n] *ActiveRoot*]
drop_project

puts "--- wide uses leaf, then shr, each with a list of its own; leaf.vhd imported again:"
puts "    the lists are saved in the order of wide's text still"
write_file src/wide.vhd "entity wide is port (p : in bit); end;\narchitecture rtl of wide is\nbegin\n  u0 : entity work.leaf port map (p);\n  u1 : entity work.shr port map (p);\nend;\n"
write_file src/shr.vhd [vhdl_unit shr ""]
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/wide.vhd ../src/leaf.vhd ../src/shr.vhd}}
try {organize_sources -tool synthesis -module leaf -mode new -file hdl/wide.vhd -use_default false}
try {organize_sources -tool synthesis -module shr -mode new -file hdl/wide.vhd -use_default false}
show
try {import_files -hdl_source ../src/leaf.vhd}
show
round_trip
drop_project

puts "--- leaf only instantiated: no file defines it, top.vhd cannot be chosen for it"
write_file src/mid.vhd [vhdl_unit mid leaf]
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd}}
try {use_source_file -module leaf -file hdl/top.vhd}
try {use_source_file -module mid -file hdl/top.vhd}
show
round_trip
try {close_project}
