# Member files renamed on disk in the case of their letters while the
# project is closed (hdl/MID.vhd becomes hdl/mid.vhd, a folder hdl/Sub
# becomes hdl/sub), or named by a project written on Windows in another
# case than the disk's: at the next open each such member takes the name on
# disk, and keeps its unit and everything the project holds for it (the
# definition chosen, the stimulus, the synthesis constraints, the root, the
# tool results, the links of other files). Nothing keeps the old name, and
# a save, an open and a save give the same file. A member whose name has
# two case variants on disk is missing, as one with none: nothing is taken
# at random.
#
# The constraint kinds and the choice of a view's file are settings of the
# user's options file, read when the shell starts: the session runs in a
# shell started with them.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options CASE_CLOSED_SESSION [join {
    "ALL_IMPORT_CONSTRAINT_FILES = PDC SDC" "IMPORT_CONSTRAINT_FILES = PDC SDC"
    "PDC_DISP_NAME = Pin Constraint File" "PDC_EXTN = pdc"
    "SDC_DISP_NAME = Timing Constraint File" "SDC_EXTN = sdc"
    "SYNTHESIS_CONSTRAINTS_LIST = sdc" "PHYSYNTH_CONSTRAINTS_LIST = sdc pdc"
    "IDE_SELECT_FLOW_FILE_FEATURE_ENABLED = 1" ""} \n]

# The design, then every line of the saved project file that names one of
# the files renamed, old name or new.
proc show {} {
    puts [dump_all_modules -tree true]
    save_project
    foreach line [split [read_file alu.prj] \n] {
        if {[regexp -nocase {mid\.vhd|timing\.sdc|tb\.vhd|top_fast\.edn|ActiveRoot} $line]} { puts "  $line" }
    }
}
# Replaces every `from` by `to` in the project file, as another tool or
# another system would have written it; the project must be closed.
proc edit_project {from to} { write_file alu.prj [string map [list $from $to] [read_file alu.prj]] }

write_file src/top.vhd [vhdl_unit top MID]
write_file src/Base.vhd [vhdl_unit MID ""]
write_file src/MID.vhd [vhdl_unit MID ""]
write_file src/TB.vhd "entity tb is end;\narchitecture sim of tb is begin end;\n"
write_file src/Timing.sdc "create_clock -period 10 clk\n"
write_file src/Pins.pdc "set_io a 1\n"
write_file src/top.edn "(edif top (library work (cell top)) (design top (cellRef top (libraryRef work))))\n"
write_file src/Top_Fast.edn "(edif top_fast (library work (cell top)) (design top (cellRef top (libraryRef work))))\n"

puts "--- MID defined twice, MID.vhd chosen; MID has a stimulus, a synthesis constraint and is the root;"
puts "    top's view works on Top_Fast.edn"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/Base.vhd ../src/MID.vhd} -edif {../src/top.edn ../src/Top_Fast.edn}}
try {use_source_file -file hdl/MID.vhd -module MID}
try {import_files -stimulus ../src/TB.vhd -pdc ../src/Pins.pdc -sdc ../src/Timing.sdc}
try {associate_stimulus -module MID -file stimulus/TB.vhd}
try {set_root MID}
try {organize_constraints -tool synthesis -file constraint/Timing.sdc}
try {use_file -file synthesis/Top_Fast.edn -module top -pallador_view Impl1}
try {close_project}
puts "    (tool results for Top_Fast.edn and MID.vhd, and Pins.pdc linked to MID.vhd, as the design"
puts "    environment writes them)"
edit_project "LIST Impl1\n" "LIST Impl1\nideSYNTHESIS(<project>/synthesis/Top_Fast.edn,syn_edn)=StateSuccess\n"
edit_project "VALUE \"<project>/constraint/Pins.pdc,pdc\"\nSTATE" \
    "VALUE \"<project>/constraint/Pins.pdc,pdc\"\nPARENT=\"<project>/hdl/MID.vhd\"\nSTATE"
try {open_project alu.prj}
show
try {close_project}

puts "--- renamed in case while closed: MID.vhd, Timing.sdc, TB.vhd, Top_Fast.edn; each member follows"
file rename hdl/MID.vhd hdl/mid.vhd
file rename constraint/Timing.sdc constraint/timing.SDC
file rename stimulus/TB.vhd stimulus/tb.vhd
file rename synthesis/Top_Fast.edn synthesis/top_fast.edn
try {open_project alu.prj}
show
round_trip
try {close_project}

puts "--- a project written on Windows names hdl\\Sub\\MID.vhd; the disk holds hdl/sub/Mid.VHD: followed"
puts "    folder by folder"
file mkdir hdl/sub
file rename hdl/mid.vhd hdl/sub/Mid.VHD
edit_project "<project>/hdl/mid.vhd" "<project>\\hdl\\Sub\\MID.vhd"
try {open_project alu.prj}
show
round_trip
try {close_project}

puts "--- two case variants on disk (Mid.VHD and mid.vhd) for hdl/sub/MID.vhd: missing, as before, and"
puts "    neither is taken; its unit is defined by Base.vhd again"
file copy hdl/sub/Mid.VHD hdl/sub/mid.vhd
edit_project "<project>/hdl/sub/Mid.VHD" "<project>/hdl/sub/MID.vhd"
try {open_project alu.prj}
show
try {close_project}
