# A file imported again that no longer defines a unit it was refused for,
# or chosen for, as a second definition: the other file of that unit is
# read again and defines it alone. Its units have the stimulus states an
# open works out, and no choice of a definition is kept for a unit that one
# file defines: the project saved at once is the project saved after an
# open (a save, an open and a save give the same file).
source [file join [file dirname [info script]] lib scenario.tcl]

# The design, then the lines of the saved project file that choose a unit's
# definition, and the stimulus lists and view states of `units`.
proc show {units} {
    show_design_and_chosen
    show_stimulus_lists $units
    show_view_states $units
}

write_file src/top.vhd [vhdl_unit top core]
write_file src/core.vhd [vhdl_unit core ""]
write_file src/core_b.vhd [vhdl_unit core ""]
write_file src/tb.vhd "entity tb is end;\narchitecture sim of tb is begin end;\n"

puts "--- core defined by core.vhd, and by core_b.vhd, refused; core has a stimulus"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/core.vhd ../src/core_b.vhd} -stimulus ../src/tb.vhd}
try {associate_stimulus -module core -file stimulus/tb.vhd}
show {core}
puts "--- core.vhd, edited to define other, is imported again: core_b.vhd defines core,"
puts "    which keeps its stimulus and stimulus states"
write_file ../src/core.vhd [vhdl_unit other ""]
try {import_files -hdl_source ../src/core.vhd}
show {core other}
round_trip
show {core other}
drop_project

puts "--- core_b.vhd chosen for core; core.vhd, imported again, defines top instead:"
puts "    core_b.vhd alone defines core and is no longer kept as its choice"
write_file src/core.vhd [vhdl_unit core ""]
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/core.vhd ../src/core_b.vhd}}
try {use_source_file -file hdl/core_b.vhd -module core}
show {}
write_file ../src/core.vhd [vhdl_unit top ""]
try {import_files -hdl_source ../src/core.vhd}
show {}
round_trip
show {}
try {close_project}
