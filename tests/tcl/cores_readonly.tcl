# A core's sources come in marked read-only in the project, its simulation
# copies writable. A refresh reads every core again and keeps each mark as
# it was, and so does a round trip of the project. A core's file taken out
# of the project comes back with the next refresh, marked as the import
# brought it.
#
# Cores are a setting of the user's options file, read when the shell
# starts: the session runs in a shell started with it.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options CORES_SESSION "IDE_VEYRUN_ENABLED = 1\n"
# The saved marks of the core's files, and what the shell answers for them.
proc marks {} {
    save_project
    set text [read_file alu/alu.prj]
    foreach {name path} {ram.v lib/ram/ram.v ram.mem alu/simulation/ram.mem} {
        set at [string first "$name," $text]
        set entry [string range $text $at [string first ENDFILE $text $at]]
        puts "  $name: saved [expr {[string match {*IS_READONLY="TRUE"*} $entry] ? {read-only} : {writable}}],\
              is_file_readonly [is_file_readonly -file $path]"
    }
}

write_file lib/ram/ram.cxf [join {
    {<?xml version="1.0"?>}
    {<Component><vendor>v</vendor><library>l</library><name>ram</name><version>1.0</version>}
    {<vendorExtension><coreType>UserIP</coreType><hdlFormat>Verilog</hdlFormat></vendorExtension>}
    {<hwModel><views><view><name>rtl</name><fileSetRef>HDL_FILESET</fileSetRef>}
    {<fileSetRef>ANY_SIMULATION_FILESET</fileSetRef></view></views></hwModel>}
    {<fileSets><fileSet fileSetId="HDL_FILESET"><file><name>ram.v</name></file></fileSet>}
    {<fileSet fileSetId="ANY_SIMULATION_FILESET"><file><name>ram.mem</name></file></fileSet></fileSets>}
    {</Component>}
} \n]\n
write_file lib/ram/ram.v "module ram; endmodule\n"
write_file lib/ram/ram.mem "00\n"
new_project -location alu -name alu -hdl VERILOG -family ZX3 -die zx3_10 -package tq100

puts "--- the core comes in"
try {import_files -cxf lib/ram/ram.cxf}
marks

puts "--- a refresh keeps the marks"
try {refresh}
marks
try {refresh}
marks

puts "--- saved, closed, opened again and refreshed, the same"
try {close_project}
try {open_project alu/alu.prj}
marks
try {refresh}
marks

puts "--- taken out of the project, the files come back with a refresh, marked as the import brought them"
try {delete_files -file lib/ram/ram.v}
try {delete_files -file alu/simulation/ram.mem}
show_members
try {refresh}
marks
try {close_project}
try {open_project alu/alu.prj}
marks
