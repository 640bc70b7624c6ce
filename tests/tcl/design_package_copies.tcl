# A file defining a VHDL package is copied into the project's "package"
# folder when it is read. A project whose own source lies there under the
# same title (older projects kept their packages there) keeps that source
# as it is: another package file of that title is not copied over it.
source [file join [file dirname [info script]] lib scenario.tcl]

new_project -location [pwd]/alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100

puts "--- a package file read is copied into the package folder"
write_file shared/types.vhd "package types is\n constant width : integer := 8;\nend package;\n"
try { create_links -hdl_source [file join [pwd] shared types.vhd] }
puts "  package/types.vhd: [string trim [lindex [split [read_file alu/package/types.vhd] \n] 0]]"

puts "--- a source of the project in the package folder stays the user's"
write_file alu/package/pk.vhd "package pa is\n constant c : integer := 1;\nend package;\n"
write_file elsewhere/pk.vhd "package pb is\n constant c : integer := 22;\nend package;\n"
try { create_links -hdl_source [file join [pwd] alu package pk.vhd] }
try { create_links -hdl_source [file join [pwd] elsewhere pk.vhd] }
puts "  package/pk.vhd: [string trim [lindex [split [read_file alu/package/pk.vhd] \n] 0]]"
puts [dump_all_modules]

puts "--- and so it stays when the project opens again and is read anew"
close_project
open_project alu/alu.prj
refresh
puts "  package/pk.vhd: [string trim [lindex [split [read_file alu/package/pk.vhd] \n] 0]]"
puts [dump_all_modules]
close_project
