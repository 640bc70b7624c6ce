# The root module of the design: chosen by name, with or without the module
# option, in any library; a package, a name that names no module or a
# command line that names none leaves the root as it was. The project file
# tells which module is the root. The design comes from VHDL sources that
# import_files brings in, which makes a unit the root while there is none;
# the project file puts the core's source into a library of its own.
source [file join [file dirname [info script]] lib scenario.tcl]
proc show_root {} {
    save_project
    set f [open alu.prj]; set lines [split [read $f] \n]; close $f
    set root [lsearch -inline $lines {KEY ActiveRoot *}]
    puts "  root: [expr {$root eq {} ? {none} : $root}]"
}

write_file src/top.vhd "use work.pkg.all;\nentity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u : entity work.mid port map (a, b);\nend;\n"
write_file src/pkg.vhd "package pkg is\n  constant width : integer := 8;\nend package;\n"
write_file src/mid.vhd "entity mid is port (a : in bit; b : out bit); end mid;\narchitecture rtl of mid is begin b <= a; end rtl;\n"
write_file src/fifo.vhd "entity fifo is end;\narchitecture rtl of fifo is begin end;\n"

puts "--- a VHDL project whose top uses a package and mid; a core of its own library"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
show_root
puts "the first sources make a unit the root; the core's source, imported next, leaves it"
try {import_files -hdl_source {../src/top.vhd ../src/pkg.vhd ../src/mid.vhd}}
show_root
try {import_files -hdl_source ../src/fifo.vhd}
show_root
puts "the project file puts the core's source into library cores"
try {close_project}
add_member_line alu.prj hdl/fifo.vhd {LIBRARY="cores"}
try {open_project alu.prj}
puts [dump_all_modules -tree 1]
show_root

puts "--- the module as one word, with its option, with its library"
try {set_root top}
show_root
try {set_root -module mid}
show_root
try {set_root TOP}
show_root
try {set_root fifo::cores}
show_root

puts "--- refused, and the root stays"
try {set_root pkg}
try {set_root nosuch}
try {set_root -module nosuch}
try {set_root fifo}
try {set_root top mid}
try {set_root}
try {set_root -module}
show_root

puts "--- the root's file, imported again, defines a unit of another name: the first top unit becomes the root"
try {set_root top}
show_root
write_file ../src/top.vhd "use work.pkg.all;\nentity alu_top is end;\narchitecture rtl of alu_top is\n  signal a, b : bit;\nbegin\n  u : entity work.mid port map (a, b);\nend;\n"
try {import_files -hdl_source ../src/top.vhd}
show_root
puts [dump_all_modules -tree 1]
try {close_project}

puts "--- Verilog tells TOP from top: each is the root when named so, and a save and an open keep it"
cd ..
write_file src/a.v "module TOP; leaf_a u(); endmodule\nmodule leaf_a; endmodule\n"
write_file src/b.v "module top; leaf_b u(); endmodule\nmodule leaf_b; endmodule\n"
try {new_project -location vlog -name vlog -hdl VERILOG -family ZX3 -die zx3_10 -package tq100}
cd vlog
try {import_files -hdl_source ../src/a.v}
try {import_files -hdl_source ../src/b.v}
foreach name {top TOP top} {
    try {set_root $name}
    try {close_project}
    set f [open vlog.prj]; set root [lsearch -inline [split [read $f] \n] {KEY ActiveRoot *}]; close $f
    puts "  $name: $root"
    try {open_project vlog.prj}
}
