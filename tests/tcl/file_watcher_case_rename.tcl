# A member file renamed on disk in the case of its letters only, while the
# project is open (hdl/MID.vhd becomes hdl/mid.vhd): the project, which does
# not tell names apart by case, keeps one member and has it take the new
# name, with its unit and the unit's data (the definition chosen for it, its
# stimulus, the root), whether the file was also edited or not. Saved,
# closed and opened again, nothing is missing. A project file that an
# older release wrote with both names keeps the one whose file is on disk.
#
# The pace of the checks is a setting of the user's options file, read when
# the shell starts: the session runs in a shell started with a short one.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options CASE_RENAME_SESSION "IDE_TIMER_INTERVAL = 20\n"
# Renames a file on disk; with `edited`, then moves its time ahead as an
# editor's save would.
proc rename_on_disk {from to {edited ""}} {
    file rename $from $to
    if {$edited ne ""} { file mtime $to [expr {[clock seconds] + 5}] }
    wait_for_checks
}
# The design, the member files, the chosen definitions, the root and the
# stimulus of MID, as the saved project file holds them.
proc show {} {
    puts [dump_all_modules -tree true]
    save_project
    set shown 0
    foreach line [split [read_file alu.prj] \n] {
        if {[regexp {^LIST (FileManager|UsedFile)$} $line]} { set shown 1 }
        if {$shown && [string match VALUE* $line]} { puts "  $line" }
        if {$line eq "ENDLIST"} { set shown 0 }
        if {[string match "KEY ActiveRoot *" $line]} { puts "  $line" }
    }
    set lines [split [read_file alu.prj] \n]
    set list [lsearch -start [lsearch $lines {LIST "MID::work"}] $lines {LIST AssociatedStimulus}]
    puts "  stimulus of MID: [lindex $lines [expr {$list + 1}]]"
}

write_file src/top.vhd [vhdl_unit top MID]
write_file src/Base.vhd [vhdl_unit MID ""]
write_file src/MID.vhd [vhdl_unit MID ""]
write_file src/TB.vhd "entity tb is end;\narchitecture sim of tb is begin end;\n"

puts "--- MID, defined by two files: the user chooses MID.vhd, gives MID a stimulus and makes it the root"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/Base.vhd ../src/MID.vhd}}
try {use_source_file -file hdl/MID.vhd -module MID}
try {import_files -stimulus ../src/TB.vhd}
try {associate_stimulus -module MID -file stimulus/TB.vhd}
try {set_root MID}
show

puts "--- the stimulus renamed on disk to tb.vhd: MID's stimulus follows it"
rename_on_disk stimulus/TB.vhd stimulus/tb.vhd
show

puts "--- MID.vhd renamed to mid.vhd, and nothing else: one member, under the new name, with MID's data"
rename_on_disk hdl/MID.vhd hdl/mid.vhd
show

puts "--- renamed back to MID.vhd and edited on disk in the same breath: parsed again, still one member"
write_file hdl/mid.vhd [vhdl_unit MID leaf]
write_file hdl/leaf.vhd [vhdl_unit leaf ""]
rename_on_disk hdl/mid.vhd hdl/MID.vhd edited
show

puts "--- saved, closed and opened again: nothing missing"
try {close_project}
try {open_project alu.prj}
show

try {close_project}

puts "--- a project file that names MID.vhd twice, in two cases, as an older release wrote it when the"
puts "    file was renamed: the name on disk is kept, and stays the definition chosen for MID"
set text [read_file alu.prj]
set member "VALUE \"<project>/hdl/MID.vhd,hdl\""
set at [string first $member $text]
write_file alu.prj [string replace $text $at [expr {$at + [string length $member] - 1}] \
    "VALUE \"<project>/hdl/MID.vhd,hdl\"\nENDFILE\nVALUE \"<project>/hdl/mid.vhd,hdl\""]
file rename hdl/MID.vhd hdl/mid.vhd
try {open_project alu.prj}
show
try {close_project}
