# The set-up files of the simulator ("modelsim.ini") and of the schematic
# editor ("viewdraw.ini", "project.lst") as a user meets them: a new project
# writes them, opening the project brings them up to date and keeps what the
# user added, and a library path of the user's own goes into the simulator's
# file and is remembered for the next project of the family.
source [file join [file dirname [info script]] lib scenario.tcl]
proc show {name} {
    puts "--- $name"
    foreach line [split [string trimright [read_file $name] \n] \n] { puts "  |$line|" }
}
proc compare_with_golden {name golden project} {
    set expected [string map [list @PROJECT@ $project] [read_file $::env(QUORLANE_TEST_DATA_DIR)/setup/$golden]]
    if {$expected eq [read_file $name]} { puts "$name: as its golden text" } else { show $name }
}

puts "--- a new VHDL project for a ZX3 device"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
compare_with_golden alu/simulation/modelsim.ini modelsim.ini [pwd]/alu
compare_with_golden alu/viewdraw/viewdraw.ini viewdraw.ini [pwd]/alu
show alu/viewdraw/vf/project.lst
puts "viewdraw folders: [lsort [glob -tails -directory alu/viewdraw -type d *]]"

puts "--- the user maps a library of his own and tunes the simulator; the project is opened again"
write_file alu/simulation/modelsim.ini [string map {"\[vcom\]" "mylib = /home/me/mylib\n\n\[vcom\]" \
    "IterationLimit = 5000" "IterationLimit = 10000\nResolution = ps"} [read_file alu/simulation/modelsim.ini]]
try {close_project}
try {open_project alu/alu.prj}
show alu/simulation/modelsim.ini

puts "--- a library path of the user's own, relative and with Windows separators"
file mkdir simlib/zx3
try {set_brennic_lib_options -use_default_sim_path false -sim_path {simlib\zx3}}
show alu/simulation/modelsim.ini
puts "remembered: [lsort [lsearch -all -inline [split [read_file options] \n] IDE_MODELSIM_USER_*]]"
try {save_project}
puts [lsearch -all -inline [split [read_file alu/alu.prj] \n] *Path=*]
puts "--- the next ZX3 project starts from it"
try {new_project -location cpu -name cpu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
puts [lsearch -inline [split [read_file cpu/simulation/modelsim.ini] \n] zx3*]
puts "--- back to the default library: the path is kept but not used"
try {set_brennic_lib_options -use_default_sim_path true}
puts [lsearch -inline [split [read_file cpu/simulation/modelsim.ini] \n] zx3*]
try {save_project}
puts [lsearch -all -inline [split [read_file cpu/cpu.prj] \n] *Path=*]
try {set_brennic_lib_options}
try {set_brennic_lib_options -use_default_sim_path false -sim_path "a\nb"}
try {set_brennic_lib_options -use_default_sim_path false -sim_path "/opt/lib\x01"}
puts "a path of one's own must be given: an empty one would map no library, and each open would call it invalid"
try {set_brennic_lib_options -use_default_sim_path false -sim_path ""}
puts [lsearch -inline [split [read_file cpu/simulation/modelsim.ini] \n] zx3*]
puts "saved, closed and opened again, the project keeps its path"
try {save_project}
try {close_project}
try {open_project cpu/cpu.prj}
puts [lsearch -all -inline [split [read_file cpu/cpu.prj] \n] *Path=*]

puts "--- the schematic editor's file of a copy made on Windows, without its library lines"
try {close_project}
write_file alu/viewdraw/viewdraw.ini "GRID            20 \r\nPRESERVE_CASE    1 \r\nDIR \[pw\] C:\\work\\alu\\viewdraw (alu)\r\n"
try {open_project alu/alu.prj}
show alu/viewdraw/viewdraw.ini
try {close_project}
