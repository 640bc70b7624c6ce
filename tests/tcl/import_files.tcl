# import_files fills a project from a script. HDL sources from a folder
# outside the project are copied into it and parsed into a hierarchy; a file
# that cannot be imported is reported and fails the command without
# stopping the others; without a project only the kinds that go to the
# user's own places are taken; a file that already lies at its project place
# is taken as it stands. Saved, closed and opened again, the project has the
# same design and the same project file.
#
# The user template folder is a setting of the user's options file, read
# when the shell starts: the session runs in a shell started with it.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(IMPORT_SESSION)]} {
    write_file options "TEMPLATE_DIR = [file join [pwd] templates]\n"
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    exit [run_again IMPORT_SESSION 1]
}
proc members {} {
    save_project
    foreach line [split [read_file alu.prj] \n] {
        if {[string match {VALUE "*} $line]} { puts "  $line" }
    }
}

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u : entity work.mid port map (a, b);\nend;\n"
write_file src/mid.vhd "entity mid is port (a : in bit; b : out bit); end mid;\narchitecture rtl of mid is\nbegin\n  u1 : entity work.leaf port map (x => a, y => b);\nend rtl;\n"
write_file src/leaf.vhd "entity leaf is port (x : in bit; y : out bit); end entity;\narchitecture rtl of leaf is begin y <= x; end architecture;\n"
write_file src/PINS.VHD "entity pins is end;\narchitecture rtl of pins is begin end;\n"
write_file src/notes.txt "not HDL\n"
write_file src/run.do "run -all\n"
write_file src/ram.mem "00\n"
write_file src/page.1 "schematic\n"
write_file src/net.edn "(edif net)\n"
write_file src/wave.vcd "\$date today \$end\n"
write_file src/tools.ini "\[profiles\]\n"
write_file src/tb_top.vhd "entity tb_top is end;\narchitecture sim of tb_top is begin end;\n"
write_file src/counter.v "module counter; endmodule\n"

puts "--- without a project every kind with files is refused, but the user's templates"
foreach {kind name} {schematic page.1 hdl_source top.vhd stimulus tb_top.vhd edif net.edn vcd wave.vcd
                     simulation run.do modelsim_ini tools.ini templates counter.v} {
    try {import_files -$kind src/$name}
}
puts "  templates: [lsort [glob -nocomplain -tails -directory templates *]]"
puts "tool profiles and IP-core archives need no project, but a host to take them: a section of a profile file names a tool kind"
write_file src/tools.ini "\[profile\]\n"
write_file src/cores.qvz "archive\n"
try {import_files -profiles src/tools.ini}
try {import_files -qvz src/cores.qvz}
puts "the kind no longer offered says so (its replacement is named once a project is open)"
try {import_files -gate src/net.edn}

puts "--- a VHDL project; top, mid and leaf come from a folder outside it"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/leaf.vhd}}
puts "  copied: [lsort [glob -tails -directory hdl *]]"
puts "  the sources stay: [lsort [glob -tails -directory ../src *.vhd]]"
try {set_root top}
puts [dump_all_modules -tree true]
members

puts "--- a missing file and an extension of another kind fail the command; the others come in"
try {import_files -hdl_source {../src/nosuch.vhd ../src/notes.txt ../src/PINS.VHD}}
puts "  copied: [lsort [glob -tails -directory hdl *]]"
puts [dump_all_modules]

puts "--- other kinds: a simulation DO file gets its own type, a memory file its kind's"
try {import_files -simulation {../src/run.do ../src/ram.mem} -stimulus ../src/tb_top.vhd -gate ../src/net.edn}
members

puts "--- a file changed at its own project place is imported over itself: nothing asked, nothing lost"
write_file hdl/leaf.vhd "entity leaf is port (x : in bit; y : out bit); end entity;\narchitecture rtl of leaf is begin y <= not x; end architecture;\n"
set before [read_file hdl/leaf.vhd]
try {import_files -hdl_source hdl/leaf.vhd}
puts "  content kept: [expr {[read_file hdl/leaf.vhd] eq $before}]"
puts "another file of the same name replaces the project copy (the question is answered)"
try {import_files -hdl_source ../src/leaf.vhd}
puts "  the copy is the source's again: [expr {[read_file hdl/leaf.vhd] eq [read_file ../src/leaf.vhd]}]"

puts "--- a template goes to the user's template folder; one that cannot be written fails"
try {import_files -templates ../src/counter.v}
file mkdir ../templates/tb_top.vhd
try {import_files -templates {../src/tb_top.vhd ../src/counter.v}}
puts "  templates: [lsort [glob -tails -directory ../templates *]]"

puts "--- saved, closed and opened again: the same design and the same project file"
set tree [dump_all_modules -tree true]
set flat [dump_all_modules -verbose]
save_project
set saved [read_file alu.prj]
try {close_project}
try {open_project alu.prj}
puts "  tree: [expr {[dump_all_modules -tree true] eq $tree ? {the same} : {differs}}]"
puts "  units: [expr {[dump_all_modules -verbose] eq $flat ? {the same} : {differs}}]"
save_project
puts "  project file: [expr {[read_file alu.prj] eq $saved ? {the same} : {differs}}]"

puts "--- a name that differs from a project file's only in letter case is refused; the first file stays"
write_file ../src/a/X.vhd "entity upper is end;\narchitecture rtl of upper is begin end;\n"
write_file ../src/b/x.vhd "entity lower is end;\narchitecture rtl of lower is begin end;\n"
try {import_files -hdl_source ../src/a/X.vhd}
try {import_files -hdl_source ../src/b/x.vhd}
try {close_project}
try {open_project alu.prj}
puts "  copied: [lsort [glob -tails -directory hdl *]]"
puts [dump_all_modules]
puts "a name holding a double quote is asked about and refused"
write_file {../src/say"hi.vhd} "entity hi is end;\narchitecture rtl of hi is begin end;\n"
try {import_files -hdl_source {../src/say"hi.vhd}}
puts "so is a name that holds <project> anywhere but at its start, which would be taken for the project folder"
write_file {../src/<project>.vhd} "entity tok is end;\narchitecture rtl of tok is begin end;\n"
try {import_files -hdl_source {../src/<project>.vhd}}
try {close_project}
