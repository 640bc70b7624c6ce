# associate_stimulus: the stimulus (test-bench) files of a module. Only the
# project's stimulus files may be named; the list is the module's and is
# saved with the project. test_associate_stimulus compares the list with
# the files it is given.
source [file join [file dirname [info script]] lib scenario.tcl]
# The stimulus list of top's block in the saved project file.
proc stimulus {} {
    save_project
    set lines [split [read_file alu.prj] \n]
    set first [lsearch $lines {LIST "top::work"}]
    set list [lsearch -start $first $lines {LIST AssociatedStimulus}]
    # Without a list of its own, the first one found is the project's
    # summary of every module, which names the modules.
    if {$first < 0 || ![string match VALUE* [lindex $lines [expr {$list + 1}]]]} {
        puts "  top has no stimulus"
        return
    }
    set last [lsearch -start $list $lines ENDLIST]
    puts "  [join [lrange $lines [expr {$list + 1}] [expr {$last - 1}]] { | }]"
}

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is begin end;\n"
foreach name {tb_reset tb_count tb_load} {
    write_file src/$name.vhd "entity $name is end;\narchitecture sim of $name is begin end;\n"
}

puts "--- a design top and three test benches"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source ../src/top.vhd}
try {import_files -stimulus {../src/tb_reset.vhd ../src/tb_count.vhd ../src/tb_load.vhd}}
try {test_associate_stimulus -module top}

puts "--- \"new\" (the mode left out): the files named, in their order, each once"
try {associate_stimulus -module top -file stimulus/tb_count.vhd -file stimulus/tb_reset.vhd -file stimulus/tb_count.vhd}
try {test_associate_stimulus -module top -file stimulus/tb_count.vhd -file stimulus/tb_reset.vhd}
stimulus
puts "the self-test fails with both lists: the expected one first"
try {test_associate_stimulus -module top -file stimulus/tb_reset.vhd -file stimulus/tb_count.vhd}

puts "--- \"add\": a file not listed yet goes to the end; one listed keeps its place"
try {associate_stimulus -module top -mode add -file stimulus/tb_load.vhd -file stimulus/tb_count.vhd}
try {test_associate_stimulus -module top -file stimulus/tb_count.vhd -file stimulus/tb_reset.vhd -file stimulus/tb_load.vhd}

puts "--- \"remove\": the named files leave; one not listed, or not in the project, changes nothing"
try {associate_stimulus -module top -mode remove -file stimulus/tb_reset.vhd -file stimulus/tb_other.vhd}
try {associate_stimulus -module top -mode remove -file stimulus/tb_reset.vhd}
try {test_associate_stimulus -module top -file stimulus/tb_count.vhd -file stimulus/tb_load.vhd}

puts "--- every file that cannot be associated is told, each project file followed by the files that can; nothing changes"
try {associate_stimulus -module top -file hdl/top.vhd -file stimulus/tb_reset.vhd -file stimulus/tb_other.vhd}
try {test_associate_stimulus -module top -file stimulus/tb_count.vhd -file stimulus/tb_load.vhd}
puts "the module must be named, and be one of the design"
try {associate_stimulus -file stimulus/tb_reset.vhd}
try {associate_stimulus -module nosuch -file stimulus/tb_reset.vhd}

puts "--- saved, closed and opened again, the list is the module's still"
try {close_project}
try {open_project alu.prj}
try {test_associate_stimulus -module top -file stimulus/tb_count.vhd -file stimulus/tb_load.vhd}
stimulus
puts "\"new\" without files takes every file away"
try {associate_stimulus -module top}
try {test_associate_stimulus -module top}
stimulus

puts "--- a unit whose name the project file cannot hold gets no list: it would be lost, or fail every save"
write_file ../src/odd.vhd "entity \\q\"x\\ is end;\narchitecture rtl of \\q\"x\\ is begin end;\n"
try {import_files -hdl_source ../src/odd.vhd}
set odd "\\q\"x\\"
try {associate_stimulus -module $odd -file stimulus/tb_reset.vhd}
try {organize_sources -tool synthesis -module $odd -file hdl/odd.vhd -use_default false}
try {save_project}
