# export_as_link copies a project file out of the project folder and links
# it: a place inside the project folder is refused, also when it is reached
# through a symbolic link to a folder of the project, or to the project
# itself. The file stays the project's own.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options LINKS_SESSION "IDE_LINKING_ENABLED = 1\n"

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is begin end;\n"
write_file src/low.vhd "entity low is end;\narchitecture rtl of low is begin end;\n"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
try {import_files -hdl_source {src/top.vhd src/low.vhd}}
set here [pwd]
file link -symbolic hdlview $here/alu/hdl
file link -symbolic aluview $here/alu

puts "--- places inside the project folder are refused"
try {export_as_link -file alu/hdl/top.vhd -path alu/stimulus/top.vhd}
try {export_as_link -file alu/hdl/top.vhd -path alu/top.vhd}
try {export_as_link -file alu/hdl/low.vhd -path hdlview/low2.vhd}
try {export_as_link -file alu/hdl/low.vhd -path aluview/new/low.vhd}
puts "  on disk: [lsort [glob -tails -directory alu -types f */*.vhd *.vhd]]"
show_hdl_members

puts "--- a place outside is taken: the file is copied there and linked"
try {export_as_link -file alu/hdl/low.vhd -path published/low.vhd}
show_hdl_members
puts [dump_all_modules -tree true]

puts "--- saved and opened again"
show_reopened
try {close_project -save false}
