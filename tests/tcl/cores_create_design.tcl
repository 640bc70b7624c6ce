# create_design: a new design of a core, named by the user. The core's
# identity (vendor:library:name:version) picks who makes it: library
# Zandrel with name Veyrun a block design, library Kiltora the core
# generator (whose cores create_design does not make), any other the SPIRIT
# component of that identity that the suite installs (BRENNIC_SW_DIR, its
# folder data/spirit), made a new core of the project's core workspace with
# the parameters given, or opened in the IP-core configurator when the
# component has a generator "LGI" (or DREMMET_AS_IPTOOL is set).
# configure_user_core has the configurator configure a user core.
#
# The configurator is the tool of the project's core-console profile (tool
# kind ideARM); here a small tool of the session's own that says where and
# how it was started and leaves a file there. A failed configurator run
# takes away the design folder it made, and nothing else.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(DESIGN_SESSION)]} {
    write_file suite/data/spirit/fifo.xml [join {
        {<Component><vendor>brennic.com</vendor><library>cores</library><name>fifo</name><version>1.0</version>}
        {</Component>}
    } \n]\n
    write_file suite/data/spirit/wizard/pll.xml [join {
        {<Component><vendor>brennic.com</vendor><library>cores</library><name>pll</name><version>2.1</version>}
        {  <componentGenerators><componentGenerator><name>lgi_wizard</name></componentGenerator></componentGenerators>}
        {</Component>}
    } \n]\n
    write_file suite/cells.v "module AND2(input A, B, output Y); endmodule\n"
    write_file options "VERILOGLIB = [pwd]/suite/cells.v\n"
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    set env(BRENNIC_SW_DIR) [file join [pwd] suite]
    exit [run_again DESIGN_SESSION 1]
}
write_tool tools/configurator {
    {echo "configurator in $(pwd): $*"}
    {echo "$*" > made-by-configurator.txt}
    {exit ${CONFIGURATOR_STATUS:-0}}
}
# The components of the core workspace, and their parameters as the
# workspace file keeps them.
proc workspace {} {
    foreach line [split [read_file alu/kiltora/kiltora.aws] \n] {
        if {[regexp {<component kind="(\d+)".* name="([^"]*)"} $line -> kind name]} { puts "  component $name (kind $kind)" }
        if {[regexp {<parameter name="([^"]*)" value="([^"]*)"} $line -> name value]} { puts "    $name = $value" }
    }
}

try {create_design -id brennic.com:cores:fifo:1.0 -design_name myfifo}
try {new_project -location alu -name alu -hdl VERILOG -family ZX3 -die zx3_10 -package tq100}

puts "--- an identity of other than four fields, or no name of one folder, is refused"
try {create_design -id brennic.com:cores:fifo -design_name myfifo}
try {create_design -id brennic.com:cores:fifo:1.0:x -design_name myfifo}
try {create_design -id "" -design_name myfifo}
try {create_design -id brennic.com:cores:fifo:1.0 -design_name ../../outside}
try {create_design -id brennic.com:cores:fifo:1.0 -design_name a/b}
try {create_design -id brennic.com:cores:fifo:1.0 -design_name a:b}
puts "a SPIRIT design may not bear its core's name, nor a cell's"
try {create_design -id brennic.com:cores:fifo:1.0 -design_name FIFO}
try {create_design -id brennic.com:cores:fifo:1.0 -design_name and2}

puts "--- a core the suite does not install; an empty library is a field too"
try {create_design -id brennic.com::fifo:1.0 -design_name myfifo}

puts "--- a SPIRIT core becomes a core of the workspace, with its parameters"
try {create_design -id BRENNIC.COM:Cores:FIFO:1.0 -design_name myfifo -params {width:8 depth:16 width:32}}
workspace
puts "a parameter without a name is refused, and the new core goes again"
try {create_design -id brennic.com:cores:fifo:1.0 -design_name badfifo -params {width:8 :16}}
try {create_design -id brennic.com:cores:fifo:1.0 -design_name badfifo2 -params {depth}}
workspace
puts "  folders in the workspace: [lsort [glob -nocomplain -types d -tails -directory alu/kiltora *]]"
puts "parameters the new core cannot get (its name is no plain unit name) are refused too"
try {create_design -id brennic.com:cores:fifo:1.0 -design_name fifo::lib -params {width:8}}
puts "a name that is taken"
try {create_design -id brennic.com:cores:fifo:1.0 -design_name myfifo}
workspace

puts "--- the block-design tool makes a block design; the core generator's cores are not made here"
try {create_design -id brennic.com:ZANDREL:veyrun:1.0 -design_name bus_system}
try {create_design -id brennic.com:Kiltora:fifo:1.0 -design_name genfifo}
workspace

puts "--- a component with an LGI generator opens in the configurator, which needs a profile"
try {create_design -id brennic.com:cores:pll:2.1 -design_name mypll}
try {configure_user_core -vendor brennic.com -library cores -name pll -version 2.1}
try {close_project}
set_profiles alu/alu.prj [list [list ideARM DREMMET [file join [pwd] tools configurator]]]
try {open_project alu/alu.prj}
try {create_design -id brennic.com:cores:pll:2.1 -design_name mypll}
puts "  [glob -tails -directory alu dremmet/mypll/*]"
puts "a failed run takes away the design folder it made, and only that"
set env(CONFIGURATOR_STATUS) 1
try {create_design -id brennic.com:cores:pll:2.1 -design_name otherpll}
puts "  [lsort [glob -tails -directory alu/dremmet *]]"
puts "a folder that was there before stays"
try {create_design -id brennic.com:cores:pll:2.1 -design_name mypll}
puts "  [lsort [glob -tails -directory alu/dremmet *]]"
unset env(CONFIGURATOR_STATUS)

puts "--- configure_user_core hands the core to the configurator, in the project folder"
try {configure_user_core -vendor brennic.com -library cores -name pll -version 2.1}
set env(CONFIGURATOR_STATUS) 2
try {configure_user_core -vendor brennic.com -library cores -name pll -version 2.1}
unset env(CONFIGURATOR_STATUS)
try {configure_user_core -vendor brennic.com -library cores -name pll}
puts "a field holding ':' or a line break, or no name, makes no core identity; the configurator is not started"
try {configure_user_core -vendor brennic.com -library cores -name p:ll -version 2.1}
try {configure_user_core -vendor brennic.com -library "co\nres" -name pll -version 2.1}
try {configure_user_core -vendor brennic.com -library cores -name "" -version 2.1}
