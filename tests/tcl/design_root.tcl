# The root module of the design: chosen by name, with or without the module
# option, in any library; a package, a name that names no module or a
# command line that names none leaves the root as it was. The project file
# tells which module is the root. Until files can be added to a project, the
# tests' loader puts the units into it.
load $env(QUORLANE_ECHO_PACKAGE) Quorlaneecho

source [file join [file dirname [info script]] lib scenario.tcl]
proc show_root {} {
    save_project
    set f [open alu.prj]; set lines [split [read $f] \n]; close $f
    set root [lsearch -inline $lines {KEY ActiveRoot *}]
    puts "  root: [expr {$root eq {} ? {none} : $root}]"
}

puts "--- a VHDL project whose top uses a package and mid; a core of its own library"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
load_test_unit -name top -file hdl/top.vhd
load_test_unit -name pkg -package -file hdl/pkg.vhd -parent top
load_test_unit -name mid -file hdl/mid.vhd -parent top
load_test_unit -name fifo -library cores -file cores/fifo.vhd
show_root

puts "--- the module as one word, with its option, with its library"
try {set_root top}
show_root
try {set_root -module mid}
show_root
try {set_root TOP}
show_root
try {set_root fifo::cores}
show_root

puts "--- refused, and the root stays"
try {set_root pkg}
try {set_root nosuch}
try {set_root -module nosuch}
try {set_root fifo}
try {set_root top mid}
try {set_root}
show_root
