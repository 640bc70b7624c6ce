# A core whose description gives its files other file sets while the
# project is closed: the open parses the description again, and each file
# of the core is used by the tools the description says now. What the
# project file stored for the core's files (the tools and profiles they
# were reserved for) does not stay mixed in: a simulation model the
# description now lists among its sources is used by every tool, and a
# timing constraint moved from one synthesis tool's set to another's is
# kept for the new tool's profile alone. The read-only marks stay.
# Saved and opened again, the project is the same.
#
# Cores are a setting of the user's options file, read when the shell
# starts: the session runs in a shell started with it.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options CORES_SESSION "IDE_VEYRUN_ENABLED = 1\n"
# The description of the core dsp: `sets` is a list of file sets, each a
# set name and the files in it.
proc dsp_text {sets} {
    set refs ""
    set body ""
    foreach {set files} $sets {
        append refs "<fileSetRef>$set</fileSetRef>"
        append body "<fileSet fileSetId=\"$set\">"
        foreach file $files { append body "<file><name>$file</name></file>" }
        append body "</fileSet>"
    }
    return [join [list {<?xml version="1.0"?>} \
        {<Component><vendor>v</vendor><library>l</library><name>dsp</name><version>1.0</version>} \
        {<vendorExtension><coreType>UserIP</coreType><hdlFormat>Verilog</hdlFormat></vendorExtension>} \
        "<hwModel><views><view><name>rtl</name>$refs</view></views></hwModel>" \
        "<fileSets>$body</fileSets></Component>"] \n]\n
}
# The saved entries of the core's files: the tools each one is used by.
proc reservations {} {
    save_project
    set lines [split [read_file alu/alu.prj] \n]
    foreach name {dsp.v dsp_model.v dsp.sdc} {
        set at [lsearch -glob $lines "VALUE \"*/$name,*"]
        set entry {}
        foreach line [lrange $lines [expr {$at + 1}] end] {
            if {$line eq "ENDFILE"} break
            if {[regexp {^(USE_FOR_ANY_TOOL|TOOL_CONSTRAINT_|IS_READONLY)} $line]} { lappend entry $line }
        }
        puts "  $name: [expr {$entry eq {} ? {used by every tool} : [join $entry {, }]}]"
    }
}

write_file lib/dsp/dsp.v "module dsp; dsp_model m(); endmodule\n"
write_file lib/dsp/dsp_model.v "module dsp_model; endmodule\n"
write_file lib/dsp/dsp.sdc "create_clock -period 10 clk\n"
write_file lib/dsp/dsp.cxf [dsp_text {HDL_FILESET dsp.v ANY_HDL_SIMULATION_FILESET dsp_model.v
    SYNPLIFY_SYNTHESIS_FILESET dsp.sdc}]
write_file src/top.v "module top; dsp u(); endmodule\n"

puts "--- the core dsp: its model for simulation alone, its timing constraint for one synthesis tool's profile"
new_project -location alu -name alu -hdl VERILOG -family ZX3 -die zx3_10 -package tq100
try {import_files -cxf lib/dsp/dsp.cxf}
try {import_files -hdl_source src/top.v}
try {set_root top}
reservations
try {close_project}

puts "--- while the project is closed the description takes the model into its sources"
puts "--- and the constraint into another synthesis tool's set"
write_file lib/dsp/dsp.cxf [dsp_text {HDL_FILESET {dsp.v dsp_model.v} PRECISION_SYNTHESIS_FILESET dsp.sdc}]
try {open_project alu/alu.prj}
reservations
puts [dump_all_modules -tree true]

puts "--- saved, closed and opened again, the project is the same"
save_project
set saved [read_file alu/alu.prj]
try {close_project}
try {open_project alu/alu.prj}
save_project
puts "  [expr {$saved eq [read_file alu/alu.prj] ? {the same file} : {a different file}}]"
reservations
try {close_project}
