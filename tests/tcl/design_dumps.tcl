# The dumps of a design for scripts: its units flat or as a hierarchy, per
# library; the components of the core workspace; the target device and the
# cores the suite's catalogue offers for it. Until files can be added to a
# project, the tests' loader puts the units into it.
#
# The catalogue lies in the suite's install folder, which the shell reads
# when it starts: the session runs in a shell started with one.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(DUMPS_SESSION)]} {
    file mkdir suite/data
    set f [open suite/data/kiltora_catalog.xml w]
    puts $f {<kiltora_catalog>
  <core vendor="brennic.com" library="kiltora" name="fifo" version="1.9"><family>ZX3</family></core>
  <core vendor="brennic.com" library="kiltora" name="counter" version="1.0">
    <description>Up and down counter</description>
  </core>
  <core vendor="brennic.com" library="kiltora" name="fifo" version="1.10"><family>zx3</family></core>
  <core vendor="brennic.com" library="kiltora" name="ram" version="2.0"><family>ZX7</family></core>
  <core vendor="brennic.com" library="kiltora" name="fifo" version="1.2"><family>ZX3</family></core>
</kiltora_catalog>}
    close $f
    set env(BRENNIC_SW_DIR) [file join [pwd] suite]
    exit [run_again DUMPS_SESSION 1]
}
load $env(QUORLANE_ECHO_PACKAGE) Quorlaneecho

proc try {script} {
    if {[catch {uplevel 1 $script} message]} {
        puts "refused: $message"
    } elseif {$message eq ""} {
        puts "done"
    } else {
        puts $message
    }
}

puts "--- without a project"
try {dump_components}
try {dump_catalog}

puts "--- a VHDL project: top uses a package, mid and a core of library iplib; mid uses leaf, which has no file yet"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
load_test_unit -name top -file hdl/top.vhd
load_test_unit -name pkg -package -file hdl/pkg.vhd -parent top
load_test_unit -name mid -file hdl/mid.vhd -parent top
load_test_unit -name leaf -parent mid
load_test_unit -name ip_core -library iplib -file ip/ip_core.vhd -parent top
load_test_unit -name alpha -file hdl/alpha.vhd

puts "--- flat, every library under its header"
try {dump_all_modules}
puts "--- flat with each unit's parents and sub-units"
try {dump_all_modules -library iplib -verbose}
try {dump_all_modules -library work -verbose}
puts "--- as a hierarchy, one library found whatever its letter case"
try {dump_all_modules -tree 1}
try {dump_all_modules -library WORK -tree true}
puts "--- a library the design does not have"
try {dump_all_modules -library nosuch -tree 1}

puts "--- into a file, which a failed dump leaves as it was"
try {dump_all_modules -tree 1 -file tree.txt}
try {dump_all_modules -library nosuch -file tree.txt}
try {dump_all_modules -file no/such/folder/tree.txt}
set f [open tree.txt]; puts -nonewline [read $f]; close $f

puts "--- the core workspace, the device and its catalogue"
try {dump_components}
try {dump_catalog}
try {dump_catalog -dump_version 1 -show_latest_version_only 1}

puts "--- opened again, the project has its core workspace, without components yet"
try {close_project}
try {open_project alu.prj}
try {dump_components}
