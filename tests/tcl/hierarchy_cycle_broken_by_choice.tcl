# A unit defined twice, whose first definition instantiates an ancestor: an
# open reads every file before it makes the saved choice of definition, so
# the instance that would close the cycle through the definition not chosen
# is left out at first. Once the choice is made the cycle no longer stands
# and the open links it, as the project saved at once has it.
source [file join [file dirname [info script]] lib scenario.tcl]

write_file src/top.vhd [vhdl_unit top mid]
write_file src/mid.vhd [vhdl_unit mid top]
write_file src/mid_alt.vhd [vhdl_unit mid leaf]
write_file src/leaf.vhd [vhdl_unit leaf ""]

try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/mid_alt.vhd ../src/leaf.vhd}}
puts "--- mid.vhd, the definition in use, instantiates top: mid's instance of top is left out"
puts [dump_all_modules -tree true]

puts "--- mid_alt.vhd chosen for mid: the cycle is broken and top takes mid; the open reads\n    mid.vhd first, leaves top's instance of mid out, and links it once mid_alt.vhd is chosen"
try {use_source_file -file hdl/mid_alt.vhd -module mid}
design_and_open
puts "--- opened once more"
design_and_open
try {close_project -save false}
