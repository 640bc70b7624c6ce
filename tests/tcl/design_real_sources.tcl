# Sources as real designs write them: a VHDL decoder whose comparisons use
# bit-string literals with don't-care digits, Verilog wrappers named after
# the primitive they wrap or instantiating their parent in another case, and
# a stray NUL byte. Every unit is found, no unit becomes its own parent, and
# the hierarchy is the same after the project is opened again.
source [file join [file dirname [info script]] lib scenario.tcl]
proc write_binary {name text} {
    file mkdir [file dirname $name]
    set f [open $name w]; fconfigure $f -translation binary; puts -nonewline $f $text; close $f
}
proc show_tree {} { foreach line [split [string trimright [dump_all_modules -tree true] \n] \n] { puts "  $line" } }
# Imports the files into the open project, shows its tree, and shows it
# again after the project is closed and opened.
proc import_and_reopen {project files} {
    try {import_files -hdl_source $files}
    show_tree
    try {close_project}
    try {open_project $project/$project.prj}
    show_tree
    try {close_project}
}

puts "--- VHDL: a decoder selects its blocks with x\"F---\" and the like"
try {new_project -location soc -name soc -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
set top "library ieee;\nuse ieee.std_logic_1164.all;\nuse ieee.numeric_std.all;\n"
append top "entity soc is port (m : in std_logic_vector(15 downto 0)); end entity soc;\n"
append top "architecture rtl of soc is\n  signal sel : std_logic_vector(3 downto 0);\nbegin\n"
foreach {block literal} {uart x\"F---\" timer 12UX\"0--\" gpio B\"1010_----_----_0000\" spi d\"255\"} {
    append top "  sel_$block <= '1' when std_match(m, $literal) else '0';\n"
    append top "  u_$block : entity work.$block port map (en => sel_$block);\n"
}
append top "end architecture rtl;\n"
write_file src/soc.vhd $top
foreach block {uart timer gpio spi} {
    write_file src/$block.vhd "entity $block is port (en : in bit); end;\narchitecture rtl of $block is begin end;\n"
}
import_and_reopen soc [lsort [glob src/*.vhd]]

puts "--- Verilog: names that differ in case only"
try {new_project -location wrap -name wrap -hdl VERILOG -family ZX3 -die zx3_10 -package tq100}
write_file src/iddr.v "module iddr(input d, output q);\n  IDDR u (.D(d), .Q(q));\nendmodule\n"
write_file src/top2.v "module top2;\n  mid2 u ();\nendmodule\nmodule mid2;\n  TOP2 u ();\nendmodule\n"
import_and_reopen wrap {src/iddr.v src/top2.v}

puts "--- a NUL byte among the statements hides no unit after it"
try {new_project -location nul -name nul -hdl VERILOG -family ZX3 -die zx3_10 -package tq100}
write_binary src/nul.v "module first; second u (); endmodule\n\x00\nmodule second; third v (); endmodule // \x00\nmodule third; endmodule\n"
try {import_files -hdl_source src/nul.v}
show_tree
try {close_project}
