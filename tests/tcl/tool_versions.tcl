# get_current_tool_version answers the version of the tool that the active
# tool profile of a kind points to: it runs, in the temporary folder, the
# command that the options variable "<tool key>_VERSION" gives, from the
# folder of the profile's executable, and answers what it prints. Nothing
# is cached: each query runs the tool again. A program that cannot run or
# fails is named, with the tool whose version it was to tell; one that
# does not end in time (IDE_TOOL_TIME_LIMIT_MS) is stopped. A folder may
# hold blanks. The shell keeps the profiles of the open project; here they
# point to small tools of the session's own.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(VERSION_SESSION)]} {
    write_file options [join [list "SYNPLIFY_VERSION = synplify -version" \
        "MODELSIM_VERSION = vsim --version" "HANG_VERSION = hang" "IDE_TOOL_TIME_LIMIT_MS = 1000" \
        "QUESTA_VERSION = vversion -v" "PRECISION_VERSION = vsim_broken" ""] \n]
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    exit [run_again VERSION_SESSION 1]
}
write_tool {tools/my bin/synplify} {
    {echo x >> "$COUNTER"}
    {echo "Synplify Pro $SYNPLIFY_RELEASE (called $(wc -l < "$COUNTER") times, in $(basename $(pwd)), with $*)"}
}
write_tool tools/sim/vsim {
    {echo "vsim: license not found" >&2}
    {exit 4}
}
write_tool tools/sim/vsim_broken {
    {exit 2}
}
write_tool tools/hang/hang {
    {sleep 30}
}
file mkdir tmp
set env(TMPDIR) [file join [pwd] tmp]
set env(COUNTER) [file join [pwd] counter]
set env(SYNPLIFY_RELEASE) 9.6

puts "--- without a project the shell has no profiles: no tool kind is offered"
try {get_current_tool_version -tool synthesis}

puts "--- a project whose profiles name synthesis, simulation, place and route and programming tools"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
try {close_project}
set_profiles alu/alu.prj [list \
    [list ideSYNTHESIS SYNPLIFY [file join [pwd] tools "my bin" synplify]] \
    [list ideSIMULATION MODELSIM [file join [pwd] tools sim vsim]] \
    [list idePALLADOR HANG [file join [pwd] tools hang hang]] \
    [list ideTORVIX UNKNOWN [file join [pwd] tools "my bin" synplify]] \
    [list ideSTIMULUS "" [file join [pwd] tools "my bin" synplify]] \
    [list idePHYSYNTH SYNPLIFY synplify]]
try {open_project alu/alu.prj}

puts "--- the active synthesis tool's version, asked twice: the tool runs each time"
puts "  [get_current_tool_version -tool synthesis]"
set env(SYNPLIFY_RELEASE) 9.6.2
puts "  [get_current_tool_version -tool SYNTHESIS]"

puts "--- an executable named without a folder is looked for on the PATH; its folder is used"
set env(PATH) "[file join [pwd] tools "my bin"]:$env(PATH)"
puts "  [get_current_tool_version -tool physynth]"

puts "--- a tool that fails, one that hangs, one whose version nobody said how to ask"
try {get_current_tool_version -tool simulation}
try {get_current_tool_version -tool pallador}
try {get_current_tool_version -tool torvix}

puts "--- a profile without a tool is no active tool; kinds without a profile are not offered"
try {get_current_tool_version -tool stimulus}
try {get_current_tool_version -tool hdleditor}

puts "--- an executable that is gone"
file delete {tools/my bin/synplify}
try {get_current_tool_version -tool synthesis}

puts "--- the version is asked of another program of the tool's folder: the one that failed is named"
try {close_project}
set_profiles alu/alu.prj [list \
    [list ideSIMULATION QUESTA [file join [pwd] tools sim vsim]] \
    [list ideSYNTHESIS PRECISION [file join [pwd] tools sim vsim]]]
try {open_project alu/alu.prj}
try {get_current_tool_version -tool simulation}
try {get_current_tool_version -tool synthesis}
