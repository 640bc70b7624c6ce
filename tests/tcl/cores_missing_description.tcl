# A core whose description is missing when the project opens is out of
# date in the core workspace. Once the description is back, the next open
# gives the core the state it had before, and the workspace file keeps it
# so; a core out of date for another reason stays out of date.
#
# Cores are a setting of the user's options file, read when the shell
# starts: the session runs in a shell started with it.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options CORES_SESSION "IDE_VEYRUN_ENABLED = 1\n"
# The state of each core of the workspace.
proc states {} {
    foreach line [split [dump_components] \n] {
        if {[regexp {^Component: (.*)} $line -> name]} { puts -nonewline "  $name" }
        if {[regexp {^   State: (.*)} $line -> state]} { puts " $state" }
    }
}
proc reopen {} {
    try {close_project}
    try {open_project alu/alu.prj}
    states
}

write_file lib/ram/ram.cxf [join {
    {<?xml version="1.0"?>}
    {<Component><vendor>v</vendor><library>l</library><name>ram</name><version>1.0</version>}
    {<vendorExtension><coreType>UserIP</coreType><hdlFormat>Verilog</hdlFormat></vendorExtension>}
    {<hwModel><views><view><name>rtl</name><fileSetRef>HDL_FILESET</fileSetRef></view></views></hwModel>}
    {<fileSets><fileSet fileSetId="HDL_FILESET"><file><name>ram.v</name></file></fileSet></fileSets>}
    {</Component>}
} \n]\n
write_file lib/ram/ram.v "module ram; endmodule\n"
new_project -location alu -name alu -hdl VERILOG -family ZX3 -die zx3_10 -package tq100
try {import_files -cxf lib/ram/ram.cxf}
states

puts "--- the description gone while the project is closed: out of date"
try {close_project}
file rename lib/ram/ram.cxf lib/ram/ram.cxf.away
try {open_project alu/alu.prj}
states
puts "    and so at the next open while it is gone"
reopen

puts "--- the description back: generated again, and so it stays"
file rename lib/ram/ram.cxf.away lib/ram/ram.cxf
reopen
reopen

puts "--- out of date for another reason than a missing description (as the workspace file says): it stays so"
try {close_project}
set workspace [lindex [glob alu/kiltora/*.aws] 0]
write_file $workspace [string map {{state="0"} {state="2"}} [read_file $workspace]]
try {open_project alu/alu.prj}
states
reopen
