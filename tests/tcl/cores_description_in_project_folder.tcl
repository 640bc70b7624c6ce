# A user keeps a core description beside the project file (alu/loose.cxf)
# and its source beside it, with files of their own in the project folder
# that are no members. The core is a member, and stays one through a close
# and an open; a core that the workspace file lists but the project does
# not (the workspace written by another tool) joins the project at the
# open. A copy of the project with its sources or its member files takes
# each description with the files it lists, not the whole project folder;
# the project kept is left as it was.
#
# Cores are a setting of the user's options file, read when the shell
# starts: the session runs in a shell started with it.
source [file join [file dirname [info script]] lib scenario.tcl]
source [file join [file dirname [info script]] lib core_text.tcl]
with_options CORES_SESSION "IDE_VEYRUN_ENABLED = 1\n"
# The files below a folder, with a checksum of each.
proc sums {folder} {
    set out {}
    foreach file [lsort [exec find $folder -type f]] { lappend out [lindex [exec md5sum $file] 0] $file }
    return $out
}
proc files_below {folder} {
    foreach file [lsort [exec find $folder -type f]] { puts "  $file" }
}
# The cores of the workspace file, each with its definition as kept.
proc show_workspace {} {
    foreach line [split [read_file alu/kiltora/kiltora.aws] \n] {
        if {[regexp {<component .*name="([^"]*)".*definition="([^"]*)"} $line -> name definition]} {
            puts "  core $name: $definition"
        }
    }
}

puts "--- a core described beside the project file, and files of the user's that are no members"
try {new_project -location alu -name alu -hdl VERILOG -family ZX3 -die zx3_10 -package tq100}
write_file src/top.v "module top; loose u(); endmodule\n"
try {import_files -hdl_source src/top.v}
write_file alu/loose.cxf [core_text loose {loose.v}]
write_file alu/loose.v "module loose; endmodule\n"
write_file alu/hdl/scratch.vhd "-- a sketch, no source of the project\n"
write_file alu/notes.txt "the user's notes\n"
try {import_files -cxf alu/loose.cxf}
show_members
show_workspace

puts "--- closed and opened, the same members"
try {close_project}
try {open_project alu/alu.prj}
show_members

puts "--- a core the workspace file lists but the project does not joins the project at the open"
try {close_project}
write_file alu/extra.cxf [core_text extra {extra.v}]
write_file alu/extra.v "module extra; endmodule\n"
set text [read_file alu/kiltora/kiltora.aws]
set line {  <component kind="10" state="0" name="extra" library="work" package="" definition="../extra.cxf" ixf="" family="" die="" devicePackage=""/>}
write_file alu/kiltora/kiltora.aws [string map [list "</workspace>" "$line\n</workspace>"] $text]
try {open_project alu/alu.prj}
show_members
show_workspace
try {close_project}
try {open_project alu/alu.prj}
puts "opened again, the same members:"
show_members
try {close_project}
set before [sums alu]

foreach filter {sources project} {
    puts "--- a copy with the $filter files: the descriptions with their sources, not the user's other files"
    try {open_project alu/alu.prj}
    try {save_project_as -location copies/$filter -name alu_$filter -files $filter}
    files_below copies/$filter
    puts "the copy opens with both cores:"
    puts [dump_all_modules]
    try {close_project}
    puts "  the project kept is as it was: [expr {[sums alu] eq $before ? {yes} : {no}}]"
}

puts "--- a copy with all files takes the user's files too"
try {open_project alu/alu.prj}
try {save_project_as -location copies/all -name alu_all -files all}
files_below copies/all
try {close_project}
puts "  the project kept is as it was: [expr {[sums alu] eq $before ? {yes} : {no}}]"
