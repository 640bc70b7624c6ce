# organize_sources: the order of the HDL sources a module passes to
# synthesis or simulation. The suite works the list out from the hierarchy;
# a module may keep a list of its own per tool instead. With -use_default
# false the list is stored and used; with -use_default true (the default) a
# list equal to the computed one is not stored, and another one is stored
# but not used (and so not saved). test_organize_sources compares the
# module's list with the files it is given.
source [file join [file dirname [info script]] lib scenario.tcl]
# The customized lists each module's block of the saved project file holds.
proc custom_lists {} {
    save_project
    set lines [split [read_file alu.prj] \n]
    set first [lsearch $lines {LIST NewModulesInfo}]
    set last [lsearch -start $first $lines {LIST AssociatedStimulus}]
    set module ""
    set shown 0
    for {set i $first} {$i < $last} {incr i} {
        set line [lindex $lines $i]
        if {[string match {LIST "*::*"} $line]} { set module [lindex $line 1] }
        if {$line ne {LIST UserCustomizedFileList}} continue
        set end [lsearch -start $i $lines {ENDLIST }]
        puts "  $module: [join [lrange $lines [expr {$i + 1}] [expr {$end - 1}]] { | }]"
        set shown 1
    }
    if {!$shown} { puts "  no module has a list of its own" }
}

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u : entity work.mid port map (a, b);\nend;\n"
write_file src/mid.vhd "entity mid is port (a : in bit; b : out bit); end;\narchitecture rtl of mid is\nbegin\n  u : entity work.leaf port map (a, b);\nend;\n"
write_file src/leaf.vhd "entity leaf is port (x : in bit; y : out bit); end;\narchitecture rtl of leaf is begin y <= x; end;\n"
write_file src/other.vhd "entity other is end;\narchitecture rtl of other is begin end;\n"
write_file src/tb_top.vhd "entity tb_top is end;\narchitecture sim of tb_top is begin end;\n"

puts "--- a project without a root: no module to organize"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {organize_sources -tool synthesis}
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/leaf.vhd ../src/other.vhd}}
try {import_files -stimulus ../src/tb_top.vhd}
try {set_root top}

puts "--- the list worked out from the hierarchy, leaves first"
try {test_organize_sources -tool synthesis -module top -file hdl/leaf.vhd -file hdl/mid.vhd -file hdl/top.vhd}
puts "the self-test fails with both lists: the expected one first"
try {test_organize_sources -tool synthesis -module top -file hdl/top.vhd -file hdl/mid.vhd -file hdl/leaf.vhd}

puts "--- \"new\": exactly the files named, in their order; a file named twice is placed once"
try {organize_sources -tool synthesis -module top -mode new -file hdl/top.vhd -file hdl/leaf.vhd -file hdl/top.vhd -use_default false}
try {test_organize_sources -tool synthesis -module top -file hdl/top.vhd -file hdl/leaf.vhd}
custom_lists
puts "the list is the synthesis list: simulation still works its own out"
try {test_organize_sources -tool simulation -module top -file hdl/leaf.vhd -file hdl/mid.vhd -file hdl/top.vhd}

puts "--- \"add\": a file not listed yet goes to the end; one listed keeps its place"
try {organize_sources -tool synthesis -module top -mode add -file hdl/other.vhd -file hdl/top.vhd -use_default false}
try {test_organize_sources -tool synthesis -module top -file hdl/top.vhd -file hdl/leaf.vhd -file hdl/other.vhd}

puts "--- \"remove\": the named files leave; one not listed, or not in the project, changes nothing"
try {organize_sources -tool synthesis -module top -mode remove -file hdl/leaf.vhd -file hdl/mid.vhd -file hdl/nosuch.vhd -use_default false}
try {test_organize_sources -tool synthesis -module top -file hdl/top.vhd -file hdl/other.vhd}

puts "--- the mode left out is \"new\"; the module left out is the root"
try {organize_sources -tool synthesis -file hdl/mid.vhd -file hdl/top.vhd -use_default false}
try {test_organize_sources -tool synthesis -file hdl/mid.vhd -file hdl/top.vhd}

puts "--- every file that cannot be associated is told, each project file followed by the files that can; nothing changes"
try {organize_sources -tool synthesis -module top -file stimulus/tb_top.vhd -file hdl/top.vhd -file hdl/nosuch.vhd -use_default false}
try {test_organize_sources -tool synthesis -module top -file hdl/mid.vhd -file hdl/top.vhd}
puts "only synthesis and simulation have such lists"
try {organize_sources -tool pallador -module top -file hdl/top.vhd}

puts "--- saved, closed and opened again, the list is the module's still"
try {close_project}
try {open_project alu.prj}
try {test_organize_sources -tool synthesis -module top -file hdl/mid.vhd -file hdl/top.vhd}
custom_lists

puts "--- -use_default true: a list equal to the computed one is not stored"
try {organize_sources -tool synthesis -module top -file hdl/leaf.vhd -file hdl/mid.vhd -file hdl/top.vhd}
custom_lists
try {test_organize_sources -tool synthesis -module top -file hdl/leaf.vhd -file hdl/mid.vhd -file hdl/top.vhd}
puts "another list is stored but not used, and not saved: the project opens with the computed list"
try {organize_sources -tool synthesis -module top -file hdl/top.vhd -file hdl/leaf.vhd}
try {test_organize_sources -tool synthesis -module top -file hdl/top.vhd -file hdl/leaf.vhd}
custom_lists
try {close_project}
try {open_project alu.prj}
try {test_organize_sources -tool synthesis -module top -file hdl/leaf.vhd -file hdl/mid.vhd -file hdl/top.vhd}
puts "-use_default false stores even the computed list, and uses it; an empty list too"
try {organize_sources -tool simulation -module top -file hdl/leaf.vhd -file hdl/mid.vhd -file hdl/top.vhd -use_default false}
custom_lists
try {organize_sources -tool simulation -module mid -use_default false}
try {test_organize_sources -tool simulation -module mid}
custom_lists

puts "--- a list of the module's own is kept through a refresh, and saved"
try {organize_sources -tool synthesis -module top -file hdl/top.vhd -file hdl/mid.vhd -use_default false}
try {refresh}
try {test_organize_sources -tool synthesis -module top -file hdl/top.vhd -file hdl/mid.vhd}
custom_lists
try {close_project}
try {open_project alu.prj}
try {test_organize_sources -tool synthesis -module top -file hdl/top.vhd -file hdl/mid.vhd}

puts "--- a file deleted from the project leaves the lists of the modules' own: no tool is handed it"
try {organize_sources -tool synthesis -module top -file hdl/other.vhd -file hdl/top.vhd -file hdl/mid.vhd -use_default false}
try {organize_sources -tool simulation -module mid -file hdl/other.vhd -use_default false}
custom_lists
try {delete_files -file hdl/other.vhd}
try {test_organize_sources -tool synthesis -module top -file hdl/top.vhd -file hdl/mid.vhd}
puts "mid's list held that file alone: it stays, empty, as such a list can be made"
try {test_organize_sources -tool simulation -module mid}
custom_lists
puts "  other.vhd: [expr {[string first other.vhd [read_file alu.prj]] < 0 ? {named nowhere} : {still named}}]"
round_trip
custom_lists
