# The dumps of a design for scripts: its units flat or as a hierarchy, per
# library; the components of the core workspace; the target device and the
# cores the suite's catalogue offers for it. The design comes from VHDL
# sources that import_files brings in; the project file puts the core's
# source into a library of its own.
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

write_file src/top.vhd "library iplib;\nuse iplib.all;\nuse work.pkg.all;\nentity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u1 : entity work.mid port map (a, b);\n  u2 : entity iplib.ip_core port map (x => a);\nend;\n"
write_file src/pkg.vhd "package pkg is\n  constant width : integer := 8;\nend package;\n"
write_file src/mid.vhd "entity mid is port (a : in bit; b : out bit); end mid;\narchitecture rtl of mid is\nbegin\n  u : entity work.leaf port map (a, b);\nend rtl;\n"
write_file src/ip_core.vhd "entity ip_core is port (x : in bit); end;\narchitecture rtl of ip_core is begin end;\n"
write_file src/alpha.vhd "entity alpha is end;\narchitecture rtl of alpha is begin end;\n"

puts "--- a VHDL project: top uses a package, mid and a core of library iplib; mid uses leaf, which has no file yet"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
puts "a new project has its core workspace, without components yet"
try {dump_components}
try {import_files -hdl_source {../src/top.vhd ../src/pkg.vhd ../src/mid.vhd ../src/ip_core.vhd ../src/alpha.vhd}}
puts "the project file puts the core's source into library iplib"
try {close_project}
add_member_line alu.prj hdl/ip_core.vhd {LIBRARY="iplib"}
try {open_project alu.prj}

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
