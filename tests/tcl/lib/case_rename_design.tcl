# The design of the scenarios that rename member files in letter case:
# MID defined twice (Base.vhd and MID.vhd) with MID.vhd chosen, a test
# bench, timing and pin constraints, top's two netlists.

# The options the sessions start with: the constraint kinds and the choice
# of a view's file, and `extra` lines.
proc case_rename_options {extra} {
    return [join [concat $extra {
        "ALL_IMPORT_CONSTRAINT_FILES = PDC SDC" "IMPORT_CONSTRAINT_FILES = PDC SDC"
        "PDC_DISP_NAME = Pin Constraint File" "PDC_EXTN = pdc"
        "SDC_DISP_NAME = Timing Constraint File" "SDC_EXTN = sdc"
        "SYNTHESIS_CONSTRAINTS_LIST = sdc" "PHYSYNTH_CONSTRAINTS_LIST = sdc pdc"
        "IDE_SELECT_FLOW_FILE_FEATURE_ENABLED = 1" ""}] \n]
}

# Replaces every `from` by `to` in the project file, as another tool or
# another system would have written it; the project must be closed.
proc edit_project {from to} { write_file alu.prj [string map [list $from $to] [read_file alu.prj]] }

# The sources under src/, then the project alu made of them: MID's chosen
# file, stimulus, synthesis constraint and root, top's view working on
# Top_Fast.edn, and each command in `more` (the session stays in alu).
proc make_case_rename_design {more} {
    write_file src/top.vhd [vhdl_unit top MID]
    write_file src/Base.vhd [vhdl_unit MID ""]
    write_file src/MID.vhd [vhdl_unit MID ""]
    write_file src/TB.vhd "entity tb is end;\narchitecture sim of tb is begin end;\n"
    write_file src/Timing.sdc "create_clock -period 10 clk\n"
    write_file src/Pins.pdc "set_io a 1\n"
    write_file src/top.edn "(edif top (library work (cell top)) (design top (cellRef top (libraryRef work))))\n"
    write_file src/Top_Fast.edn "(edif top_fast (library work (cell top)) (design top (cellRef top (libraryRef work))))\n"
    try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
    cd alu
    try {import_files -hdl_source {../src/top.vhd ../src/Base.vhd ../src/MID.vhd} -edif {../src/top.edn ../src/Top_Fast.edn}}
    try {use_source_file -file hdl/MID.vhd -module MID}
    try {import_files -stimulus ../src/TB.vhd -pdc ../src/Pins.pdc -sdc ../src/Timing.sdc}
    try {associate_stimulus -module MID -file stimulus/TB.vhd}
    try {set_root MID}
    try {organize_constraints -tool synthesis -file constraint/Timing.sdc}
    foreach command $more { try $command }
    try {use_file -file synthesis/Top_Fast.edn -module top -pallador_view Impl1}
}
