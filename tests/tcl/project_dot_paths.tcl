# A project file edited by hand, or written by another tool, may name a
# member by a path with "." or ".." folders (hdl/./MID.vhd,
# hdl/sub/../MID.vhd), and name it so in one line and plainly in another.
# At the open such a path is the file it leads to, as it is when given to a
# command: one member of the plain name, which keeps its unit and
# everything the project holds for it (the definition chosen, the
# stimulus, the synthesis constraint, the root, the tool results, the links
# of other files). A save writes the plain names, and a save, an open and a
# save give the same file.
#
# The constraint kinds and the choice of a view's file are settings of the
# user's options file, read when the shell starts: the session runs in a
# shell started with them.
source [file join [file dirname [info script]] lib scenario.tcl]
source [file join [file dirname [info script]] lib case_rename_design.tcl]
with_options DOT_PATHS_SESSION [case_rename_options {}]

# The design, the members, then every line of the saved project file that
# names one of the files edited.
proc show {} {
    puts [dump_all_modules -tree true]
    save_project
    set lines [split [read_file alu.prj] \n]
    set first [lsearch $lines "LIST FileManager"]
    set last [lsearch -start $first $lines ENDLIST]
    puts "  members: [lmap line [lsearch -all -inline [lrange $lines $first $last] {VALUE *}] {lindex $line 1}]"
    foreach line $lines {
        if {[regexp -nocase {mid\.vhd|timing\.sdc|tb\.vhd|top_fast\.edn|ActiveRoot} $line]} { puts "  $line" }
    }
}

puts "--- MID defined twice, MID.vhd chosen; MID has a stimulus, a synthesis constraint and is the root;"
puts "    top's view works on Top_Fast.edn; Pins.pdc is linked to MID.vhd"
make_case_rename_design {}
try {close_project}
edit_project "LIST Impl1\n" "LIST Impl1\nideSYNTHESIS(<project>/synthesis/Top_Fast.edn,syn_edn)=StateSuccess\n"
edit_project "VALUE \"<project>/constraint/Pins.pdc,pdc\"\nSTATE" \
    "VALUE \"<project>/constraint/Pins.pdc,pdc\"\nPARENT=\"<project>/hdl/MID.vhd\"\nSTATE"
try {open_project alu.prj}
save_project
set plain [read_file alu.prj]
try {close_project}

puts "--- every line names the files by paths with \".\" and \"..\" folders: the same members"
edit_project "<project>/hdl/MID.vhd" "<project>/hdl/sub/../MID.vhd"
edit_project "<project>/stimulus/TB.vhd" "<project>/./stimulus/TB.vhd"
edit_project "<project>/constraint/Timing.sdc" "<project>/constraint/./../constraint/Timing.sdc"
edit_project "<project>/synthesis/Top_Fast.edn" "<project>/synthesis//./Top_Fast.edn"
try {open_project alu.prj}
show
puts "  saved as before the edit: [expr {[read_file alu.prj] eq $plain}]"
round_trip
try {close_project}

puts "--- MID.vhd listed twice, once as hdl/./MID.vhd, and a path that leaves the project folder and"
puts "    comes back: one member each"
edit_project "VALUE \"<project>/hdl/MID.vhd,hdl\"" \
    "VALUE \"<project>/hdl/./MID.vhd,hdl\"\nSTATE=\"utd\"\nENDFILE\nVALUE \"<project>/hdl/MID.vhd,hdl\""
edit_project "<project>/hdl/top.vhd" "<project>/../alu/hdl/top.vhd"
try {open_project alu.prj}
show
puts "  saved as before the edit: [expr {[read_file alu.prj] eq $plain}]"
try {close_project}

puts "--- a path that leads out of the project folder names the file there, by its full name"
write_file ../outside/ip.vhd [vhdl_unit ip ""]
edit_project "VALUE \"<project>/hdl/top.vhd,hdl\"" \
    "VALUE \"<project>/hdl/top.vhd,hdl\"\nSTATE=\"utd\"\nENDFILE\nVALUE \"<project>/hdl/../../outside/./ip.vhd,hdl\""
try {open_project alu.prj}
show
try {close_project}
