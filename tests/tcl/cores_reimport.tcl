# A core description changed and imported again from the same place: the
# project takes the core again at once, its files and units those the
# description names now, as a save, close and open would read them. The
# session and the saved project file agree at every step. A description
# the core workspace refuses says why, and leaves the project as it was.
#
# The block-design tool is a setting of the user's options file, read when
# the shell starts: the session runs in a shell started with it.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(CORES_SESSION)]} {
    write_file options "IDE_VEYRUN_ENABLED = 1\n"
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    set failed [run_again CORES_SESSION 1]
    # The core workspace may keep a core with the description that brought
    # it rather than read whichever description names it last.
    write_file options "IDE_VEYRUN_ENABLED = 1\nIDE_ALWAYS_REIMPORT_CORE = 0\n"
    exit [expr {[run_again CORES_SESSION 2] || $failed}]
}
# Writes the description of the core ram with the HDL files `files` (in its
# hdl folder).
proc describe_ram {files} {
    set set ""
    foreach name $files { append set "      <file><name>$name</name><location>hdl</location></file>\n" }
    write_file lib/ram/ram.cxf [join [list \
        {<?xml version="1.0"?>} \
        {<Component>} \
        {  <vendor>brennic.com</vendor><library>cores</library><name>ram</name><version>1.2</version>} \
        {  <vendorExtension><coreType>UserIP</coreType><hdlFormat>Verilog</hdlFormat></vendorExtension>} \
        {  <hwModel><views><view><name>rtl</name><fileSetRef>HDL_FILESET</fileSetRef></view></views></hwModel>} \
        "  <fileSets><fileSet fileSetId=\"HDL_FILESET\">\n$set    </fileSet></fileSets>" \
        {</Component>}] \n]\n
}
# What the session holds, then what the project file gives once closed and
# opened again.
proc session_and_reopen {} {
    puts "in the session:"
    puts [dump_all_modules]
    show_members
    close_project
    open_project alu/alu.prj
    puts "opened again:"
    puts [dump_all_modules]
    show_members
}

if {$env(CORES_SESSION) == 2} {
    puts "--- another description of the core ram, kept with its own: refused, and told why"
    write_file lib/copy/ram.cxf [read_file lib/ram/ram.cxf]
    open_project alu/alu.prj
    try {import_files -cxf lib/copy/ram.cxf}
    puts [dump_components]
    session_and_reopen
    try {close_project -save false}
    return
}
write_file lib/ram/hdl/ram.v "module ram(input clk); endmodule\n"
write_file lib/ram/hdl/ram2.v "module ram2; endmodule\n"
write_file lib/ram/hdl/ram3.v "module ram3; endmodule\n"
describe_ram {ram.v}
new_project -location alu -name alu -hdl VERILOG -family ZX3 -die zx3_10 -package tq100
try {import_files -cxf lib/ram/ram.cxf}
session_and_reopen

puts "--- a file added to the description: imported again, the core brings it"
describe_ram {ram.v ram2.v ram3.v}
try {import_files -cxf lib/ram/ram.cxf}
session_and_reopen

puts "--- a file taken out of the description: imported again, the core lets it go"
describe_ram {ram.v ram3.v}
try {import_files -cxf lib/ram/ram.cxf}
session_and_reopen

puts "--- imported again unchanged: the core stays as it was, once"
try {import_files -cxf lib/ram/ram.cxf}
puts [dump_components]
session_and_reopen

puts "--- descriptions the core workspace refuses: each says why, the project stays as it was"
write_file lib/noname/noname.cxf "<Component><vendor>brennic.com</vendor><library>cores</library></Component>\n"
try {import_files -cxf lib/noname/noname.cxf}
write_file lib/broken/broken.cxf "<Component><name>bro\nken</name></Component>\n"
try {import_files -cxf lib/broken/broken.cxf}
write_file lib/device/device.cxf [join {
    {<Component><name>device</name><vendorExtension><supportedDevices>}
    {<device family="ZX&#10;3"/></supportedDevices></vendorExtension></Component>}
} \n]\n
try {import_files -cxf lib/device/device.cxf}
puts "a file that is no XML is told as before"
write_file lib/bad/bad.cxf "<Component><name>bad</name>\n"
try {import_files -cxf lib/bad/bad.cxf}
puts [dump_components]
session_and_reopen
try {close_project -save false}
