# project_settings: the project's HDL and its flow switches. A run without
# arguments changes nothing; a change is written when the project is next
# saved; the two set-up file switches decide whether opening the project
# rewrites the simulator's and the schematic editor's files.
source [file join [file dirname [info script]] lib scenario.tcl]

try {project_settings}
puts "--- a new project: no argument changes nothing"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
set before [read_file alu/alu.prj]
try {project_settings}
try {save_project}
puts "project file unchanged: [expr {$before eq [read_file alu/alu.prj]}]"
show_list GlobalFlowOptions

puts "--- switches changed, then saved"
try {project_settings -block_mode true -auto_file_detection false -auto_run_drc TRUE -auto_generate_synth_hdl 1}
puts "written before the save: [expr {$before ne [read_file alu/alu.prj]}]"
try {save_project}
show_list GlobalFlowOptions
try {project_settings -block_mode maybe}
try {project_settings -colour blue}

puts "--- the HDL of the project; the simulator's file maps the family's library of the new language at once"
proc family_mapping {} { puts "  [lsearch -inline [split [read_file alu/simulation/modelsim.ini] \n] {zx3 = *}]" }
family_mapping
try {project_settings -hdl verilog}
family_mapping
try {save_project}
puts [lsearch -all -inline [split [read_file alu/alu.prj] \n] {KEY *Type*}]
puts [lsearch -all -inline [split [read_file alu/alu.prj] \n] {KEY HDL*}]

puts "--- the simulator's file is the user's while its switch is off"
try {project_settings -auto_update_modelsim_ini false -auto_update_viewdraw_ini false}
write_file alu/simulation/modelsim.ini "\[Library\]\nmine = /home/me/mine\n"
file delete alu/viewdraw/vf/project.lst
try {close_project}
try {open_project alu/alu.prj}
puts [read_file alu/simulation/modelsim.ini]
puts "project list written again: [file exists alu/viewdraw/vf/project.lst]"
puts "a change of language leaves it alone too"
try {project_settings -hdl vhdl}
puts [read_file alu/simulation/modelsim.ini]
puts "--- turned on again, it is brought up to date at once"
try {project_settings -auto_update_modelsim_ini true}
puts [read_file alu/simulation/modelsim.ini]
try {close_project}
