# A core whose description names a source the project already holds on its
# own does not take that source over: the source keeps its own membership,
# stays writable, and stays in the project when the core is deleted, also
# after a refresh and after the project is opened again; the core says so.
# The core's own files are its own as before.
#
# Cores are a setting of the user's options file, read when the shell
# starts: the session runs in a shell started with it.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options CORES_SESSION "IDE_VEYRUN_ENABLED = 1\n"
# Whether the project's copy of shared.v can be written.
proc writable {} { puts "  shared.v writable: [file writable alu/hdl/shared.v]" }

write_file src/top.v "module top(input clk); shared s(.clk(clk)); c1 u(.clk(clk)); endmodule\n"
write_file src/shared.v "module shared(input clk); endmodule\n"
new_project -location alu -name alu -hdl VERILOG -family ZX3 -die zx3_10 -package tq100
try {import_files -hdl_source {src/top.v src/shared.v}}
try {set_root top}

puts "--- the core names the project's shared.v beside its own c1.v: shared.v stays the project's"
write_file alu/component/work/c1/c1.cxf [join {
    {<?xml version="1.0"?>}
    {<Component><vendor>v</vendor><library>l</library><name>c1</name><version>1.0</version>}
    {<vendorExtension><coreType>UserIP</coreType><hdlFormat>Verilog</hdlFormat></vendorExtension>}
    {<hwModel><views><view><name>rtl</name><fileSetRef>HDL_FILESET</fileSetRef></view></views></hwModel>}
    {<fileSets><fileSet fileSetId="HDL_FILESET">}
    {<file><name>shared.v</name><location>../../../hdl</location></file><file><name>c1.v</name></file>}
    {</fileSet></fileSets></Component>}
} \n]\n
write_file alu/component/work/c1/c1.v "module c1(input clk); shared s(.clk(clk)); endmodule\n"
try {import_files -cxf alu/component/work/c1/c1.cxf}
show_members
writable
puts [dump_all_modules -tree true]

puts "--- a refresh and a round trip keep it so"
try {refresh}
try {close_project}
try {open_project alu/alu.prj}
show_members
writable

puts "--- without the core, shared.v and its unit stay"
try {delete_files -file alu/component/work/c1/c1.cxf}
show_members
puts [dump_all_modules -tree true]
try {close_project}
try {open_project alu/alu.prj}
show_members
