# use_file: which of several files a flow step of a unit's view works on.
# Two synthesized netlists of top compete for the netlist step of top's
# view Impl1: the user chooses one, and the steps after it take the chosen
# file's name. A netlist of another unit is refused with the files that can
# be used; the file in use chosen again changes nothing. The choice is kept
# in the project file and comes back when the project is opened again.
# A chosen netlist gone from disk while the project was closed leaves the
# choice when the project is opened, as if delete_files had removed it: the
# other netlist takes its place, and with none left the steps keep their
# default names.
# Choosing needs the option that lets users choose flow files: without it
# the command says so and fails.
#
# The option is a setting of the user's options file, read when the shell
# starts: the session with it runs in a shell started anew.
source [file join [file dirname [info script]] lib scenario.tcl]
# The files that top's view uses, as the project file lists them.
proc show_used {} {
    save_project
    set lines [split [read_file alu.prj] \n]
    set from [lsearch -start [lsearch -exact $lines {LIST "top::work"}] $lines Used_File_List]
    set to [lsearch -start $from $lines ENDUsed_File_List]
    set used [lrange $lines [expr {$from + 1}] [expr {$to - 1}]]
    if {$used eq {}} { puts "  no file chosen" }
    foreach line $used { puts "  $line" }
}

if {![info exists env(USE_FILE_SESSION)]} {
    write_file src/top.vhd "entity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u : entity work.mid port map (a, b);\nend;\n"
    write_file src/mid.vhd "entity mid is port (a : in bit; b : out bit); end mid;\narchitecture rtl of mid is begin b <= a; end rtl;\n"
    write_file src/top.edn "(edif top (library work (cell top)) (design top (cellRef top (libraryRef work))))\n"
    write_file src/top_fast.edn "(edif top_fast (library work (cell top)) (design top (cellRef top (libraryRef work))))\n"
    write_file src/mid.edn "(edif mid (library work (cell mid)) (design mid (cellRef mid (libraryRef work))))\n"

    puts "--- a VHDL project: top uses mid; two netlists of top and one of mid"
    try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
    cd alu
    try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd} -edif {../src/top.edn ../src/top_fast.edn ../src/mid.edn}}

    puts "--- without the option users may not choose: the command says which option it needs"
    try {use_file -file synthesis/top_fast.edn -module top -pallador_view Impl1}
    show_used
    try {close_project}
    cd ..
    write_file options "IDE_SELECT_FLOW_FILE_FEATURE_ENABLED = 1\n"
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    exit [run_again USE_FILE_SESSION 1]
}

puts "--- with the option, the project opened again"
try {open_project alu/alu.prj}
cd alu
show_used

puts "--- the second netlist of top: the steps after it take its name"
try {use_file -file synthesis/top_fast.edn -module top -pallador_view Impl1}
show_used

puts "--- a netlist of mid is refused with the files that can be used; the file in use chosen again changes nothing"
try {use_file -file synthesis/mid.edn -module top -pallador_view Impl1}
try {use_file -file synthesis/top_fast.edn -module top -pallador_view Impl1}
show_used

puts "--- a unit, a view or a file that is not there"
try {use_file -file synthesis/top.edn -module nosuch -pallador_view Impl1}
try {use_file -file synthesis/top.edn -module top -pallador_view Impl9}
try {use_file -file synthesis/nosuch.edn -module top -pallador_view Impl1}
try {use_file -file synthesis/top.edn -module top}

puts "--- closed and opened again, the choice stays; the first netlist chosen back"
try {close_project}
try {open_project alu.prj}
show_used
try {use_file -file synthesis/top.edn -module top -pallador_view Impl1}
show_used

puts "--- the second netlist chosen, then deleted on disk while the project is closed: opened again, the first takes its place"
try {use_file -file synthesis/top_fast.edn -module top -pallador_view Impl1}
try {close_project}
file delete synthesis/top_fast.edn
try {open_project alu.prj}
show_used
puts "--- closed and opened once more, the choice stays"
try {close_project}
try {open_project alu.prj}
show_used

puts "--- the first netlist deleted on disk as well: opened again, no netlist is chosen; the steps keep their default names (top.edn: where synthesis writes top's netlist), as delete_files leaves them"
try {close_project}
file delete synthesis/top.edn
try {open_project alu.prj}
show_used
try {close_project}
