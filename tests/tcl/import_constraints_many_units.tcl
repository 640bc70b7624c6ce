# import_files of a netlist and constraint files for each unit of a design:
# the files come in with their states, a constraint file that a unit's
# synthesis list names makes that unit's netlist out of date when it is
# imported again, and the others' stay as they were. One import_files of
# every file leaves the project file that one import_files per file leaves.
#
# The project's constraint kinds and the tools' constraint extensions are
# settings of the user's options file, read when the shell starts.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options IMPORT_CONSTRAINTS_SESSION [join {
    "ALL_IMPORT_CONSTRAINT_FILES = PDC SDC" "IMPORT_CONSTRAINT_FILES = PDC SDC"
    "PDC_DISP_NAME = Pin Constraint File" "PDC_EXTN = pdc"
    "SDC_DISP_NAME = Timing Constraint File" "SDC_EXTN = sdc"
    "SYNTHESIS_CONSTRAINTS_LIST = sdc" "PHYSYNTH_CONSTRAINTS_LIST = sdc pdc"
    "PALLADOR_IMPORT_CONSTRAINT_FILES = pdc sdc" ""} \n]

# The member files of the project file with their states, one line each.
proc states {project} {
    set out {}
    foreach line [split [read_file $project] \n] {
        if {[string match {VALUE "<project>/*} $line]} { set name [lindex [split [string range $line 17 end-1] ,] 0] }
        if {[string match {STATE=*} $line]} { lappend out "$name [string range $line 7 end-1]" }
    }
    puts "  [join $out "\n  "]"
}

# A design of twelve units, each with its netlist, timing and pin constraints.
set units {}
for {set i 0} {$i < 12} {incr i} {
    set body ""
    for {set k [expr {3 * $i + 1}]} {$k <= 3 * $i + 3 && $k < 12} {incr k} {
        append body "  c$k : entity work.u$k port map (a, b);\n"
    }
    if {$body eq ""} { set body "  b <= a;\n" }
    write_file src/u$i.vhd "entity u$i is port (a : in bit; b : out bit); end;\narchitecture rtl of u$i is\nbegin\n${body}end;\n"
    write_file src/u$i.edn "(edif u$i (design u$i (cellRef u$i (libraryRef work))))\n"
    write_file src/u$i.sdc "create_clock -period 10 a\n"
    write_file src/u$i.pdc "set_io a 1\n"
    lappend units u$i
}
proc sources {ext} { lmap unit $::units { set _ ../src/$unit.$ext } }

puts "--- one import_files for every kind of file"
try {new_project -location one -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd one
try {import_files -hdl_source [sources vhd]}
try {import_files -edif [sources edn] -sdc [sources sdc] -pdc [sources pdc]}
save_project
states alu.prj
# The project file but for the line that names its folder.
proc project_file {} { join [lsearch -all -inline -not [split [read_file alu.prj] \n] {KEY ProjectLocation *}] \n }
set together [project_file]
try {close_project}
cd ..

puts "--- one import_files per file"
try {new_project -location each -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd each
try {import_files -hdl_source [sources vhd]}
foreach unit $units { import_files -edif ../src/$unit.edn }
foreach unit $units { import_files -sdc ../src/$unit.sdc }
foreach unit $units { import_files -pdc ../src/$unit.pdc }
save_project
puts "  the same project file: [expr {[project_file] eq $together}]"

puts "--- u4's synthesis list names u4.sdc: imported again, u4.sdc leaves u4's netlist out of date, and no other"
try {organize_constraints -tool synthesis -module u4 -file constraint/u4.sdc}
save_project
try {import_files -sdc ../src/u4.sdc}
save_project
states alu.prj
puts "--- saved, closed and opened again: the same project file"
set saved [read_file alu.prj]
try {close_project}
try {open_project alu.prj}
save_project
puts "  [expr {[read_file alu.prj] eq $saved ? {the same} : {differs}}]"
try {close_project}
