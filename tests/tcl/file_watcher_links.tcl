# Linked sources that change behind the shell's back. A linked unit that
# other units use goes with its file (a placeholder stands in its place)
# and, when the file comes back, takes again what the user had given it:
# its stimulus, and its place as the root. A project file of an older release keeps its stamps
# to the second: a linked file written within that second has not changed
# since, and the open says nothing of it; one edited while the project was
# closed is told.
#
# Linking, the pace of the checks and the stamps in the project file are
# settings of the user's options file, read when the shell starts: the
# session runs in a shell started with them.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options LINKS_WATCH_SESSION \
    "IDE_LINKING_ENABLED = 1\nIDE_TIMER_INTERVAL = 20\nIDE_SAVE_FILE_STAMPS_IN_PRJ = 1\n"
proc tree {} { puts [dump_all_modules -tree true] }
proc stimulus_of_mid {} { try {test_associate_stimulus -module mid -file stimulus/tb.vhd} }
proc root {} {
    save_project
    set root none
    regexp {KEY ActiveRoot "([^"]*)"} [read_file alu.prj] -> root
    puts "  the root: $root"
}

write_file src/top.vhd [vhdl_unit top mid]
write_file shared/mid.vhd [vhdl_unit mid ""]
write_file src/tb.vhd "entity tb is end;\narchitecture sim of tb is begin end;\n"

puts "--- top uses mid, a linked unit with a test bench of its own, made the root"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source ../src/top.vhd}
try {create_links -hdl_source ../shared/mid.vhd}
try {import_files -stimulus ../src/tb.vhd}
try {associate_stimulus -module mid -file stimulus/tb.vhd}
try {set_root mid}
tree

puts "--- the linked file goes away: mid leaves the design, top still uses it"
file rename ../shared/mid.vhd ../shared/mid.away
wait_for_checks
tree
root
puts "--- it comes back as it was: mid takes its test bench and its place as the root again"
file rename ../shared/mid.away ../shared/mid.vhd
wait_for_checks
tree
stimulus_of_mid
root

puts "--- it goes away and comes back changed: mid keeps its test bench too"
file rename ../shared/mid.vhd ../shared/mid.away
wait_for_checks
file rename ../shared/mid.away ../shared/mid.vhd
write_file ../shared/mid.vhd "[vhdl_unit mid {}]-- edited\n"
wait_for_checks
tree
stimulus_of_mid
root
puts "--- saved, closed and opened again, the test bench is still mid's"
try {close_project}
try {open_project alu.prj}
stimulus_of_mid

puts "--- the project file as an older release wrote it, its stamps to the second: nothing changed since"
try {close_project}
set text [read_file alu.prj]
regsub -all {TIME="(-?[0-9]+)[0-9]{9}"} $text {TIME="\1"} text
write_file alu.prj $text
try {open_project alu.prj}
puts "--- again, with the linked file edited while the project was closed"
try {close_project}
set text [read_file alu.prj]
regsub -all {TIME="(-?[0-9]+)[0-9]{9}"} $text {TIME="\1"} text
write_file alu.prj $text
write_file ../shared/mid.vhd "[vhdl_unit mid {}]-- edited again, and longer\n"
try {open_project alu.prj}
try {close_project}
