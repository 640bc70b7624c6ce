# Names that hold characters beyond the first 65536 (emoji, mathematical
# letters) reach the project as typed: such a file is found and imported, a
# folder or a copy made for it on disk has the name the user typed, and the
# project reads back the same. A NUL character can be in no name or path:
# it is refused, and nothing is made in its place.
source [file join [file dirname [info script]] lib scenario.tcl]
write_file "src 😀/top𝔸.vhd" \
    "entity top is end;\narchitecture rtl of top is begin u : entity work.leaf; end;\n"
write_file "src 😀/leaf.vhd" "entity leaf is end;\narchitecture rtl of leaf is begin end;\n"
set project "alu 🚀"

puts "--- a project in a folder so named, with such a file"
try {new_project -location $project -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
try {import_files -hdl_source [list "src 😀/top𝔸.vhd" "src 😀/leaf.vhd"]}
try {set_root top}
puts [dump_all_modules -tree true]
puts "in the project folder: [lsort [glob -tails -directory $project *.prj hdl/*]]"
puts "read-only: [is_file_readonly -file "$project/hdl/top𝔸.vhd"]"

puts "--- a library so named, and the file moved into it"
try {add_library -library "lib𝔸"}
try {add_file_to_library -library "lib𝔸" -file "$project/hdl/leaf.vhd"}
puts [dump_all_modules -tree true]

puts "--- saved, closed and opened again: the same design"
try {close_project}
try {open_project "$project/alu.prj"}
puts [dump_all_modules -tree true]

puts "--- a NUL character in a name or a path is refused"
try {add_library -library "dsp\0x"}
try {set_root "top\0x"}
try {save_project_as -location "copy\0x" -name copy}
try {import_files -hdl_source {src/a.vhd src/b\0c.vhd}}
try {close_project}
try {new_project -location "b\0c" -name b -hdl VHDL -family ZX3}
try {open_project "$project/alu.prj\0x"}
puts "folders: [lsort [glob -type d *]]"
