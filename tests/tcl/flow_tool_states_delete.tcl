# The results of tool runs kept per file of a unit's view (a failed place
# and route of one netlist, a synthesis that made another) go with the file
# when it leaves the project: the project file keeps no result line for a
# file it no longer holds, and a new file of the same name imported later
# starts without a result. The results of the files still in the project
# stay, also through a save and an open. A file missing from disk when the
# project is opened is left out of the project, and its results with it.
#
# Results are kept per file where users choose the file a flow step works
# on, a setting of the user's options file read when the shell starts: the
# session runs in a shell started with it.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options RESULTS_SESSION "IDE_SELECT_FLOW_FILE_FEATURE_ENABLED = 1\n"

# The tool results of top's view Impl1, as the project file lists them.
proc results {} {
    save_project
    set lines [split [read_file alu.prj] \n]
    set from [lsearch -exact -start [lsearch -exact $lines {LIST "top::work"}] $lines {LIST Impl1}]
    set to [lsearch -exact -start $from $lines {LIST FlowOptions}]
    set shown 0
    foreach line [lrange $lines [expr {$from + 1}] [expr {$to - 1}]] {
        if {[string match ide*=State* $line]} { puts "  $line"; incr shown }
    }
    if {!$shown} { puts "  no tool result" }
}
# Puts the results `lines` into every block of top's view Impl1 in the
# project file, as the design environment writes them after its tool runs;
# the project must be closed meanwhile.
proc add_results {lines} {
    set text [read_file alu.prj]
    set text [string map [list "LIST Impl1\nSolvatoState=Post_Synthesis\n" \
        "LIST Impl1\nSolvatoState=Post_Synthesis\n[join $lines \n]\n"] $text]
    write_file alu.prj $text
}

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u : entity work.mid port map (a, b);\nend;\n"
write_file src/mid.vhd "entity mid is port (a : in bit; b : out bit); end mid;\narchitecture rtl of mid is begin b <= a; end rtl;\n"
write_file src/top.edn "(edif top (library work (cell top)) (design top (cellRef top (libraryRef work))))\n"
write_file src/top_fast.edn "(edif top_fast (library work (cell top)) (design top (cellRef top (libraryRef work))))\n"

puts "--- a VHDL project with two netlists of top; top's view works on top_fast.edn"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd} -edif {../src/top.edn ../src/top_fast.edn}}
try {use_file -file synthesis/top_fast.edn -module top -pallador_view Impl1}
results
try {close_project}

puts "--- after runs: place and route failed on top.edn, synthesis made top_fast.edn"
set failed {idePALLADOR(<project>/synthesis/top.edn,syn_edn)=StateFailure}
set made {ideSYNTHESIS(<project>/synthesis/top_fast.edn,syn_edn)=StateSuccess}
add_results [list $failed $made]
try {open_project alu.prj}
results

puts "--- top.edn deleted from the project and the disk: its failure goes, top_fast.edn's result stays"
try {delete_files -file synthesis/top.edn -from_disk}
results
puts "--- saved, closed and opened again: the same"
try {close_project}
try {open_project alu.prj}
results

puts "--- a new top.edn imported: it has no result of a run it never had"
write_file ../src/new/top.edn "(edif top (library work (cell top)) (design top (cellRef top (libraryRef work))) (comment new))\n"
try {import_files -edif ../src/new/top.edn}
results
puts "--- saved, closed and opened again: the same"
try {close_project}
try {open_project alu.prj}
results

puts "--- top.edn's failure again; top.edn missing from disk when the project is opened: it is left out with its failure"
try {close_project}
add_results [list $failed]
file rename synthesis/top.edn top.edn.away
try {open_project alu.prj}
results
puts "--- back on disk, not in the project: closed and opened again, no result line comes back"
file rename top.edn.away synthesis/top.edn
try {close_project}
try {open_project alu.prj}
results
try {close_project}
