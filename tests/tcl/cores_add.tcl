# Cores come into a project from their SPIRIT descriptions. import_files
# -cxf puts a core into the project's core workspace (the workspace file that
# new_project made), and the project takes the core's files: each of the
# type its file set gives, reserved for the set's tool, a file of the wrong
# extension left out, the simulation files copied into the project, the
# libraries the core declares made precompiled libraries. dump_components
# shows the workspace's cores. Saved, closed and opened again, the project
# keeps its core; delete_files takes the core out with its files.
#
# The block-design tool is a setting of the user's options file, read when
# the shell starts: the session runs in a shell started with it.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options CORES_SESSION "IDE_VEYRUN_ENABLED = 1\n"

write_file lib/ram/ram.cxf [join {
    {<?xml version="1.0"?>}
    {<Component>}
    {  <vendor>brennic.com</vendor><library>cores</library><name>ram</name><version>1.2</version>}
    {  <vendorExtension>}
    {    <coreType>UserIP</coreType><hdlFormat>Verilog</hdlFormat>}
    {    <supportedDevices><device family="ZX3"/></supportedDevices>}
    {    <libraries><library><name>ramlib</name><path>lib</path></library></libraries>}
    {  </vendorExtension>}
    {  <hwModel><views><view><name>rtl</name>}
    {    <fileSetRef>HDL_FILESET</fileSetRef><fileSetRef>OTHER_SYNTHESIS_FILESET</fileSetRef>}
    {    <fileSetRef>ANY_SIMULATION_FILESET</fileSetRef><fileSetRef>PALLADOR_FILESET</fileSetRef>}
    {  </view></views></hwModel>}
    {  <fileSets>}
    {    <fileSet fileSetId="HDL_FILESET">}
    {      <file><name>ram.v</name><location>hdl</location></file>}
    {      <file><name>ram.vhd</name><location>hdl</location></file>}
    {      <file><name>secret.v</name><location>../../private</location></file>}
    {    </fileSet>}
    {    <fileSet fileSetId="OTHER_SYNTHESIS_FILESET">}
    {      <file><name>ram.sdc</name><location>syn</location><userFileType>SDC</userFileType></file>}
    {    </fileSet>}
    {    <fileSet fileSetId="ANY_SIMULATION_FILESET">}
    {      <file><name>ram_init.mem</name><location>sim</location></file>}
    {    </fileSet>}
    {    <fileSet fileSetId="PALLADOR_FILESET">}
    {      <file><name>ram.pdc</name><location>pr</location><userFileType>PDC</userFileType></file>}
    {    </fileSet>}
    {  </fileSets>}
    {</Component>}
} \n]\n
write_file lib/ram/hdl/ram.v "module ram(input clk, output q); assign q = clk; endmodule\n"
write_file lib/ram/hdl/ram.vhd "entity ram is end;\n"
write_file lib/ram/syn/ram.sdc "create_clock -period 10 clk\n"
write_file lib/ram/sim/ram_init.mem "00\n01\n"
write_file lib/ram/pr/ram.pdc "set_io clk\n"
write_file private/secret.v "module secret; endmodule\n"
write_file top.v "module top(input clk, output q); ram u(.clk(clk), .q(q)); endmodule\n"

new_project -location alu -name alu -hdl VERILOG -family ZX3 -die zx3_10 -package tq100
puts "--- a new project has its core workspace, without components"
puts "  [lsort [glob -tails -directory alu kiltora/*]]"
try {dump_components}

puts "--- the core comes in: its files by their sets, the file outside its folder left out"
try {import_files -cxf lib/ram/ram.cxf}
puts [dump_components]
try {import_files -hdl_source top.v}
puts [dump_all_modules -tree true]
show_members
puts "  copied: [glob -tails -directory alu simulation/*.mem]"

puts "--- a core in the project's own folder brings the generated-core file beside it"
write_file alu/component/work/fifo/fifo.cxf [join {
    {<Component><name>fifo</name><hwModel><views><view><fileSetRef>OTHER_FILESET</fileSetRef></view></views></hwModel>}
    {<fileSets><fileSet fileSetId="OTHER_FILESET"><file><name>fifo.log</name></file></fileSet></fileSets></Component>}
} \n]\n
write_file alu/component/work/fifo/fifo.log "generated\n"
write_file alu/component/work/fifo/fifo.gen "core\n"
try {import_files -cxf alu/component/work/fifo/fifo.cxf}
show_members
puts [dump_all_modules]

puts "--- saved, closed and opened again, the project keeps its cores"
try {close_project}
try {open_project alu/alu.prj}
puts [dump_components]
puts [dump_all_modules -tree true]
puts "refresh reads every core again and keeps them as they were"
try {refresh}
puts [dump_all_modules -tree true]
show_members

puts "--- a description that is no core is refused and told"
write_file lib/bad/bad.cxf "<Component><name>bad</name>\n"
try {import_files -cxf lib/bad/bad.cxf}

puts "--- delete_files takes the core out with its files; a file not in the project is named"
try {delete_files -file lib/ram/ram.cxf}
try {delete_files -file alu/hdl/none.v}
puts [dump_components]
puts [dump_all_modules]
show_members
puts "--- and off the disk with -from_disk"
try {delete_files -file alu/hdl/top.v -from_disk}
puts "  [file exists alu/hdl/top.v] [file exists top.v]"
show_members
