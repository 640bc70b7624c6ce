# The project and its core workspace (alu/kiltora/kiltora.aws) agree on the
# cores at every step: a core described anew from another place, two cores
# that share a source, a project copied or moved, a workspace file that
# cannot be written, a core renamed in its description. Each step shows the
# project's members, the workspace's cores, and both again after the
# project is closed and opened.
#
# Cores are a setting of the user's options file, read when the shell
# starts: the session runs in a shell started with it.
source [file join [file dirname [info script]] lib scenario.tcl]
source [file join [file dirname [info script]] lib core_text.tcl]
with_options CORES_SESSION "IDE_VEYRUN_ENABLED = 1\n"
# The cores of the workspace file of the project in `folder`, each with its
# definition as the file keeps it.
proc show_workspace {{folder alu}} {
    set cores 0
    foreach line [split [read_file $folder/kiltora/kiltora.aws] \n] {
        if {[regexp {<component .*name="([^"]*)".*definition="([^"]*)"} $line -> name definition]} {
            puts "  core $name: $definition"
            incr cores
        }
    }
    if {!$cores} { puts "  no core" }
}
proc fresh {} {
    catch {close_project -save false}
    file delete -force alu lib copy moved
    new_project -location alu -name alu -hdl VERILOG -family ZX3 -die zx3_10 -package tq100
}
proc members_and_workspace {} {
    show_members
    show_workspace
}
proc reopened {} {
    close_project
    try {open_project alu/alu.prj}
    puts "opened again:"
    members_and_workspace
}

puts "--- a core described anew from another place: its former description leaves the project"
fresh
write_file lib/ram/ram.cxf [core_text ram {ram.v}]
write_file lib/ram/ram.v "module ram; endmodule\n"
write_file lib/ram2/ram.cxf [core_text ram {ram.v ram2.v}]
write_file lib/ram2/ram.v "module ram; endmodule\n"
write_file lib/ram2/ram2.v "module ram2; endmodule\n"
try {import_files -cxf lib/ram/ram.cxf}
try {import_files -cxf lib/ram2/ram.cxf}
members_and_workspace
reopened
puts [dump_all_modules]
puts "the core leaves with its description, for good"
try {delete_files -file lib/ram2/ram.cxf}
members_and_workspace
reopened

puts "--- two cores that share a source: opening changes nothing on disk"
fresh
write_file lib/z/zcore.cxf [core_text zcore {shared.v}]
write_file lib/z/shared.v "module shared; endmodule\n"
write_file lib/a/acore.cxf [core_text acore {shared.v}]
write_file lib/a/shared.v "module shared; endmodule\n"
try {import_files -cxf lib/z/zcore.cxf}
try {import_files -cxf lib/a/acore.cxf}
close_project
set before [read_file alu/kiltora/kiltora.aws]
try {open_project alu/alu.prj}
puts "  the workspace file after the open: [expr {$before eq [read_file alu/kiltora/kiltora.aws] ? {the same} : {changed}}]"
show_workspace
puts "one core deleted: the other stays, and the deleted one does not come back"
try {delete_files -file lib/z/zcore.cxf}
members_and_workspace
reopened

puts "--- a core inside the project folder, the project saved under another name"
fresh
write_file alu/component/work/fifo/fifo.cxf [core_text fifo {fifo.v}]
write_file alu/component/work/fifo/fifo.v "module fifo; endmodule\n"
try {import_files -cxf alu/component/work/fifo/fifo.cxf}
show_workspace
try {save_project_as -location copy -name copy}
close_project
puts "the original moved away: the copy works with its own core"
file rename alu gone
try {open_project copy/copy.prj}
puts [dump_components]
save_project
foreach line [split [read_file copy/copy.prj] \n] { if {[string match {VALUE "*} $line]} { puts "  $line" } }
show_workspace copy
close_project
file delete -force copy gone

puts "--- a workspace file that names the project's cores in full, the project moved"
fresh
write_file alu/component/work/fifo/fifo.cxf [core_text fifo {fifo.v}]
write_file alu/component/work/fifo/fifo.v "module fifo; endmodule\n"
try {import_files -cxf alu/component/work/fifo/fifo.cxf}
close_project
set text [read_file alu/kiltora/kiltora.aws]
write_file alu/kiltora/kiltora.aws [string map [list {"../} "\"[file normalize alu]/"] $text]
show_workspace
file rename alu moved
try {open_project moved/alu.prj}
puts [dump_components]
show_workspace moved
close_project
file delete -force moved

puts "--- a workspace file that cannot be written: the core stays in the project and in the workspace"
fresh
write_file lib/ram/ram.cxf [core_text ram {ram.v}]
write_file lib/ram/ram.v "module ram; endmodule\n"
try {import_files -cxf lib/ram/ram.cxf}
file rename alu/kiltora/kiltora.aws kept.aws
file mkdir alu/kiltora/kiltora.aws/in_the_way
try {delete_files -file lib/ram/ram.cxf}
show_members
file delete -force alu/kiltora/kiltora.aws
file rename kept.aws alu/kiltora/kiltora.aws
show_workspace
reopened
puts "written again, the core goes"
try {delete_files -file lib/ram/ram.cxf}
members_and_workspace
reopened

puts "--- a core renamed in its description and imported again: one core, which goes with its description"
fresh
write_file lib/ram/ram.cxf [core_text ram {ram.v}]
write_file lib/ram/ram.v "module ram; endmodule\n"
try {import_files -cxf lib/ram/ram.cxf}
write_file lib/ram/ram.cxf [core_text ram2 {ram.v}]
try {import_files -cxf lib/ram/ram.cxf}
members_and_workspace
try {delete_files -file lib/ram/ram.cxf}
members_and_workspace
reopened
try {close_project -save false}
