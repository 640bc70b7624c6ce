# The journal (quorlane -journal file) holds every command the script ran,
# as Tcl, with the values it ran with: files given by name, lists of them,
# libraries and the root; one that failed in its work (it may have changed
# the project) inside catch, one refused before it began not at all.
# Sourced by a new shell, it makes the same project again.
source [file join [file dirname [info script]] lib scenario.tcl]
write_file src/top.vhd "entity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u : entity work.mid port map (a, b);\nend;\n"
write_file src/mid.vhd "entity mid is port (a : in bit; b : out bit); end;\narchitecture rtl of mid is begin b <= a; end;\n"
write_file "src/my tb.vhd" "entity tb is end;\narchitecture rtl of tb is begin end;\n"
set shell [info nameofexecutable]

write_file src/extra.vhd "entity extra is end;\narchitecture rtl of extra is begin end;\n"

puts "--- a session that makes a project, with the journal on; a command refused is not written, one that failed half-way is"
catch {exec $shell -journal journal.tcl -c {
    new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100
    import_files -hdl_source {src/top.vhd src/mid.vhd} -stimulus {{src/my tb.vhd}}
    catch {set_root}
    catch {import_files -hdl_source {src/extra.vhd src/nosuch.vhd}}
    add_library -library dsp
    add_file_to_library -library dsp -file alu/hdl/mid.vhd
    set_root -module top
    close_project
} 2>@1} output
puts $output
puts [read_file journal.tcl]
set made [read_file alu/alu.prj]

puts "--- a new shell sources the journal into an empty folder: the same project"
file delete -force alu
catch {exec $shell -c {source journal.tcl; open_project alu/alu.prj; puts [dump_all_modules -tree true]; close_project} 2>@1} output
puts $output
puts "project file: [expr {[read_file alu/alu.prj] eq $made ? {the same} : {different}}]"

puts "--- names typed relative to the folder the commands ran in are written whole: sourced from elsewhere, they name the same files"
write_file src/run.do "run -all\n"
file delete journal.tcl
catch {exec $shell -journal journal.tcl -c {
    new_project -location sim -name sim -hdl VHDL -family ZX3 -die zx3_10 -package tq100
    import_files -simulation src/run.do
    cd sim
    set_modelsim_options -use_automatic_do_file false -user_do_file simulation/run.do
    save_project_as -location ../sim_copy -name copy -files project
    set_modelsim_options -user_do_file ""
    cd ..
    close_project
} 2>@1} output
puts $output
puts [lsearch -all -inline [split [read_file journal.tcl] \n] {*-user_do_file*}]
puts [lsearch -all -inline [split [read_file journal.tcl] \n] {save_project_as*}]
file delete -force sim sim_copy
file mkdir elsewhere
catch {exec $shell -c {cd elsewhere; source ../journal.tcl} 2>@1} output
puts $output
puts "the copy is where the session made it: [file exists sim_copy/copy.prj]"
puts "its DO file: [lsearch -inline [split [read_file sim/sim.prj] \n] DoFileName=*] (the copy's: [lsearch -inline [split [read_file sim_copy/copy.prj] \n] DoFileName=*])"
