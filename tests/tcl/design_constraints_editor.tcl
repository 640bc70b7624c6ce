# edit_constraints opens a pin constraint file (pdc) in the graphical
# constraints editor of the core workspace, showing the ports of the module
# the constraints are for. The editor keeps what it shows in
# "<file's folder>/data/<file>.ce"; the shell has no window to draw it in.
# An editor already open for the file comes to the front (nothing is made
# anew), with a warning when another module is asked for. A file that a
# text editor holds is closed there first when the user says so (a script's
# answer: Yes). The open editors are forgotten when the project closes.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(EDITOR_SESSION)]} {
    write_file options [join [list "IDE_CONSTRAINTS_EDITOR_ENABLED = 1" \
        "IDE_CONSTRAINTS_EDITOR_NAME = Constraints Editor" "ALL_IMPORT_CONSTRAINT_FILES = PDC SDC" \
        "IMPORT_CONSTRAINT_FILES = PDC SDC" "PDC_EXTN = pdc" "PDC_DISP_NAME = Pin Constraint File" \
        "SDC_EXTN = sdc" "SDC_DISP_NAME = Timing Constraint File" "IDE_RESTORE_OPENED_VIEWS = 1" ""] \n]
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    exit [run_again EDITOR_SESSION 1]
}
# What the editor of the file keeps, and whether it was written since the
# last look.
proc editor {file} {
    set kept [file join [file dirname $file] data [file tail $file].ce]
    if {![file exists $kept]} { puts "  (no editor file written)"; return }
    foreach line [split [string trim [read_file $kept]] \n] { puts "  $line" }
    file delete $kept
}

write_file src/top.vhd [join {
    {entity top is port (clk : in bit; leds : out bit_vector(7 downto 0)); end top;}
    {architecture rtl of top is begin u : entity work.mid port map (clk); end rtl;}
} \n]\n
write_file src/mid.vhd "entity mid is port (clk : in bit); end mid;\narchitecture rtl of mid is begin end rtl;\n"
write_file src/pins.pdc "set_io clk 1\n"
write_file src/timing.sdc "create_clock -period 10 clk\n"
write_file elsewhere/board.txt "pins of the board\n"

try {edit_constraints -file src/pins.pdc}
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
try {import_files -hdl_source {src/top.vhd src/mid.vhd} -pdc src/pins.pdc -sdc src/timing.sdc}
set pins [file join [pwd] alu constraint pins.pdc]

puts "--- the pin constraints of top open with top's ports"
try {edit_constraints -file alu/constraint/pins.pdc -module top}
editor $pins
puts "asked again, the open editor comes to the front"
try {edit_constraints -file alu/constraint/pins.pdc -module top}
editor $pins
puts "for another module it stays as it is, and says so"
try {edit_constraints -file alu/constraint/pins.pdc -module mid}
editor $pins

puts "--- timing constraints are no file for this editor; a file is required, and a folder is none"
try {edit_constraints -file alu/constraint/timing.sdc}
try {edit_constraints -file ""}
try {edit_constraints -file alu/constraint}

puts "--- a file outside the project opens whatever its kind, without ports"
try {edit_constraints -file elsewhere/board.txt}
editor elsewhere/board.txt

puts "--- the project closes: its editors are forgotten. Opened again with the file in a text editor"
try {close_project}
write_file alu/alu.prj [string map [list "LIST OpenedFileList\nENDLIST" "LIST OpenedFileList\n$pins\nENDLIST"] \
    [read_file alu/alu.prj]]
try {open_project alu/alu.prj}
try {edit_constraints -file alu/constraint/pins.pdc -module mid}
editor $pins
puts "the text editor has closed it"
save_project
show_list OpenedFileList
puts "--- an editor shows no ports of a unit whose ports it cannot tell"
write_file alu/hdl/wide.vhd "entity wide is port (d : in bit_vector(N downto 0)); end wide;\n"
try {import_files -hdl_source alu/hdl/wide.vhd}
try {close_project}
try {open_project alu/alu.prj}
try {edit_constraints -file alu/constraint/pins.pdc -module wide}
editor $pins
