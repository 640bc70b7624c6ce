# A unit that instantiates one of its ancestors would close a cycle in the
# hierarchy: that instance is left out. Once the user breaks the cycle (the
# file of a unit in it edited, or deleted), the instance left out is linked,
# so the design and the project saved at once are what an open of the
# project gives.
source [file join [file dirname [info script]] lib scenario.tcl]

write_file src/top.vhd [vhdl_unit top mid]
write_file src/mid.vhd [vhdl_unit mid leaf]
write_file src/leaf.vhd [vhdl_unit leaf ""]

try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/leaf.vhd}}
puts [dump_all_modules -tree true]

puts "--- leaf now instantiates top, its ancestor: top's instance of mid,\n    parsed last, is left out"
write_file hdl/leaf.vhd [vhdl_unit leaf top]
try {refresh}
design_and_open

puts "--- mid no longer instantiates leaf: the cycle is broken and top takes mid again"
write_file hdl/mid.vhd [vhdl_unit mid ""]
try {refresh}
design_and_open

puts "--- the cycle again (top's instance of mid left out), broken by deleting mid's file: top takes\n    the unit that stands for mid, as an open gives it"
write_file hdl/mid.vhd [vhdl_unit mid leaf]
try {refresh}
design_and_open
try {delete_files -file hdl/mid.vhd}
design_and_open
try {close_project -save false}
