# A link pointed by change_link_source at a file of another text is read
# anew where it stands in the project, and keeps what the project holds for
# it, as a link pointed at a file of the same text does: the definition the
# user chose for a unit that two files define, its unit's stimulus,
# constraints and place as the root, the files linked to it, the views'
# chosen files and tool results. When the new text no longer defines the
# unit, the choice cannot be kept: the user hears why, and the unit's other
# file defines it. Each time a save, an open and a save give the same file.
#
# Linking, the constraint kinds and the choice of a view's file are
# settings of the user's options file, read when the shell starts: the
# session runs in a shell started with them.
source [file join [file dirname [info script]] lib scenario.tcl]
source [file join [file dirname [info script]] lib case_rename_design.tcl]
with_options RELINK_TEXT_SESSION [case_rename_options {"IDE_LINKING_ENABLED = 1"}]

# The design, then every line of the saved project file that names MID's
# two files or top's netlist, or holds a tool result, after the block it
# stands in (a file linked to another shows as the file, then its link).
proc show {} {
    puts [dump_all_modules -tree true]
    save_project
    set block ""
    set value ""
    foreach line [split [read_file alu.prj] \n] {
        if {[regexp {^LIST (.*)} $line -> block]} continue
        if {[string match {VALUE *} $line]} { set value $line }
        if {[string match {PARENT=*} $line]} { set line "$value $line" }
        if {[regexp -nocase {mid\.vhd|base\.vhd|top_fast\.edn|^KEY ActiveRoot|^ide.*=State} $line]} { puts "  $block: $line" }
    }
}

puts "--- MID defined twice, MID.vhd chosen; MID has a stimulus, constraints and is the root; top's view"
puts "    works on Top_Fast.edn, with a tool result; Pins.pdc linked to MID.vhd. MID.vhd exported as a link"
make_case_rename_design {{organize_constraints -tool physynth -file constraint/Pins.pdc -file constraint/Timing.sdc}}
try {close_project}
edit_project "LIST Impl1\n" "LIST Impl1\nideSYNTHESIS(<project>/synthesis/Top_Fast.edn,syn_edn)=StateSuccess\n"
edit_project "VALUE \"<project>/constraint/Pins.pdc,pdc\"\nSTATE" \
    "VALUE \"<project>/constraint/Pins.pdc,pdc\"\nPARENT=\"<project>/hdl/MID.vhd\"\nSTATE"
try {open_project alu.prj}
try {export_as_link -file hdl/MID.vhd -path ../shared/MID.vhd}
show
round_trip

puts "--- the link pointed at a file of another text (MID gains a port): the file is read again and keeps"
puts "    all it had under its new name; MID.vhd stays MID's definition, no duplicate is reported. top's"
puts "    synthesis result goes, as at any change of a source's text"
write_file ../next/MID.vhd "entity MID is port (p : in bit; q : out bit); end;\narchitecture rtl of MID is\nbegin\n  q <= p;\nend;\n"
try {change_link_source -file ../shared/MID.vhd -path ../next/MID.vhd}
show
puts "    the data is found under the new names"
try {test_associate_stimulus -module MID -file stimulus/TB.vhd}
try {test_organize_constraints -tool physynth -file constraint/Pins.pdc -file constraint/Timing.sdc}
round_trip
show

puts "--- the link pointed at a file that no longer defines MID: the choice cannot be kept, and the"
puts "    user hears why; Base.vhd defines MID, whose stimulus, constraints and root stay"
write_file ../spare/MID.vhd "entity spare is end;\narchitecture rtl of spare is begin end;\n"
try {change_link_source -file ../next/MID.vhd -path ../spare/MID.vhd}
show
round_trip
show

puts "--- pointed back at a text that defines MID: a second definition of MID, reported as an import"
puts "    reports it; Base.vhd stays MID's definition"
try {change_link_source -file ../spare/MID.vhd -path ../next/MID.vhd}
show
round_trip
try {close_project}
