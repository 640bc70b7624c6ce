# set_modelsim_options and set_user_lib_options: the simulation options and
# the simulator's view of a design library. Options given are checked as
# they are typed; a change is written when the project is next saved.
source [file join [file dirname [info script]] lib scenario.tcl]

try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
puts "--- a new project's simulation options"
show_list SimulationOptions

puts "--- the simulator's time resolution"
foreach resolution {ns 1ns 10ps 100us sec " 1ns" 5ns 1000ns 0ns "1 ns" "1ns " NS 10s ""} {
    puts -nonewline "'$resolution': "
    try {set_modelsim_options -resolution $resolution}
}
puts "a line break in front is refused as any other text of more than one line; the project still saves"
try {set_modelsim_options -resolution "\n1ns"}
try {save_project}
puts "--- SDF delays and DO files"
try {set_modelsim_options -type typ}
try {set_modelsim_options -type fast}
try {set_modelsim_options -user_do_file missing.do}
write_file alu/simulation/run.do "run -all\n"
try {set_modelsim_options -use_automatic_do_file false -user_do_file alu/simulation/run.do}
try {set_modelsim_options -include_do_file true -included_do_file alu/simulation/wave.do}
try {set_modelsim_options -add_vsim_options "-t ps\n-novopt"}
try {set_modelsim_options -add_vsim_options "-t ps\x1a"}

puts "--- the run time, a test bench and waveforms of the design"
try {set_modelsim_options -sim_runtime 5us -tb_module_name tb_alu -display_dut_wave DUT}
try {set_modelsim_options -tb_module_name "tb\x1b\[0m"}
try {set_modelsim_options -sim_runtime 5us -tb_module_name tb_alu -display_dut_wave TRUE -dump_vcd 1}
try {save_project}
show_list SimulationOptions
try {set_modelsim_options -user_do_file ""}
try {save_project}
show_list SimulationOptions

puts "--- the DO file is kept with its full path: the project opened from another folder still finds it"
try {set_modelsim_options -user_do_file alu/simulation/run.do}
try {save_project}
try {close_project}
file mkdir elsewhere
cd elsewhere
try {open_project ../alu/alu.prj}
set stored [string range [lsearch -inline [split [read_file ../alu/alu.prj] \n] DoFileName=*] 11 end]
puts "  $stored: [expr {[file exists $stored] ? {there} : {missing}}]"
cd ..

puts "--- a copy runs its own DO file, and so does a project moved elsewhere; one from outside the project stays"
proc do_files {project} {
    foreach line [lsearch -all -inline [split [read_file $project] \n] DoFileName*] { puts "  $line" }
}
write_file shared/wave.do "add wave /*\n"
try {set_modelsim_options -include_do_file true -included_do_file shared/wave.do}
try {save_project_as -location "copy of alu" -name beta}
do_files "copy of alu/beta.prj"
try {close_project}
file rename "copy of alu" "moved alu"
try {open_project "moved alu/beta.prj"}
do_files "moved alu/beta.prj"
puts "a copy without the project's files runs the original's"
try {save_project_as -location empty -name gamma -files none}
do_files empty/gamma.prj

puts "--- a design library of the project"
try {close_project}
write_file alu/alu.prj [string map [list "LIST FileManager\n" \
    "LIST LIBRARIES\nmylib\nENDLIST\nLIST LIBRARY_mylib\nALIAS=mylib\nCOMPILE_OPTION=COMPILE\nENDLIST\nLIST FileManager\n"] \
    [read_file alu/alu.prj]]
try {open_project alu/alu.prj}
show_list LIBRARY_mylib
try {set_user_lib_options -name mylib -path mylib -option compile}
try {set_user_lib_options -name MyLib -path /opt/libs/mylib -option refresh}
try {save_project}
show_list LIBRARY_mylib
try {set_user_lib_options -name otherlib -path /opt/libs/other -option refresh}
try {set_user_lib_options -name mylib -path /opt/libs/mylib -option sometimes}
try {set_user_lib_options -name mylib -option recompile}
puts "a path must be one line of printable text"
try {set_user_lib_options -name mylib -path "/opt/lib\x01" -option refresh}
puts "\"work\" takes no path or compile option of its own: only its present ones are taken"
try {set_user_lib_options -name work -path /opt/libs/work -option compile}
try {set_user_lib_options -name work -path work -option refresh}
try {set_user_lib_options -name work -path work -option compile}
try {save_project}
try {close_project}
try {open_project alu/alu.prj}
show_list LIBRARIES
show_list LIBRARY_mylib
try {close_project}
