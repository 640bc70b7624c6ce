# organize_cdbs: the order in which the ARM database files of a module and
# of the modules below it go to place and route. The named files become the
# module's order; a file that is none of those databases is kept in the
# order all the same, and a debug line says that place and route will not
# receive it. The order is saved with the project.
#
# Debug lines show only with DEBUG_MSG, a setting of the user's options
# file read when the shell starts: the session runs in a shell started
# with it.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(CDB_SESSION)]} {
    write_file options "DEBUG_MSG = 1\n"
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    exit [run_again CDB_SESSION 1]
}
# The CDB order of top's block in the saved project file.
proc order {} {
    save_project
    set lines [split [read_file alu.prj] \n]
    set first [lsearch $lines {LIST "top::work"}]
    set list [lsearch -start $first $lines {LIST CDBOrder}]
    set last [lsearch -start $list $lines ENDLIST]
    puts "  [join [lrange $lines [expr {$list + 1}] [expr {$last - 1}]] { | }]"
}

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u : entity work.mid port map (a, b);\nend;\n"
write_file src/mid.vhd "entity mid is port (a : in bit; b : out bit); end;\narchitecture rtl of mid is begin b <= a; end;\n"

puts "--- top with its ARM database, mid below it with two, as the project file holds them"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd}}
try {set_root top}
foreach name {top_arm mid_bus mid_mem spare} { write_file dremmet/$name.cdb "database $name\n" }
try {close_project}
set files ""
foreach name {top_arm mid_bus mid_mem spare} {
    append files "VALUE \"<project>/dremmet/$name.cdb,arm_db\"\nSTATE=\"utd\"\nENDFILE\n"
}
set modules ""
foreach {module databases} {top top_arm mid {mid_bus mid_mem}} {
    append modules "LIST \"${module}::work\"\nFILE \"<project>/hdl/$module.vhd,hdl\"\nLIST Other_Association\n"
    foreach name $databases { append modules "VALUE \"<project>/dremmet/$name.cdb,arm_db\"\n" }
    append modules "ENDLIST\nENDLIST\n"
}
write_file alu.prj [string map [list "LIST FileManager\n" "LIST FileManager\n$files" \
    "LIST NewModulesInfo\n" "LIST NewModulesInfo\n$modules"] [read_file alu.prj]]
try {open_project alu.prj}

puts "--- the order is the one given, each file once"
try {organize_cdbs -module top -file dremmet/mid_mem.cdb -file dremmet/top_arm.cdb -file dremmet/mid_bus.cdb -file dremmet/mid_mem.cdb}
order

puts "--- a file that is not one of top's databases: one debug line, and it is stored all the same"
try {organize_cdbs -module top -file dremmet/spare.cdb -file dremmet/top_arm.cdb}
order

puts "--- refused: a file that is not in the project, no file, no module"
try {organize_cdbs -module top -file dremmet/nosuch.cdb}
try {organize_cdbs -module top}
try {organize_cdbs -file dremmet/top_arm.cdb}
order

puts "--- saved, closed and opened again, the order is top's still"
try {close_project}
try {open_project alu.prj}
order
