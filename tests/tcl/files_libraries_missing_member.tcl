# A member whose file was deleted on disk, before the project learns of it,
# in the library and link commands. add_file_to_library cannot read the
# file's units in the new library: it says why, answers 1 and leaves that
# member as it was, while the other files it names still move. A renamed or
# removed library takes the member along and says that its units could not
# be read again. unlink has nothing to copy and says so; change_link_source
# points the member at a file that is there and reads it. No command lets
# the member leave the project.
source [file join [file dirname [info script]] lib scenario.tcl]

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is\nbegin\n  u : entity work.leaf;\n  v : entity work.mid;\nend;\n"
write_file src/leaf.vhd "entity leaf is end;\narchitecture rtl of leaf is begin end;\n"
write_file src/mid.vhd "entity mid is end;\narchitecture rtl of mid is begin end;\n"
write_file outside/lnk.vhd "entity lnk is end;\narchitecture rtl of lnk is begin end;\n"

# The members as the saved project file lists them, each with its library
# when it is not "work".
proc members {} {
    save_project
    set out {}
    foreach line [split [read_file alu.prj] \n] {
        if {[regexp {^VALUE "([^,]+),hdl"} $line -> name]} { lappend out [file tail $name] }
        if {[regexp {^LIBRARY="(.*)"} $line -> library]} { lset out end "[lindex $out end] ($library)" }
    }
    puts "  members: [join $out {, }]"
}

try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/leaf.vhd ../src/mid.vhd}}
try {create_links -hdl_source ../outside/lnk.vhd}
try {add_library -library lib9}
file delete hdl/leaf.vhd

puts "--- add_file_to_library: the missing file stays where it was, the file beside it moves"
try {add_file_to_library -library lib9 -file hdl/leaf.vhd -file hdl/mid.vhd}
puts [dump_all_modules -tree true]
members
puts "the same file alone, in the library it is in already: nothing to do"
try {add_file_to_library -library work -file hdl/leaf.vhd}

puts "--- the file back on disk, it moves"
write_file hdl/leaf.vhd "entity leaf is end;\narchitecture rtl of leaf is begin end;\n"
try {add_file_to_library -library lib9 -file hdl/leaf.vhd}
members
file delete hdl/leaf.vhd

puts "--- rename_library: the library takes its new name, the missing member goes along"
try {rename_library -library lib9 -name lib8}
puts [dump_all_modules -tree true]
members

puts "--- remove_library: its files go back to work, the missing member too"
try {remove_library -library lib8}
puts [dump_all_modules -tree true]
members

puts "--- unlink of a link whose file is gone: nothing to copy"
file rename ../outside/lnk.vhd ../outside/lnk.sav
try {unlink -file ../outside/lnk.vhd}
puts "  a copy made: [file exists hdl/lnk.vhd]"
members

puts "--- change_link_source points the member at a file that is there, and reads it"
file copy ../outside/lnk.sav ../outside/lnk2.vhd
try {change_link_source -file ../outside/lnk.vhd -path ../outside/lnk2.vhd}
puts [dump_all_modules]
members

puts "--- the file back on disk, the project opened again holds every member"
write_file hdl/leaf.vhd "entity leaf is end;\narchitecture rtl of leaf is begin end;\n"
try {close_project}
try {open_project alu.prj}
puts [dump_all_modules -tree true]
members
try {close_project -save false}
