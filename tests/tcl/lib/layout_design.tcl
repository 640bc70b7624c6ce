# What the scenarios of the place-and-route constraint list share: the
# options that name the constraint kinds, a design whose top has a netlist,
# and a project of it whose list orders the two constraint files.

# The options file's lines for the pin and timing constraint kinds, with
# `extra` lines after them.
proc layout_options {args} {
    return [join [list "IDE_MIXED_HDL_ENABLED = 1" "ALL_IMPORT_CONSTRAINT_FILES = PDC SDC" \
        "IMPORT_CONSTRAINT_FILES = PDC SDC" "PDC_DISP_NAME = Pin Constraint File" "PDC_EXTN = pdc" \
        "SDC_DISP_NAME = Timing Constraint File" "SDC_EXTN = sdc" "PALLADOR_IMPORT_CONSTRAINT_FILES = pdc sdc" \
        {*}$args ""] \n]
}
# The sources under src/: top uses mid, top's netlist, a pin and a timing constraint.
proc write_layout_design {} {
    write_file src/top.vhd "entity top is end;\narchitecture rtl of top is signal a, b : bit; begin u : entity work.mid port map (a, b); end;\n"
    write_file src/mid.vhd "entity mid is port (a : in bit; b : out bit); end;\narchitecture rtl of mid is begin b <= a; end;\n"
    write_file src/top.edn "(edif top (design top (cellRef top (libraryRef work))))\n"
    write_file src/pins.pdc "set_io a 1\n"
    write_file src/timing.sdc "create_clock -period 10 clk\n"
}
# A new project `name` in the folder of that name, which the shell enters:
# the design's sources, netlist and constraints imported, top the root, and
# the place-and-route list ordering the constraint files `order` (names in
# constraint/).
proc new_layout_project {name order} {
    try {new_project -location $name -name $name -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
    cd $name
    try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd}}
    try {import_files -edif ../src/top.edn -pdc ../src/pins.pdc -sdc ../src/timing.sdc}
    try {set_root top}
    set files {}
    foreach file $order { lappend files -file constraint/$file }
    try {organize_constraints -tool pallador {*}$files}
}
