# import_files onto a project place that is a symbolic link: a file outside
# the project folder is never written by an import. The link (a member, or
# put there by hand) gives way to the project's own copy; the file it
# pointed to stays as it was.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options LINKS_SESSION "IDE_LINKING_ENABLED = 1\n"
proc show {name} {
    puts "  $name: [file type $name], [string trim [lindex [split [read_file $name] \n] 0]]"
}

write_file outside/leaf.vhd "entity leaf is end;\narchitecture rtl of leaf is begin end;\n"
write_file outside/low.vhd "entity low is end;\narchitecture rtl of low is begin end;\n"
write_file other/leaf.vhd "entity leaf2 is end;\narchitecture rtl of leaf2 is begin end;\n"
write_file other/low.vhd "entity low2 is end;\narchitecture rtl of low2 is begin end;\n"
write_file other/gone.vhd "entity gone is end;\narchitecture rtl of gone is begin end;\n"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
file mkdir hdl
set outside [file normalize ../outside]

puts "--- a member of the project that is a link to a file outside"
file link -symbolic hdl/leaf.vhd $outside/leaf.vhd
try {import_files -hdl_source hdl/leaf.vhd}
show hdl/leaf.vhd
puts "another leaf.vhd imported over it: the link is replaced, its file stays"
try {import_files -hdl_source ../other/leaf.vhd}
show hdl/leaf.vhd
show ../outside/leaf.vhd

puts "--- a link put at a project place by hand, and one that points at nothing"
file link -symbolic hdl/low.vhd $outside/low.vhd
exec ln -s $outside/nosuch.vhd hdl/gone.vhd
try {import_files -hdl_source {../other/low.vhd ../other/gone.vhd}}
show hdl/low.vhd
show hdl/gone.vhd
show ../outside/low.vhd
puts "  the outside folder: [lsort [glob -tails -directory ../outside *]]"
puts [dump_all_modules -tree true]

puts "--- saved and opened again: the members are the project's own files"
try {close_project}
try {open_project alu.prj}
puts [dump_all_modules -tree true]
try {save_project}
foreach line [split [string trim [read_file alu.prj]] \n] { puts "  $line" }
try {close_project -save false}
