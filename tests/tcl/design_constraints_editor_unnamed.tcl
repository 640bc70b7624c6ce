# The options as installed name no constraints editor: edit_constraints
# still says what cannot open a file, as "Constraints Editor", rather than
# leaving a blank where the editor's name goes.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options EDITOR_SESSION [join [list "ALL_IMPORT_CONSTRAINT_FILES = PDC SDC" "IMPORT_CONSTRAINT_FILES = PDC SDC" \
    "PDC_EXTN = pdc" "PDC_DISP_NAME = Pin Constraint File" "SDC_EXTN = sdc" "SDC_DISP_NAME = Timing Constraint File" \
    ""] \n]
write_file src/top.vhd "entity top is port (clk : in bit); end top;\narchitecture rtl of top is begin end rtl;\n"
write_file src/pins.pdc "set_io clk 1\n"
write_file src/timing.sdc "create_clock -period 10 clk\n"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
try {import_files -hdl_source src/top.vhd -pdc src/pins.pdc -sdc src/timing.sdc}

puts "--- the editor is not switched on: no constraint file opens in it"
try {edit_constraints -file alu/constraint/pins.pdc -module top}
try {edit_constraints -file alu/constraint/timing.sdc}
