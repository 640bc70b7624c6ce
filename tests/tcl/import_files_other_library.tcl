# A file of the library lib2 imported again while the library "work" holds
# no unit: the units the file no longer defines leave the design, the root
# among them, as they leave it when "work" holds units; the project saved
# at once is the project saved after an open (a save, an open and a save
# give the same file).
source [file join [file dirname [info script]] lib scenario.tcl]

proc show {} {
    puts [dump_all_modules -tree true]
    save_project
    foreach line [split [read_file alu.prj] \n] {
        if {[string match "KEY ActiveRoot *" $line]} { puts "  $line" }
    }
}

write_file src/core.vhd [vhdl_unit core leaf]
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
puts "--- core.vhd, defining core, goes to lib2: core of lib2 is the root"
try {import_files -hdl_source ../src/core.vhd}
try {add_file_to_library -library lib2 -file hdl/core.vhd}
show
puts "--- core.vhd, edited to define other, is imported again: core leaves the design"
write_file ../src/core.vhd [vhdl_unit other ""]
try {import_files -hdl_source ../src/core.vhd}
show
round_trip
show
puts "--- and again, defining core: core comes back"
write_file ../src/core.vhd [vhdl_unit core ""]
try {import_files -hdl_source ../src/core.vhd}
show
round_trip
try {close_project}
