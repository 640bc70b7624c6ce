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
source [file join [file dirname [info script]] lib case_rename_design.tcl]
with_options CASE_CLOSED_SESSION [case_rename_options {}]

# The design, then every line of the saved project file that names one of
# the files renamed, old name or new.
proc show {} {
    puts [dump_all_modules -tree true]
    save_project
    foreach line [split [read_file alu.prj] \n] {
        if {[regexp -nocase {mid\.vhd|timing\.sdc|tb\.vhd|top_fast\.edn|ActiveRoot} $line]} { puts "  $line" }
    }
}

puts "--- MID defined twice, MID.vhd chosen; MID has a stimulus, a synthesis constraint and is the root;"
puts "    top's view works on Top_Fast.edn"
make_case_rename_design {}
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
