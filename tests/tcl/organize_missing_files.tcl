# A constraint file that is gone from disk when the project is opened is
# dropped from the project, and from every list that names it as well:
# the synthesis and physical-synthesis lists kept in the project file and
# the place-and-route list beside the view's database. The lists end as
# delete_files leaves them when the file is removed while the project is
# open; saved again, the project file names the file nowhere.
#
# The tools' constraint extensions and the project's constraint kinds are
# settings of the user's options file, read when the shell starts: the
# session runs in a shell started with them. The shell looks for the
# tool's databases between commands; a short pace lets the session wait
# for that.
source [file join [file dirname [info script]] lib scenario.tcl]
source [file join [file dirname [info script]] lib layout_design.tcl]
with_options MISSING_FILES_SESSION [layout_options "SYNTHESIS_CONSTRAINTS_LIST = sdc" \
    "PHYSYNTH_CONSTRAINTS_LIST = sdc pdc" "IDE_TIMER_INTERVAL = 20"]
# The list of each tool as test_organize_constraints finds it, and the
# place-and-route list as its file holds it.
proc lists {synthesis physynth pallador} {
    foreach tool {synthesis physynth pallador} {
        set files {}
        foreach name [set $tool] { lappend files -file constraint/$name }
        puts -nonewline "  $tool has [set $tool]: "
        try {test_organize_constraints -tool $tool {*}$files}
    }
    set names {}
    foreach line [split [read_file pallador/impl1/top.ide_pld] \n] {
        if {[regexp {^(FILE|LINK) (.*)$} $line -> kind file]} { lappend names [file tail $file] }
    }
    puts "  place-and-route list file: $names"
}

write_layout_design
write_file src/c.sdc "set_false_path -from a\n"
write_file src/d.sdc "set_false_path -from b\n"

puts "--- two more timing constraints in every tool's list, and a database for the view"
new_layout_project alu {timing.sdc pins.pdc}
write_file pallador/impl1/top.adb "database\n"
wait_for_checks
try {import_files -sdc {../src/c.sdc ../src/d.sdc}}
try {organize_constraints -tool synthesis -file constraint/timing.sdc -file constraint/c.sdc -file constraint/d.sdc}
try {organize_constraints -tool physynth -file constraint/pins.pdc -file constraint/c.sdc -file constraint/d.sdc}
try {organize_constraints -tool pallador -file constraint/c.sdc -file constraint/pins.pdc -file constraint/d.sdc}
lists {timing.sdc c.sdc d.sdc} {pins.pdc c.sdc d.sdc} {c.sdc pins.pdc d.sdc}

puts "--- d.sdc removed from the project while it is open: every list lets it go"
try {delete_files -file constraint/d.sdc}
lists {timing.sdc c.sdc} {pins.pdc c.sdc} {c.sdc pins.pdc}

puts "--- c.sdc deleted on disk while the project is closed: opened again, every list lets it go as well"
try {close_project}
file delete constraint/c.sdc
try {open_project alu.prj}
wait_for_checks
lists {timing.sdc} {pins.pdc} {pins.pdc}
puts "saved, the project file names it nowhere"
try {save_project}
puts "  [expr {[string first c.sdc [read_file alu.prj]] < 0 ? {not named} : {still named}}]"

puts "--- opened once more, the lists stay as they are"
try {close_project}
try {open_project alu.prj}
wait_for_checks
lists {timing.sdc} {pins.pdc} {pins.pdc}
try {close_project}
