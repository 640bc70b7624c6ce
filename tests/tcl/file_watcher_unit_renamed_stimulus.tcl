# A unit with a stimulus whose defining file, edited on disk while the
# project is open, no longer defines it (its entity renamed in the text,
# or the text replaced): the unit stays, without a file, where its parent
# still instantiates it, and keeps its stimulus. The stimulus steps of its
# views follow from the stimulus alone: they are saved at once, as an open
# of the project finds them (a save, an open and a save give the same
# file), whether the file watcher or refresh takes the edit. The file put
# back defines the unit again, and an edit of the stimulus itself while the
# unit stands without a file changes nothing of that.
#
# The pace of the checks is a setting of the user's options file, read when
# the shell starts: the session runs in a shell started with a short one.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options UNIT_RENAMED_STIMULUS_SESSION "IDE_TIMER_INTERVAL = 20\n"

# Writes a file on disk and moves its time ahead, as an editor's save
# within the same second would show.
proc edit_on_disk {name text seconds} {
    write_file $name $text
    file mtime $name [expr {[clock seconds] + $seconds}]
}
# The design, then the lines of the saved project file that open a unit's
# block or name its stimulus and the states of its stimulus steps; then the
# same after the project is closed and opened again, and whether the two
# saves wrote the same bytes.
proc show {} {
    puts [dump_all_modules -tree true]
    save_project
    set saved [read_file alu.prj]
    set lines [stimulus_lines $saved]
    foreach line $lines { puts "  $line" }
    close_project
    open_project alu.prj
    save_project
    set again [read_file alu.prj]
    if {[stimulus_lines $again] ne $lines} {
        puts "  after an open:"
        foreach line [stimulus_lines $again] { puts "  $line" }
    }
    puts "  saved, opened and saved again: [expr {$saved eq $again ? {the same file} : {a different file}}]"
}
proc stimulus_lines {text} {
    set shown {}
    foreach line [split $text \n] {
        if {[regexp {^LIST (NewModulesInfo|AssociatedStimulus|ProjectState5\.1|")|ideSTIMULUS|tb\.vhd} $line]} {
            lappend shown $line
        }
    }
    return $shown
}
# A fresh project alu: top instantiates mid, mid has the stimulus tb.vhd.
proc make_design {} {
    write_file src/top.vhd [vhdl_unit top mid]
    write_file src/mid.vhd [vhdl_unit mid ""]
    write_file src/tb.vhd "entity tb is end;\narchitecture sim of tb is begin end;\n"
    try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
    cd alu
    try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd}}
    try {import_files -stimulus ../src/tb.vhd}
    try {associate_stimulus -module mid -file stimulus/tb.vhd}
}

puts "--- top instantiates mid, which has a stimulus"
make_design
show

puts "--- mid.vhd renamed to other in its text, taken by the watcher: mid stays without a file and keeps"
puts "    its stimulus steps"
edit_on_disk hdl/mid.vhd [vhdl_unit other ""] 5
wait_for_checks
show

puts "--- mid.vhd put back as before: mid is defined by it again, with its stimulus steps"
edit_on_disk hdl/mid.vhd [vhdl_unit mid ""] 10
wait_for_checks
show

puts "--- mid.vhd's text replaced by a package: mid stays without a file, with its stimulus steps"
edit_on_disk hdl/mid.vhd "package consts is\n  constant width : integer := 8;\nend;\n" 15
wait_for_checks
show

puts "--- the stimulus itself edited on disk while mid stands without a file: nothing changes"
edit_on_disk stimulus/tb.vhd "entity tb is end;\narchitecture sim of tb is\nbegin\nend;\n" 20
wait_for_checks
show

puts "--- mid.vhd put back, then renamed again in the same check as the stimulus is edited"
edit_on_disk hdl/mid.vhd [vhdl_unit mid ""] 25
wait_for_checks
edit_on_disk hdl/mid.vhd [vhdl_unit renamed ""] 30
edit_on_disk stimulus/tb.vhd "entity tb is end;\narchitecture sim of tb is begin end;\n" 30
wait_for_checks
show
drop_project

puts "--- the same rename taken by refresh"
make_design
edit_on_disk hdl/mid.vhd [vhdl_unit other ""] 5
try {refresh}
show
puts "    and put back, taken by refresh"
edit_on_disk hdl/mid.vhd [vhdl_unit mid ""] 10
try {refresh}
show
drop_project

puts "--- with file detection off the edit waits; refresh takes it"
make_design
try {project_settings -auto_file_detection false}
edit_on_disk hdl/mid.vhd [vhdl_unit other ""] 5
wait_for_checks
puts [dump_all_modules -tree true]
try {refresh}
show
try {close_project}
