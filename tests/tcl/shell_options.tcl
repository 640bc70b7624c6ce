# The user's options file is read when the shell starts: a line it cannot
# take, or a file that cannot be read at all, is reported as a warning and
# the shell runs the script all the same.
source [file join [file dirname [info script]] lib scenario.tcl]
if {[info exists env(OPTIONS_SESSION)]} {
    puts "the script runs: [package present quorlane]"
    exit 0
}
puts "--- a line without its value"
write_file options "IDE_TIMER_ENABLED 1\n"
set env(QUORLANE_OPTIONS) [file join [pwd] options]
run_again OPTIONS_SESSION line
puts "--- a folder where the file should be"
file mkdir folder
set env(QUORLANE_OPTIONS) [file join [pwd] folder]
run_again OPTIONS_SESSION folder
