# Legal HDL forms that FPGA sources use every day: Verilog attributes before
# instances, "macromodule", arrays of instances and instances after a
# function; a VHDL entity instantiated directly from a library it names
# without a use clause. Every unit is found and linked where it belongs,
# after a refresh, after the project is opened again, and after the
# library's file is imported again.
source [file join [file dirname [info script]] lib scenario.tcl]
proc show_tree {} { foreach line [split [string trimright [dump_all_modules -tree true] \n] \n] { puts "  $line" } }

puts "--- Verilog: attributes, macromodule, an array of instances, a function"
try {new_project -location soc -name soc -hdl VERILOG -family ZX3 -die zx3_10 -package tq100}
write_file src/soc.v {(* keep_hierarchy = "yes" *)
module soc (input clk, input [3:0] d, output [3:0] q);
  (* dont_touch = "true" *) uart u_uart (.clk(clk));
  (* keep *)
  timer u_timer (.clk(clk));
  lane u_lane [3:0] (.clk(clk), .d(d), .q(q));
  function parity; input [3:0] v; begin parity = ^v; end endfunction
  gpio u_gpio (.clk(clk));
endmodule
}
write_file src/blocks.v {macromodule uart (input clk);
  fifo u_fifo (.clk(clk));
endmodule
module timer (input clk); endmodule
module lane (input clk, input d, output q); endmodule
module gpio (input clk); endmodule
module fifo (input clk); endmodule
}
try {import_files -hdl_source {src/soc.v src/blocks.v}}
show_tree
try {refresh}
show_tree
try {close_project}

puts "--- VHDL: \"entity mylib.alu\" without a use clause"
try {new_project -location cpu -name cpu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
write_file src/alu.vhd "entity alu is port (a : in bit); end;\narchitecture rtl of alu is begin end;\n"
write_file src/cpu.vhd [join {
    "library mylib;"
    "entity cpu is port (a : in bit); end;"
    "architecture rtl of cpu is"
    "begin"
    "  u_alu : entity mylib.alu(rtl) port map (a => a);"
    "  u_reg : entity work.regs port map (a => a);"
    "end;"
    "entity regs is port (a : in bit); end;"
    "architecture rtl of regs is begin end;"
    ""} \n]
puts "the instance comes first: a placeholder until the library's unit comes"
try {import_files -hdl_source src/cpu.vhd}
show_tree
try {import_files -hdl_source src/alu.vhd}
try {add_library -library mylib}
try {add_file_to_library -file cpu/hdl/alu.vhd -library mylib}
show_tree
puts "the library's file parsed again, a refresh, the project opened again"
try {import_files -hdl_source src/alu.vhd}
show_tree
try {refresh}
show_tree
try {close_project}
try {open_project cpu/cpu.prj}
show_tree
try {close_project}
