# A test bench associated with a unit of another library that no unit of
# "work" uses leaves that unit's stimulus list when it is deleted, alone or
# with others, as it leaves the lists of the units "work" reaches: the
# project saved at once no longer names it, and an open gives the same.
source [file join [file dirname [info script]] lib scenario.tcl]
proc benches {} { show_stimulus_lists {top::work ip_core::ip} }

write_file src/top.vhd [vhdl_unit top {}]
write_file src/ip_core.vhd [vhdl_unit ip_core {}]
foreach name {tb_a tb_b tb_c} {
    write_file src/$name.vhd "entity $name is end;\narchitecture sim of $name is begin\nend;\n"
}

puts "--- ip_core stands in library ip, used by no unit; both units have test benches"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/ip_core.vhd}}
try {add_library -library ip}
try {add_file_to_library -library ip -file hdl/ip_core.vhd}
try {import_files -stimulus {../src/tb_a.vhd ../src/tb_b.vhd ../src/tb_c.vhd}}
try {associate_stimulus -module top -file stimulus/tb_a.vhd -file stimulus/tb_b.vhd}
try {associate_stimulus -module ip_core::ip -file stimulus/tb_b.vhd -file stimulus/tb_a.vhd -file stimulus/tb_c.vhd}
benches
round_trip

puts "--- tb_a deleted alone: it leaves both lists"
try {delete_files -file stimulus/tb_a.vhd}
benches
round_trip

puts "--- tb_b and tb_c deleted at once: ip_core's list is empty"
try {delete_files -file stimulus/tb_b.vhd -file stimulus/tb_c.vhd}
benches
round_trip
