# organize_constraints: the order of the constraint files a module passes,
# in one place-and-route view, to a tool that takes constraint files. The
# list belongs to the tool: synthesis and physical synthesis keep it in the
# project file, place and route in the file list beside its database. Only
# constraint files whose extension the tool takes may be named. The netlist
# of the place-and-route list stays first, and a constraint file a core
# made for a component stays in the list while users must pass component
# constraints themselves. test_organize_constraints compares a list with
# the files it is given (the place-and-route list without its netlist).
#
# The tools' constraint extensions and the project's constraint kinds are
# settings of the user's options file, read when the shell starts: the
# session runs in a shell started with them.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(CONSTRAINTS_SESSION)]} {
    write_file options [join {
        "ALL_IMPORT_CONSTRAINT_FILES = PDC SDC" "IMPORT_CONSTRAINT_FILES = PDC SDC"
        "PDC_DISP_NAME = Pin Constraint File" "PDC_EXTN = pdc"
        "SDC_DISP_NAME = Timing Constraint File" "SDC_EXTN = sdc"
        "SYNTHESIS_CONSTRAINTS_LIST = sdc" "PHYSYNTH_CONSTRAINTS_LIST = sdc pdc"
        "PALLADOR_IMPORT_CONSTRAINT_FILES = pdc sdc" "IDE_USER_MUST_PASS_COMPONENT_CSTRS = 1" ""} \n]
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    exit [run_again CONSTRAINTS_SESSION 1]
}
# The place-and-route list's files, one line.
proc layout_list {} {
    set names {}
    foreach line [split [read_file pallador/impl1/top.ide_pld] \n] {
        if {[string match {FILE *} $line]} { lappend names [file tail [lindex $line 1]] }
    }
    puts "  place-and-route list: $names"
}

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u : entity work.pll port map (a, b);\nend;\n"
write_file src/pll.vhd "entity pll is port (a : in bit; b : out bit); end;\narchitecture rtl of pll is begin b <= a; end;\n"
write_file src/top.edn "(edif top (design top (cellRef top (libraryRef work))))\n"
write_file src/pins.pdc "set_io a 1\n"
write_file src/timing.sdc "create_clock -period 10 clk\n"
write_file src/false.sdc "set_false_path -from a\n"

puts "--- a design top with its netlist, pin and timing constraints"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/pll.vhd}}
try {import_files -edif ../src/top.edn -pdc ../src/pins.pdc -sdc {../src/timing.sdc ../src/false.sdc}}
try {set_root top}

puts "--- synthesis takes timing constraints; every other file is told, each project file followed by the files that can be named"
try {organize_constraints -tool synthesis -file constraint/pins.pdc -file constraint/timing.sdc -file hdl/top.vhd -file constraint/nosuch.sdc}
try {test_organize_constraints -tool synthesis}
puts "\"new\" (the mode left out): the files named, in their order, each once"
try {organize_constraints -tool synthesis -file constraint/timing.sdc -file constraint/false.sdc -file constraint/timing.sdc}
try {test_organize_constraints -tool synthesis -file constraint/timing.sdc -file constraint/false.sdc}
puts "\"remove\", then \"add\": the file goes back at the end"
try {organize_constraints -tool synthesis -mode remove -file constraint/timing.sdc -file constraint/pins.pdc}
try {test_organize_constraints -tool synthesis -file constraint/false.sdc}
try {organize_constraints -tool synthesis -mode add -file constraint/timing.sdc -file constraint/false.sdc}
try {test_organize_constraints -tool synthesis -file constraint/false.sdc -file constraint/timing.sdc}
puts "the self-test fails with both lists: the expected one first"
try {test_organize_constraints -tool synthesis -file constraint/timing.sdc -file constraint/false.sdc}

puts "--- physical synthesis takes pin and timing constraints"
try {organize_constraints -tool physynth -module top -file constraint/pins.pdc -file constraint/false.sdc}
try {test_organize_constraints -tool physynth -module top -file constraint/pins.pdc -file constraint/false.sdc}
puts "only the tools with constraint files are offered"
try {organize_constraints -tool simulation -file constraint/pins.pdc}

puts "--- place and route: the netlist stays first, and the self-test leaves it out"
try {test_organize_constraints -tool pallador}
layout_list
try {organize_constraints -tool pallador -pallador_view Impl1 -file constraint/timing.sdc -file constraint/pins.pdc}
layout_list
try {test_organize_constraints -tool pallador -file constraint/timing.sdc -file constraint/pins.pdc}
try {organize_constraints -tool pallador -pallador_view Impl9 -file constraint/timing.sdc}

puts "--- a core's constraint file for the component pll, as the core's generation leaves it in the project"
write_file kiltora/pll.cxf "<component name=\"pll\"/>\n"
write_file kiltora/pll.pdc "set_io pll_out 2\n"
try {close_project}
write_file alu.prj [string map [list \
    "LIST FileManager\n" "LIST FileManager\nVALUE \"<project>/kiltora/pll.cxf,ombrix_cxf\"\nSTATE=\"utd\"\nENDFILE\nVALUE \"<project>/kiltora/pll.pdc,pdc\"\nSTATE=\"utd\"\nPARENT=\"<project>/kiltora/pll.cxf\"\nENDFILE\n" \
    "LIST NewModulesInfo\n" "LIST NewModulesInfo\nLIST \"pll::work\"\nFILE \"<project>/hdl/pll.vhd,hdl\"\nLIST Other_Association\nVALUE \"<project>/kiltora/pll.pdc,pdc\"\nENDLIST\nENDLIST\n"] \
    [read_file alu.prj]]
try {open_project alu.prj}
puts "place and route receives it right after the netlist"
try {test_organize_constraints -tool pallador -file kiltora/pll.pdc -file constraint/timing.sdc -file constraint/pins.pdc}
puts "a list that leaves it out keeps it in its place, with one warning; naming it gives none"
try {organize_constraints -tool pallador -file constraint/pins.pdc}
try {test_organize_constraints -tool pallador -file kiltora/pll.pdc -file constraint/pins.pdc}
try {organize_constraints -tool pallador -file constraint/timing.sdc -file kiltora/pll.pdc}
try {test_organize_constraints -tool pallador -file kiltora/pll.pdc -file constraint/timing.sdc}
puts "\"remove\" leaves it too, and still succeeds"
try {organize_constraints -tool pallador -mode remove -file kiltora/pll.pdc -file constraint/timing.sdc}
try {test_organize_constraints -tool pallador -file kiltora/pll.pdc}
layout_list

puts "--- saved, closed and opened again, every tool has its list"
try {organize_constraints -tool pallador -mode add -file constraint/timing.sdc}
try {close_project}
try {open_project alu.prj}
try {test_organize_constraints -tool synthesis -file constraint/false.sdc -file constraint/timing.sdc}
try {test_organize_constraints -tool physynth -file constraint/pins.pdc -file constraint/false.sdc}
try {test_organize_constraints -tool pallador -file kiltora/pll.pdc -file constraint/timing.sdc}
layout_list

puts "--- a constraint file that leaves the project leaves the synthesis list too; other files leave it as it is"
try {delete_files -file constraint/pins.pdc}
try {test_organize_constraints -tool synthesis -file constraint/false.sdc -file constraint/timing.sdc}
try {delete_files -file constraint/false.sdc}
try {test_organize_constraints -tool synthesis -file constraint/timing.sdc}
try {close_project}
try {open_project alu.prj}
try {test_organize_constraints -tool synthesis -file constraint/timing.sdc}
