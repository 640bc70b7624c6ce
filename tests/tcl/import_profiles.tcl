# import_files -profiles: the tool profiles of a profile file come into the
# open project. A profile file has one section per tool kind, named as the
# project file names the kind, with the project file's keys; each profile
# replaces the project's profile of its kind, and the project file keeps it
# from the next save. A file with a wrong line, or with no profile, is
# reported with what is wrong, and none of its profiles comes in.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(PROFILES_SESSION)]} {
    write_file options "SYNPLIFY_VERSION = synplify -version\nPRECISION_VERSION = precision -version\n"
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    exit [run_again PROFILES_SESSION 1]
}
write_tool tools/synplify {{echo "Synplify Pro 9.6"}}
write_tool tools/precision {{echo "Precision 2008a"}}
file mkdir tmp
set env(TMPDIR) [file join [pwd] tmp]
set tools [file join [pwd] tools]
# The profiles the project file holds, one line each.
proc show_profiles {} {
    save_project
    set lines [split [read_file alu/alu.prj] \n]
    set first [lsearch $lines "LIST Profiles"]
    set profile {}
    foreach line [lrange $lines [expr {$first + 1}] end] {
        if {$line eq "ENDLIST"} break
        if {$line eq "EndProfile"} {
            puts "  [join $profile {, }]"
            set profile {}
        } else {
            lappend profile [string map [list $::tools <tools>] $line]
        }
    }
}

try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
puts "--- a project without profiles asks no tool"
try {get_current_tool_version -tool synthesis}

puts "--- two profiles, blanks around keys and values, comments, letter case of kinds and keys ignored"
write_file profiles.ini [join [list \
    "# the lab's tools" \
    {[ideSYNTHESIS]} \
    "Profile = Synplify Pro" \
    "Tool = SYNPLIFY" \
    "Location = $tools/synplify" \
    "AdditionalParameter = -licensetype synplifypro_brennic" \
    "Batch = TRUE" \
    "" \
    "; the core configurator" \
    {[  idearm  ]} \
    "  profile=Dremmet" \
    "TOOL=DREMMET" \
    "location=$tools/dremmet" \
    ""] \r\n]
try {import_files -profiles profiles.ini}
show_profiles
puts "  [get_current_tool_version -tool synthesis]"

puts "--- a profile of a kind the project has replaces it; the others stay"
write_file precision.ini "\[ideSYNTHESIS\]\nProfile = Precision\nTool = PRECISION\nLocation = $tools/precision\nBatch = false\n"
try {import_files -profiles precision.ini}
show_profiles
puts "  [get_current_tool_version -tool synthesis]"

puts "--- a wrong line: named with its line, and nothing of the file comes in"
set good "\[idePALLADOR\]\nTool = PALLADOR\nLocation = /opt/pallador\n"
foreach bad [list \
    "$good\[ideNOTHING\]\nTool = X\n" \
    "$good\[ideSIMULATION\nTool = MODELSIM\n" \
    "Tool = MODELSIM\n$good" \
    "$good\[ideSIMULATION\]\nTool MODELSIM\n" \
    "$good\[ideSIMULATION\]\nExecutable = /opt/vsim\n" \
    "$good\[ideSIMULATION\]\nBatch = yes\n" \
    "$good\[ideSIMULATION\]\nTool = MODELSIM\n\[IDESIMULATION\]\nTool = VCS\n"] {
    write_file bad.ini $bad
    try {import_files -profiles bad.ini}
}
show_profiles

puts "--- a file with no profile, an empty one, one that cannot be read"
write_file comments.ini "# nothing here yet\n\n"
try {import_files -profiles comments.ini}
write_file empty.ini ""
try {import_files -profiles empty.ini}
file mkdir folder.ini
try {import_files -profiles folder.ini}
try {import_files -profiles missing.ini}
show_profiles

puts "--- closed and opened again, the project has the profiles it saved"
try {close_project}
try {open_project alu/alu.prj}
show_profiles
puts "  [get_current_tool_version -tool synthesis]"
