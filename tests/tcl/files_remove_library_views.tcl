# remove_library sends the library's files back to "work" and parses every
# file of the project again, also those of other libraries: a unit that has
# a stimulus keeps it, and the stimulus steps of its views are saved at
# once, as an open of the project finds them: a save, an open and a save
# give the same file.
#
# The constraint kinds and the choice of a view's file are settings of the
# user's options file, read when the shell starts: the session runs in a
# shell started with them.
source [file join [file dirname [info script]] lib scenario.tcl]
source [file join [file dirname [info script]] lib case_rename_design.tcl]
with_options REMOVE_LIBRARY_VIEWS_SESSION [case_rename_options {}]

# Saves the project and shows the states MID's views hold as the project
# file keeps them (its block in the project's list of view states).
proc show_mid_views {} {
    save_project
    show_view_states MID
}

puts "--- MID, in work, has a stimulus; an empty library dsp is added"
make_case_rename_design {}
try {add_library -library dsp}
show_mid_views
round_trip

puts "--- dsp removed: MID is parsed again in work and its stimulus steps stay done"
try {remove_library -library dsp}
show_mid_views
round_trip

puts "--- a library holding top removed: top is back in work, MID's steps stay done"
try {add_library -library ip}
try {add_file_to_library -library ip -file hdl/top.vhd}
try {remove_library -library ip}
puts [dump_all_modules -tree true]
show_mid_views
round_trip
try {close_project}
