# The root the user chose, while its source is edited behind the shell's
# back. A save that leaves the root's unit out for a moment (a typo in its
# name, a file half written or emptied by the editor) makes another unit
# the root meanwhile; the next save that brings the unit back makes it the
# root again. A root the user chooses meanwhile stays the root. Saved and
# closed meanwhile, the project keeps the root it had then.
#
# The pace of the checks is a setting of the user's options file, read when
# the shell starts: the session runs in a shell started with a short one.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options ROOT_WATCH_SESSION "IDE_TIMER_INTERVAL = 20\n"
# Writes a source as an editor saves it, its time moved ahead so that a
# save within the same second shows.
set saves 0
proc save_source {name text} {
    write_file $name $text
    file mtime $name [expr {[clock seconds] + [incr ::saves]}]
    wait_for_checks
}
proc root {} {
    save_project
    regexp {KEY ActiveRoot "([^"]*)"} [read_file alu.prj] -> root
    puts "  the root: $root"
}

write_file src/top.vhd [vhdl_unit top mid]
write_file src/mid.vhd [vhdl_unit mid ""]
write_file src/bench.vhd [vhdl_unit bench ""]

puts "--- top uses mid; bench stands apart; the user makes top the root"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/bench.vhd}}
try {set_root top}
root

puts "--- a typo in top's name: another unit stands in as the root"
save_source hdl/top.vhd [vhdl_unit topp mid]
root
puts "--- the typo fixed: top is the root again"
save_source hdl/top.vhd [vhdl_unit top mid]
root
puts "--- the file emptied, then written whole again"
save_source hdl/top.vhd ""
root
save_source hdl/top.vhd [vhdl_unit top mid]
root
puts "--- half written, then whole: top stayed the root throughout"
save_source hdl/top.vhd "entity top is port (p : in bit); end;\n"
root
save_source hdl/top.vhd [vhdl_unit top mid]
root

puts "--- while top is away the user chooses bench: bench stays the root when top comes back"
save_source hdl/top.vhd [vhdl_unit topp mid]
try {set_root bench}
save_source hdl/top.vhd [vhdl_unit top mid]
root
try {set_root top}

puts "--- saved and closed while top is away: the project keeps the root it has"
save_source hdl/top.vhd [vhdl_unit topp mid]
try {close_project}
try {open_project alu.prj}
root
save_source hdl/top.vhd [vhdl_unit top mid]
root
try {close_project}
