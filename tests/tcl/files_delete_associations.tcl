# A file that leaves the project leaves the units' lists that name it as
# well: the files associated with a unit (its "Other_Association" list) and
# the order of its ARM database files (organize_cdbs). delete_files takes
# it out of every unit's lists at once, as opening the project again would,
# so that saving, opening and saving again gives the same file. A database
# file gone from disk while the project is closed is dropped at the open
# in the same way.
source [file join [file dirname [info script]] lib scenario.tcl]
# The associated files and the CDB order of each unit, as the saved
# project file holds them.
proc lists {} {
    save_project
    set lines [split [read_file alu.prj] \n]
    foreach unit {top mid} {
        set at [lsearch -exact $lines "LIST \"${unit}::work\""]
        if {$at < 0} {
            puts "  $unit: no block, nothing listed"
            continue
        }
        set associated {}
        set order {}
        set into {}
        for {incr at} {$at < [llength $lines]} {incr at} {
            set line [lindex $lines $at]
            if {$line eq "LIST Other_Association"} { set into associated } elseif {$line eq "LIST CDBOrder"} {
                set into order
            } elseif {[regexp {^VALUE "<project>/dremmet/([^,]+),} $line -> name] && $into ne {}} {
                lappend $into $name
            } elseif {$line eq "ENDLIST"} {
                if {$into eq {}} break
                set into {}
            }
        }
        puts "  $unit: associated {$associated}, order {$order}"
    }
}
# Whether the saved project file still names the file anywhere (the older
# lists written beside the units' blocks included).
proc named {name} {
    save_project
    puts "  $name: [expr {[string first $name [read_file alu.prj]] < 0 ? {named nowhere} : {still named}}]"
}

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u : entity work.mid port map (a, b);\nend;\n"
write_file src/mid.vhd "entity mid is port (a : in bit; b : out bit); end;\narchitecture rtl of mid is begin b <= a; end;\n"

puts "--- top and mid with their ARM databases, bus.cdb associated with both, loose.cdb with neither"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd}}
try {set_root top}
set databases {arm bus mem io spare loose}
foreach name $databases { write_file dremmet/$name.cdb "database $name\n" }
try {close_project}
set files ""
foreach name $databases {
    append files "VALUE \"<project>/dremmet/$name.cdb,arm_db\"\nSTATE=\"utd\"\nENDFILE\n"
}
set modules ""
foreach {module associated} {top {arm bus io} mid {bus mem spare}} {
    append modules "LIST \"${module}::work\"\nFILE \"<project>/hdl/$module.vhd,hdl\"\nLIST Other_Association\n"
    foreach name $associated { append modules "VALUE \"<project>/dremmet/$name.cdb,arm_db\"\n" }
    append modules "ENDLIST\nENDLIST\n"
}
write_file alu.prj [string map [list "LIST FileManager\n" "LIST FileManager\n$files" \
    "LIST NewModulesInfo\n" "LIST NewModulesInfo\n$modules"] [read_file alu.prj]]
try {open_project alu.prj}
try {organize_cdbs -module top -file dremmet/io.cdb -file dremmet/bus.cdb -file dremmet/arm.cdb}
try {organize_cdbs -module mid -file dremmet/spare.cdb -file dremmet/mem.cdb -file dremmet/bus.cdb}
lists

puts "--- bus.cdb removed from the project: both units let it go, the others keep their order"
try {delete_files -file dremmet/bus.cdb}
lists
named bus.cdb
round_trip
lists

puts "--- two files at once, one of each unit, deleted from disk as well"
try {delete_files -file dremmet/arm.cdb -file dremmet/spare.cdb -from_disk}
lists
puts "  on disk: [join [lmap name {arm spare io} {expr {[file exists dremmet/$name.cdb] ? "$name.cdb" : "no $name.cdb"}}] {, }]"
named arm.cdb
named spare.cdb
round_trip

puts "--- a file the units do not name leaves them as they are"
try {delete_files -file dremmet/loose.cdb}
lists

puts "--- mem.cdb deleted on disk while the project is closed: the open drops it from mid's lists too"
try {close_project}
file delete dremmet/mem.cdb
try {open_project alu.prj}
lists
named mem.cdb
round_trip
lists
try {close_project}
