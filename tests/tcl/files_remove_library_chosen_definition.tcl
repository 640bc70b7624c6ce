# remove_library sends a library's files back to "work", where another
# file defines a unit that the library's chosen file defines too: the chosen
# file takes the unit back as use_source_file gives it. The file that
# defined the unit in "work" is then refused, like the library's other
# refused file; the unit keeps none of that file's sub-blocks; the one
# choice is saved, and a save, an open and a save give the same file and
# the same design.
#
# Linking and mixed HDL are settings of the user's options file, read when
# the shell starts: the session runs in a shell started with them.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options REMOVE_LIBRARY_CHOSEN_SESSION "IDE_LINKING_ENABLED = 1\nIDE_MIXED_HDL_ENABLED = 1\n"
# A Verilog module `name` with one port, using `sub` when given.
proc vlog_unit {name sub} {
    set text "module $name (p);\n  input p;\n"
    if {$sub ne ""} { append text "  $sub u0 (p);\n" }
    return "${text}endmodule\n"
}
puts "--- top uses mid, which uses shr; vmid.v defines vmid, hdl/shr.vhd shr"
write_file src/top.vhd [vhdl_unit top mid]
write_file src/mid.vhd [vhdl_unit mid shr]
write_file src/leaf.vhd [vhdl_unit leaf ""]
write_file src/shr.vhd [vhdl_unit shr ""]
write_file src/vmid.v [vlog_unit vmid vleaf]
write_file src/vleaf.v [vlog_unit vleaf ""]
write_file shared/shr.vhd [vhdl_unit shr leaf]
write_file shared/lnk.vhd [vhdl_unit lnk ""]
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/leaf.vhd ../src/shr.vhd ../src/vmid.v ../src/vleaf.v}}
try {set_root top}
show_design_and_chosen
puts "--- shr.vhd goes to lib2; a linked shr.vhd defines shr in work"
try {add_file_to_library -library lib2 -file hdl/shr.vhd}
show_design_and_chosen
try {create_links -hdl_source {../shared/shr.vhd ../shared/lnk.vhd}}
show_design_and_chosen
puts "--- the linked shr.vhd goes to lib2 too: it is refused there, hdl/shr.vhd is chosen"
try {add_file_to_library -library lib2 -file ../shared/shr.vhd}
show_design_and_chosen
puts "--- vmid.v is edited to define shr in work instead; refresh"
write_file hdl/vmid.v [vlog_unit shr vleaf]
try {refresh}
show_design_and_chosen
puts "--- lib2 removed: three files define shr in work, the chosen hdl/shr.vhd is its definition"
try {remove_library -library lib2}
show_design_and_chosen
round_trip
puts "    the project opened again"
show_design_and_chosen
try {close_project}
