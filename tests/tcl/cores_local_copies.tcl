# A core's simulation files come into the project as copies in its
# simulation folder. A file of the project already at a copy's place that
# the core did not put there -- the user's own, another core's copy -- is
# neither overwritten nor taken into the core, at the import, when the core
# changes on disk and is taken again, at a refresh and after the project is
# opened again; the core says so. The core's own copy follows its core.
#
# Cores and the pace of the file checks are settings of the user's options
# file, read when the shell starts: the session runs in a shell started
# with them.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options CORES_SESSION "IDE_VEYRUN_ENABLED = 1\nIDE_TIMER_INTERVAL = 20\n"
# What the project's simulation files hold.
proc copies {} {
    foreach name [lsort [glob -tails -directory alu/simulation *.mem]] {
        puts "  $name: [string trim [read_file alu/simulation/$name]]"
    }
}
# A Verilog core named `name` whose simulation set holds the files `mems`.
proc core_text {name mems} {
    set files ""
    foreach mem $mems { append files "<file><name>$mem</name><location>sim</location></file>" }
    return [join [list {<?xml version="1.0"?>} \
        "<Component><vendor>v</vendor><library>l</library><name>$name</name><version>1.0</version>" \
        {<vendorExtension><coreType>UserIP</coreType><hdlFormat>Verilog</hdlFormat></vendorExtension>} \
        {<hwModel><views><view><name>rtl</name><fileSetRef>HDL_FILESET</fileSetRef>} \
        {<fileSetRef>ANY_SIMULATION_FILESET</fileSetRef></view></views></hwModel>} \
        "<fileSets><fileSet fileSetId=\"HDL_FILESET\"><file><name>$name.v</name></file></fileSet>" \
        "<fileSet fileSetId=\"ANY_SIMULATION_FILESET\">$files</fileSet></fileSets></Component>"] \n]\n
}
write_file lib/c1/c1.cxf [core_text c1 {init.mem c1.mem}]
write_file lib/c1/c1.v "module c1; endmodule\n"
write_file lib/c1/sim/init.mem "core c1 init\n"
write_file lib/c1/sim/c1.mem "core c1 data\n"
write_file lib/c2/c2.cxf [core_text c2 {c1.mem c2.mem}]
write_file lib/c2/c2.v "module c2; endmodule\n"
write_file lib/c2/sim/c1.mem "core c2 data\n"
write_file lib/c2/sim/c2.mem "core c2 own\n"
write_file src/init.mem "user data\n"

new_project -location alu -name alu -hdl VERILOG -family ZX3 -die zx3_10 -package tq100
try {import_files -simulation src/init.mem}

puts "--- the core's init.mem would land on the user's: the user's stays, out of the core"
try {import_files -cxf lib/c1/c1.cxf}
show_members
copies

puts "--- a second core's c1.mem would land on the first core's copy: it stays the first core's"
try {import_files -cxf lib/c2/c2.cxf}
show_members
copies

puts "--- both cores change on disk: taken again, each own copy follows its core, the others' stay"
write_file lib/c1/sim/c1.mem "core c1 data v2\n"
write_file lib/c1/c1.cxf "[core_text c1 {init.mem c1.mem}]<!-- v2 -->\n"
write_file lib/c2/sim/c2.mem "core c2 own v2\n"
write_file lib/c2/c2.cxf "[core_text c2 {c1.mem c2.mem}]<!-- v2 -->\n"
file mtime lib/c1/c1.cxf [expr {[clock seconds] + 5}]
file mtime lib/c2/c2.cxf [expr {[clock seconds] + 5}]
wait_for_checks 200
show_members
copies

puts "--- a refresh changes nothing of it"
try {refresh}
show_members
copies

puts "--- saved, closed and opened again, the same"
try {close_project}
try {open_project alu/alu.prj}
show_members
copies

puts "--- without c1, the user's file stays in the project, c1's copy goes"
try {delete_files -file lib/c1/c1.cxf}
show_members
copies
