# use_source_file with a unit named with its library ("unit::library"): a
# file of another library does not define that unit, not even the file
# that defines the unit of that name in its own library, and is refused:
# its choice would name a unit the next open does not find. By the unit's
# plain name a file is chosen. What is chosen is saved: a save, an open and
# a save give the same file.
source [file join [file dirname [info script]] lib scenario.tcl]

# The design, and the lines of the saved project file that choose a unit's
# definition.
proc show {} {
    show_design_and_chosen
}

write_file src/top.vhd [vhdl_unit top core]
write_file src/core.vhd [vhdl_unit core ""]
write_file src/core_b.vhd [vhdl_unit core leaf]
write_file src/leaf.vhd [vhdl_unit leaf ""]

puts "--- core defined by core.vhd and core_b.vhd in work; lib2 holds leaf"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/core.vhd ../src/leaf.vhd}}
try {import_files -hdl_source ../src/core_b.vhd}
try {add_file_to_library -library lib2 -file hdl/leaf.vhd}
show
puts "--- core of lib2, which holds no core, or of a library that does not exist,"
puts "    defined by core.vhd or core_b.vhd of work: refused"
try {use_source_file -module core::lib2 -file hdl/core.vhd}
try {use_source_file -module core::nosuch -file hdl/core.vhd}
try {use_source_file -module core::lib2 -file hdl/core_b.vhd}
show
round_trip
puts "--- core by its name: core_b.vhd is chosen"
try {use_source_file -module core -file hdl/core_b.vhd}
show
round_trip
show
try {close_project}
