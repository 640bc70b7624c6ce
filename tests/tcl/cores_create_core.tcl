# create_core: the core packager's script for the root design of the
# project, or for one core description file, and the packager's run on it.
# The packager is an outside tool the user's options name (IDE_PACKAGER_LOC
# and IDE_PACKAGER_NAME; a script's run passes IDE_PACKAGER_OPT_BATCH);
# here it is a small tool of the session's own, which keeps the script it
# is given and says where and how it was started. The script is a private
# file of the temporary folder, gone once the packager ended.
#
# Every value of the script is one Tcl word in double quotes: a path
# holding "[", "$" or a double quote stays as it is, as the script read
# back by a Tcl interpreter shows. The core description is only named for
# the packager, so it may lie in a folder whose name the project file could
# not hold; the file itself must be there.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(PACKAGER_SESSION)]} {
    write_tool tools/packager {
        {for word in "$@"; do case "$word" in SCRIPT:*) cp "${word#SCRIPT:}" "$KEEP_SCRIPT";; esac; done}
        {echo "packager in $(pwd): $(echo "$*" | sed 's/packager-[^ ]*\.tcl/packager-XXXXXX.tcl/')"}
        {exit ${PACKAGER_STATUS:-0}}
    }
    write_file options [join [list "IDE_PACKAGER_NAME = packager" "IDE_PACKAGER_LOC = [pwd]/tools" \
        "IDE_PACKAGER_OPT = -gui" "IDE_PACKAGER_OPT_BATCH = -batch -log packager.log" \
        "ALL_IMPORT_CONSTRAINT_FILES = PDC" "IMPORT_CONSTRAINT_FILES = PDC" "PDC_EXTN = pdc" \
        "PDC_DISP_NAME = Pin Constraint File" \
        "PALLADOR_IMPORT_CONSTRAINT_FILES = pdc" ""] \n]
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    exit [run_again PACKAGER_SESSION 1]
}
file mkdir tmp
set env(TMPDIR) [file join [pwd] tmp]
set env(KEEP_SCRIPT) [file join [pwd] kept.tcl]
# Runs create_core with its words and shows the script the packager got;
# afterwards the temporary folder holds no script.
proc packaged {args} {
    file delete kept.tcl
    try "create_core $args"
    if {[file exists kept.tcl]} { puts -nonewline [read_file kept.tcl] }
    puts "  scripts left in the temporary folder: [llength [glob -nocomplain tmp/*]]"
}

try {create_core}

write_file src/top.v [join {
    {module top #(parameter WIDTH = 8) (input clk, input [WIDTH-1:0] a, output reg [3:0] q, inout [0:1] io);}
    {  mid u1(.clk(clk));}
    {endmodule}
} \n]\n
write_file src/mid.v "module mid(clk, en);\n  input clk;\n  output en;\nendmodule\n"
write_file src/tb_top.v "module tb_top; top dut(); endmodule\n"
write_file src/pins.pdc "set_io clk 1\n"
write_file src/top.vhd [join {
    {entity top is}
    {  generic (DEPTH : integer := 4);}
    {  port (clk, rst : in bit; data : inout bit_vector(DEPTH * 2 - 1 downto 0); ready : buffer bit);}
    {end top;}
    {architecture rtl of top is begin end rtl;}
} \n]\n

puts "--- a Verilog project with its root top, a stimulus and a pin constraint file"
try {new_project -location alu -name alu -hdl VERILOG -family ZX3 -die zx3_10 -package tq100}
try {import_files -hdl_source {src/top.v src/mid.v} -stimulus src/tb_top.v -pdc src/pins.pdc}
try {set_root top}
try {associate_stimulus -module top -file {<project>/stimulus/tb_top.v}}
try {organize_constraints -tool pallador -file {<project>/constraint/pins.pdc}}

puts "--- the root design: the core, its language, its ports, its files and its constraint files"
packaged

# Shows the kept script as a Tcl interpreter reads it back.
proc read_back {} {
    puts "the script read back by Tcl gives the path as it is:"
    interp create reader
    interp alias reader new_core {} apply {{args} { puts "  new_core [lindex $args 0] <[lindex $args 1]>" }}
    reader eval [read_file kept.tcl]
    interp delete reader
}
set description "<Component><vendor>v</vendor><library>l</library><name>core</name><version>1.0</version></Component>\n"

puts "--- one core description file: the one line that names it, kept literal"
set weird {lib/we[ird]{1}/core.cxf}
write_file $weird $description
packaged -file $weird
read_back

puts "--- a core description in a folder whose name holds a double quote: named for the packager all the same"
set quoted {lib/say "hi" $x/core.cxf}
write_file $quoted $description
packaged -file $quoted
read_back
packaged -file {<project>/../lib/say "hi" $x/core.cxf}

puts "--- a core description that is not there is refused, and nothing starts"
packaged -file lib/nosuch.cxf

puts "--- a file of the project cannot have such a name: the command says why"
try {is_file_readonly -file $quoted}

puts "--- a packager that fails fails the command; its script goes all the same"
set env(PACKAGER_STATUS) 3
packaged
unset env(PACKAGER_STATUS)

puts "--- no packager starts when its script cannot be made"
set env(TMPDIR) /proc
packaged
set env(TMPDIR) [file join [pwd] tmp]

puts "--- a VHDL project whose root lies in library mylib: VHDL ports and sources, the library named"
try {close_project}
try {new_project -location vhd -name vhd -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
try {import_files -hdl_source src/top.vhd}
try {close_project}
add_member_line vhd/vhd.prj hdl/top.vhd {LIBRARY="mylib"}
try {open_project vhd/vhd.prj}
try {set_root top::mylib}
packaged

puts "--- without a root, the script creates the core alone"
try {close_project}
try {new_project -location empty -name empty -hdl VERILOG -family ZX3 -die zx3_10 -package tq100}
packaged
