# A core's description (.cxf) edited on disk while the project is open:
# the core is removed and added anew with the description as it is now,
# and what the user gave its files stays with them: the order of its
# databases keeps the user's order for the databases the description still
# lists (one it lists anew follows them, one it no longer lists leaves the
# order), and the core's unit keeps its place as the root and its test
# bench. At every step a save, a close, an open and a save write the same
# file and give the same design.
#
# Cores and the pace of the file checks are settings of the user's options
# file, read when the shell starts: the session runs in a shell started
# with them.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options CORES_SESSION "IDE_VEYRUN_ENABLED = 1\nIDE_TIMER_INTERVAL = 20\n"
source [file join [file dirname [info script]] lib ram_core.tcl]
make_ram_project
# Writes the description anew, its time moved ahead as the core tool's
# save would, and lets the watcher take it.
proc edit_description {text} {
    write_file lib/ram/ram.cxf $text
    file mtime lib/ram/ram.cxf [expr {[clock seconds] + [incr ::ahead 3]}]
    wait_for_checks 200
}

puts "--- as the user left it: databases b, a"
show
round_trip

puts "--- the description edited, its files the same"
edit_description [string map {<version>1.0</version> <version>1.1</version>} [ram_text]]
show
round_trip

puts "--- the description lists a database c more"
write_file lib/ram/c.cdb "database c\n"
edit_description [string map {<file><name>b.cdb</name></file> <file><name>b.cdb</name></file><file><name>c.cdb</name></file>} [ram_text]]
show
puts "  the project holds c.cdb: [expr {[string first lib/ram/c.cdb [read_file alu/alu.prj]] >= 0}]"
round_trip

puts "--- the description no longer lists database a"
edit_description [string map {<file><name>a.cdb</name></file> {}} [ram_text]]
show
round_trip
try {close_project}
