# An option whose value was left out is refused, also when another option of
# the command follows it: that option is not taken for the value (a dump
# written to a file named "-verbose", a project named "-hdl"). A value that
# merely starts with "-" is still a value.
source [file join [file dirname [info script]] lib scenario.tcl]
write_file src/top.vhd "entity top is end;\narchitecture rtl of top is begin end;\n"

puts "--- new_project: the name left out, then the location"
try {new_project -location alu -name -hdl VHDL -family ZX3}
try {new_project -location -name alu -hdl VHDL -family ZX3}
puts "folders made: [glob -nocomplain -type d *]"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
try {import_files -hdl_source src/top.vhd}

puts "--- a dump's file left out: nothing is written, the switch is not lost"
try {dump_all_modules -file -verbose}
try {dump_all_modules -library -tree true}
puts "files named like an option: [glob -nocomplain -- -*]"

puts "--- the other commands alike"
try {set_root -module -module}
try {add_library -library -library}
try {close_project -save -save}
try {save_project_as -location -name copy}
try {set_modelsim_options -sim_runtime -type max}
puts "the project is still open: [expr {[catch save_project] == 0}]"

puts "--- a value that starts with \"-\" and names no option of the command is taken"
try {set_modelsim_options -add_vsim_options -novopt}
try {add_library -library -dsp}
try {dump_all_modules -library -dsp}
save_project
puts [lsearch -all -inline [split [read_file alu/alu.prj] \n] *novopt*]

puts "--- open_project: the file left out, named alone, or with its option"
try {close_project}
try {open_project -file}
try {open_project alu/alu.prj}
try {close_project}
try {open_project -file alu/alu.prj}
