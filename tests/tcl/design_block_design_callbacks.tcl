# The block-design engine tells the project what it does, and the project
# follows. A block design that new_file makes joins the project as the
# engine announces it: its description is a member, its unit a unit of the
# design. The constraints editor opened on a pin constraint file of the
# design's unit that is not there yet makes it and tells the project, whose
# file watcher takes the constraint folders in again by its own rules (the
# family's constraint kinds, the files it knows): the new file becomes the
# unit's place-and-route constraint, a timing constraint file written
# meanwhile joins the project too, and a file of another kind stays out. The editor shows the packages a VHDL unit's source
# uses, which the project tells it. When the project leaves the designs'
# descriptions to the engine (IDE_IGNORE_CXF_CHANGES_FROM), a description
# the engine is told changed on disk (IDE_NOTIFY_WS_FILECHANGED_FROM) is read
# again at the next check. A design taken out of the project leaves the
# engine as well.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options CALLBACKS_SESSION [join [list "IDE_TIMER_INTERVAL = 20" "IDE_CONSTRAINTS_EDITOR_ENABLED = 1" \
    "IDE_CONSTRAINTS_EDITOR_NAME = Constraints Editor" "ALL_IMPORT_CONSTRAINT_FILES = PDC SDC" \
    "IMPORT_CONSTRAINT_FILES = PDC SDC" "PDC_EXTN = pdc" "PDC_DISP_NAME = Pin Constraint File" \
    "SDC_EXTN = sdc" "SDC_DISP_NAME = Timing Constraint File" "IDE_NOTIFY_WS_FILECHANGED_FROM = kiltora" \
    "IDE_IGNORE_CXF_CHANGES_FROM = kiltora" ""] \n]
# What the editor of the file keeps.
proc editor {file} {
    set kept [file join [file dirname $file] data [file tail $file].ce]
    foreach line [split [string trim [read_file $kept]] \n] { puts "  $line" }
}
# The lines of the project file from the line `from` up to the line `to`.
proc project_lines {from to} {
    save_project
    set lines [split [read_file alu/alu.prj] \n]
    set first [lsearch -exact $lines $from]
    set last [lsearch -exact -start $first $lines $to]
    foreach line [lrange $lines $first [expr {$last - 1}]] { puts "  $line" }
}

try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}

puts "--- a block design made joins the project"
try {new_file -type Veyrun -name soc}
show_members
puts [dump_all_modules -tree true]

puts "--- a new pin constraint file of the design's unit, made by the constraints editor"
write_file alu/constraint/board.ucf "NET a LOC = 1;\n"
write_file alu/constraint/late.sdc "create_clock -period 10 clk\n"
try {edit_constraints -file alu/constraint/soc.pdc -module soc}
puts "  [string trim [read_file alu/constraint/soc.pdc]]"
project_lines "LIST FileManager" "LIST AssociatedStimulus"
puts "opened again, the file is there: nothing new"
try {edit_constraints -file alu/constraint/soc.pdc -module soc}
show_members

puts "--- the editor shows the packages a VHDL unit's source uses"
write_file alu/hdl/types.vhd "package types is\n  constant width : integer := 8;\nend package;\n"
write_file alu/hdl/top.vhd [join {
    {library work;}
    {use work.types.all;}
    {entity top is port (clk : in bit; d : in bit_vector(7 downto 0)); end top;}
    {architecture rtl of top is begin end rtl;}
} \n]\n
try {import_files -hdl_source {alu/hdl/types.vhd alu/hdl/top.vhd}}
try {edit_constraints -file alu/constraint/top.pdc -module top}
editor alu/constraint/top.pdc

puts "--- the engine is told the design's description changed: the project reads it again"
write_file alu/kiltora/soc/soc.vhd "entity soc is port (clk : in bit); end soc;\narchitecture rtl of soc is begin end rtl;\n"
write_file alu/kiltora/soc/soc.cxf [join {
    {<?xml version="1.0" encoding="UTF-8"?>}
    {<Component><vendor>brennic.com</vendor><library>zandrel</library><name>soc</name><version>1.0</version>}
    {<vendorExtension><coreType>Veyrun</coreType><hdlLibrary>work</hdlLibrary></vendorExtension>}
    {<hwModel><views><view><name>rtl</name><fileSetRef>HDL_FILESET</fileSetRef></view></views></hwModel>}
    {<fileSets><fileSet fileSetId="HDL_FILESET"><file><name>soc.vhd</name></file></fileSet></fileSets>}
    {</Component>}
} \n]\n
wait_for_checks
show_members
puts [dump_all_modules -tree true]

puts "--- the design taken out of the project leaves the engine"
try {delete_files -file alu/kiltora/soc/soc.cxf}
show_members
puts "  components left in the workspace: [llength [regexp -all -inline -line {^Component: } [dump_components]]]"
