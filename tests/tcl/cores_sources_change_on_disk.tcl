# A core's source edited on disk while the project is open is read again
# with its core, through the core's description, as an open of the project
# reads it: the units are those an open gives (the unit the core stands for
# taken by the source that defines it now, or made again from the
# description when none does), no unit is told defined twice, and what the
# user gave the core's unit stays: its place as the root, its test bench,
# the order of its databases. The source moved away leaves ram to the
# description with all of that, and moved back takes it again, as an open
# would give it at each step. At every step a save, a close,
# an open and a save write the same file and give the same design.
#
# Cores and the pace of the file checks are settings of the user's options
# file, read when the shell starts: the session runs in a shell started
# with them.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options CORES_SESSION "IDE_VEYRUN_ENABLED = 1\nIDE_TIMER_INTERVAL = 20\n"
source [file join [file dirname [info script]] lib ram_core.tcl]
make_ram_project

puts "--- ram_impl.v defines no ram: the description stands for it"
show
round_trip

puts "--- ram_impl.v edited to define ram: ram is the source's, no unit defined twice"
edit_source "module ram_impl; endmodule\nmodule ram; ram_impl i(); endmodule\n"
show
round_trip

puts "--- edited again, a unit more under ram"
edit_source "module ram_impl; endmodule\nmodule ram_x; endmodule\nmodule ram; ram_impl i(); ram_x x(); endmodule\n"
show
round_trip

puts "--- edited so that it no longer defines ram: the description stands for it again"
edit_source "module ram_impl; endmodule\n"
show
round_trip

puts "--- a refresh gives the same"
try {refresh}
show
round_trip
puts "--- ram_impl.v defines ram again, then is moved away: the description stands for ram, with its data"
edit_source "module ram_impl; endmodule\nmodule ram; ram_impl i(); endmodule\n"
file rename lib/ram/ram_impl.v lib/ram/ram_impl.away
wait_for_checks 200
show
round_trip

puts "--- moved back: ram is the source's again"
file rename lib/ram/ram_impl.away lib/ram/ram_impl.v
wait_for_checks 200
show
round_trip
try {close_project}
