# import_files copies the schematic editor's netlist (the "wir" folder beside
# a schematic's "sch" folder) into the project with the schematic. A
# symbolic link at the netlist's project place gives way to the project's
# own copy: the file it pointed to, outside the project, stays as it was.
# The project's simulator set-up (modelsim.ini) is another matter: a link
# there is commonly the user's choice, a set-up shared on purpose, and an
# import writes it where the link points, as the simulator itself would.
source [file join [file dirname [info script]] lib scenario.tcl]
proc show {name} {
    puts "  $name: [file type $name], [string trim [lindex [split [read_file $name] \n] 0]]"
}

write_file src/sch/page.1 "schematic\n"
write_file src/wir/page.1 "netlist of page\n"
write_file src/sch/mux.1 "schematic mux\n"
write_file src/wir/mux.1 "netlist of mux\n"
write_file outside/page.1 "somebody else's netlist\n"
write_file shared/modelsim.ini "\[library\]\nshared\n"
write_file src/modelsim.ini "\[library\]\nmine\n"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu

puts "--- a link at the netlist's project place, to a file outside the project"
file mkdir viewdraw/wir
file link -symbolic viewdraw/wir/page.1 [file normalize ../outside/page.1]
try {import_files -schematic ../src/sch/page.1}
show viewdraw/sch/page.1
show viewdraw/wir/page.1
show ../outside/page.1

puts "--- a link there to the very netlist imported: nothing to copy, the link stays"
file link -symbolic viewdraw/wir/mux.1 [file normalize ../src/wir/mux.1]
try {import_files -schematic ../src/sch/mux.1}
show viewdraw/wir/mux.1
show ../src/wir/mux.1

puts "--- imported again over its own copy: the copy is written, the source stays"
write_file ../src/wir/page.1 "netlist of page, second\n"
try {import_files -schematic ../src/sch/page.1}
show viewdraw/wir/page.1
show ../outside/page.1

puts "--- saved and opened again: the schematics are members, the netlists beside them"
try {close_project}
try {open_project alu.prj}
try {save_project}
foreach line [split [read_file alu.prj] \n] { if {[string match {VALUE "*} $line]} { puts "  $line" } }
show viewdraw/wir/page.1

puts "--- the simulator set-up linked to a shared one: the link is kept, the shared file written"
file delete simulation/modelsim.ini
file link -symbolic simulation/modelsim.ini [file normalize ../shared/modelsim.ini]
try {import_files -modelsim_ini ../src/modelsim.ini}
puts "  simulation/modelsim.ini: [file type simulation/modelsim.ini]"
puts "  shared: [lindex [split [read_file ../shared/modelsim.ini] \n] 1]"
try {close_project -save false}
