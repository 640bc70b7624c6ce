# Test benches deleted together leave every unit's stimulus list: each
# unit that named one of them keeps its other benches in their order,
# whatever the order of the files deleted, and a source file deleted in
# the same batch takes its units with it. Saving, opening and saving again
# gives the same project file.
source [file join [file dirname [info script]] lib scenario.tcl]
# The stimulus list of each unit, as the saved project file holds it (a
# unit with nothing to save has no block there).
proc benches {} { show_stimulus_lists {top mid top2} }

set ports "port (a : in bit; b : out bit)"
write_file src/mid.vhd "entity mid is $ports; end;\narchitecture rtl of mid is begin b <= a; end;\n"
foreach top {top top2} {
    write_file src/$top.vhd "entity $top is end;\narchitecture rtl of $top is\n  signal a, b : bit;\nbegin\n  u : entity work.mid port map (a, b);\nend;\n"
}
foreach name {tb_1 tb_2 tb_3 tb_4} {
    write_file src/$name.vhd "entity $name is end;\narchitecture sim of $name is begin\n  u : entity work.top;\nend;\n"
}

puts "--- top and top2 share mid; four test benches, associated in different orders"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/top2.vhd}}
try {import_files -stimulus {../src/tb_1.vhd ../src/tb_2.vhd ../src/tb_3.vhd ../src/tb_4.vhd}}
try {associate_stimulus -module top -file stimulus/tb_3.vhd -file stimulus/tb_1.vhd -file stimulus/tb_2.vhd -file stimulus/tb_4.vhd}
try {associate_stimulus -module mid -file stimulus/tb_2.vhd -file stimulus/tb_4.vhd -file stimulus/tb_1.vhd}
try {associate_stimulus -module top2 -file stimulus/tb_1.vhd}
benches

puts "--- tb_2 and tb_1 deleted at once: every list lets both go, the others keep their order"
try {delete_files -file stimulus/tb_2.vhd -file stimulus/tb_1.vhd}
try {test_associate_stimulus -module top -file stimulus/tb_3.vhd -file stimulus/tb_4.vhd}
try {test_associate_stimulus -module mid -file stimulus/tb_4.vhd}
try {test_associate_stimulus -module top2}
benches
round_trip

puts "--- a bench, a source file and another bench in one batch: top2 goes with its file"
try {associate_stimulus -module top2 -file stimulus/tb_3.vhd -file stimulus/tb_4.vhd}
try {delete_files -file stimulus/tb_4.vhd -file hdl/top2.vhd -file stimulus/tb_3.vhd}
try {test_associate_stimulus -module top}
try {test_associate_stimulus -module mid}
try {test_associate_stimulus -module top2}
benches
puts "  the project file names a bench: [expr {[string first tb_ [read_file alu.prj]] < 0 ? {no} : {yes}}]"
round_trip
try {close_project}
