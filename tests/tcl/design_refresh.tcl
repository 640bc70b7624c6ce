# A unit that two files define: the second file is refused as its
# definition until the user chooses it with use_source_file; refresh parses
# every file again and keeps that choice, the tree, and a library that holds
# no unit with its settings. Saved, closed and opened again, the project
# keeps all of it.
source [file join [file dirname [info script]] lib scenario.tcl]
# The project file's lists of member files, of chosen definitions and of
# libraries.
proc show_project {} {
    save_project
    set shown 0
    foreach line [split [read_file alu.prj] \n] {
        if {[regexp {^LIST (FileManager|UsedFile|LIBRARIES|LIBRARY_)} $line]} { set shown 1 }
        if {$shown} { puts "  $line" }
        if {$line eq "ENDLIST"} { set shown 0 }
    }
}

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u : entity work.mid port map (a, b);\nend;\n"
write_file src/mid.vhd "entity mid is port (a : in bit; b : out bit); end mid;\narchitecture rtl of mid is\nbegin\n  u1 : entity work.leaf port map (x => a, y => b);\nend rtl;\n"
write_file src/leaf.vhd "entity leaf is port (x : in bit; y : out bit); end entity;\narchitecture rtl of leaf is begin y <= x; end architecture;\n"
write_file src/mid2.vhd "entity mid is port (a : in bit; b : out bit); end mid;\narchitecture flat of mid is\nbegin\n  b <= a;\nend flat;\n"

puts "--- a VHDL project with a library of simulation models that holds no unit yet"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {close_project}
set f [open alu.prj a]
puts $f "LIST LIBRARIES\nsimlib\nENDLIST\nLIST LIBRARY_simlib\nALIAS=/opt/sim/simlib\nCOMPILE_OPTION=REFRESH_AND_COMPILE\nENDLIST"
close $f
try {open_project alu.prj}
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/leaf.vhd}}
try {set_root top}
puts [dump_all_modules -tree true]

puts "--- a second file defining mid is refused as its definition"
try {import_files -hdl_source ../src/mid2.vhd}
puts [dump_all_modules -tree true]
show_project

puts "--- the user chooses it; the file that defined mid before no longer does"
try {use_source_file -file hdl/mid2.vhd -module mid}
puts [dump_all_modules -tree true]
show_project
puts "choosing it again changes nothing; a file that does not define the unit, or a unit that does not exist, is refused"
try {use_source_file -file hdl/mid2.vhd -module mid}
try {use_source_file -file hdl/leaf.vhd -module mid}
try {use_source_file -file hdl/nosuch.vhd -module mid}
try {use_source_file -file hdl/mid.vhd -module nosuch}
try {use_source_file -file hdl/leaf.vhd -module typo}

puts "--- refresh parses every file again and keeps the choice, the tree and the empty library"
set tree [dump_all_modules -tree true]
try {refresh}
puts "  tree: [expr {[dump_all_modules -tree true] eq $tree ? {the same} : {differs}}]"
show_project

puts "--- saved, closed and opened again"
save_project
set saved [read_file alu.prj]
try {close_project}
try {open_project alu.prj}
puts "  tree: [expr {[dump_all_modules -tree true] eq $tree ? {the same} : {differs}}]"
save_project
puts "  project file: [expr {[read_file alu.prj] eq $saved ? {the same} : {differs}}]"
puts "and refresh once more"
try {refresh}
puts "  tree: [expr {[dump_all_modules -tree true] eq $tree ? {the same} : {differs}}]"
save_project
puts "  project file: [expr {[read_file alu.prj] eq $saved ? {the same} : {differs}}]"
puts "--- the file in use for mid stops defining it: the other file is mid's definition at once, as after a refresh"
write_file hdl/mid2.vhd "entity mid_flat is end;\narchitecture flat of mid_flat is begin end flat;\n"
try {import_files -hdl_source hdl/mid2.vhd}
set tree [dump_all_modules -tree true]
puts $tree
try {refresh}
puts "  after a refresh: [expr {[dump_all_modules -tree true] eq $tree ? {the same} : {differs}}]"
puts "--- the file chosen for mid is deleted from disk: refresh says so, and mid, defined by the other file, keeps its stimulus"
write_file hdl/mid2.vhd "entity mid is port (a : in bit; b : out bit); end mid;\narchitecture flat of mid is\nbegin\n  b <= a;\nend flat;\n"
write_file ../src/tb.vhd "entity tb is end;\narchitecture sim of tb is begin end;\n"
try {import_files -hdl_source hdl/mid2.vhd}
try {use_source_file -file hdl/mid2.vhd -module mid}
try {import_files -stimulus ../src/tb.vhd}
try {associate_stimulus -module mid -file stimulus/tb.vhd}
file delete hdl/mid2.vhd
try {refresh}
puts [dump_all_modules -tree true]
try {test_associate_stimulus -module mid -file stimulus/tb.vhd}
try {close_project}
puts "--- refresh needs a project"
try {refresh}
