# HDL sources as other editors and newer tools write them: a byte order
# mark, old Mac line ends, VHDL-2008 block comments, Verilog-2001 functions
# and tasks with their ports in the header, a user primitive and a module
# named by a macro. Every unit is found, and each instance hangs under the
# unit that holds it.
source [file join [file dirname [info script]] lib scenario.tcl]
proc show_tree {} { foreach line [split [string trimright [dump_all_modules -tree true] \n] \n] { puts "  $line" } }
# Writes the text's characters as bytes, line ends as given.
proc write_bytes {name text} {
    file mkdir [file dirname $name]
    set f [open $name w]; fconfigure $f -translation binary; puts -nonewline $f $text; close $f
}

puts "--- Verilog: functions, tasks, a primitive, a module named by a macro"
try {new_project -location soc -name soc -hdl VERILOG -family ZX3 -die zx3_10 -package tq100}
write_file src/top.v {`define CHIP_TOP chip_top
module top (input clk, output reg [7:0] q);
  function parity (input [7:0] v);
    parity = ^v;
  endfunction
  task send (input [7:0] b);
    begin q = b; end
  endtask
  leaf u_leaf (.clk(clk));
  myudp u_udp (q[0], clk, clk);
endmodule
primitive myudp (out, a, b);
  output out; input a, b;
  table 0 0 : 0; 1 ? : 1; endtable
endprimitive
module `CHIP_TOP (input clk);
  pll u_pll (.clk(clk));
  top u_top (.clk(clk));
endmodule
module leaf (input clk); endmodule
module pll (input clk); endmodule
}
puts "the macro-named module's instances belong to no module that is shown"
try {import_files -hdl_source src/top.v}
show_tree
try {close_project}

puts "--- a byte order mark and old Mac line ends"
try {new_project -location mac -name mac -hdl VERILOG -family ZX3 -die zx3_10 -package tq100}
write_bytes src/bom.v "\xEF\xBB\xBFmodule top_bom (input clk);\n  mid u_mid (.clk(clk));\nendmodule\n"
write_bytes src/mac.v [join {
    "// blocks saved on an old Mac"
    "`timescale 1ns/1ps"
    "module mid (input clk);"
    "  leaf u_leaf (.clk(clk));"
    "endmodule"
    "module leaf (input clk); endmodule"
    ""} \r]
try {import_files -hdl_source {src/bom.v src/mac.v}}
show_tree
try {close_project}

puts "--- VHDL-2008 block comments, and a byte order mark"
try {new_project -location cpu -name cpu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
write_bytes src/cpu.vhd [join {
    "\xEF\xBB\xBF/* the cpu */ entity cpu is port (a : in bit); end;"
    "architecture rtl of cpu is"
    "begin"
    "  u_alu : entity work.alu port map (a => a);"
    "end;"
    "/*"
    "architecture old of cpu is"
    "begin"
    "  u_old : entity work.old_alu port map (a => a);"
    "end;"
    "*/"
    "entity alu is port (a : in bit); end;"
    "architecture rtl of alu is begin end;"
    ""} \r\n]
try {import_files -hdl_source src/cpu.vhd}
show_tree
try {close_project}
