# organize_constraints -tool pallador, many times over several units: each
# unit's place-and-route list lives in a file of its own beside the unit's
# database (pallador/impl1/<unit>.ide_pld). A command changes the list of
# the unit it names and no other file, names the project's files from the
# list's folder, and leaves a list whose files stay the same alone on disk
# (the very file, not a copy of it written again). What each list holds
# after each step, to the byte, is part of the session's log.
#
# The tools' constraint extensions and the project's constraint kinds are
# settings of the user's options file, read when the shell starts.
source [file join [file dirname [info script]] lib scenario.tcl]
source [file join [file dirname [info script]] lib layout_design.tcl]
with_options CONSTRAINTS_LISTS_SESSION [layout_options]

# The text of every list, by file name.
proc lists {} {
    set texts {}
    foreach name [lsort [glob -nocomplain -directory pallador/impl1 *.ide_pld]] {
        dict set texts [file tail $name] [read_file $name]
    }
    return $texts
}
# The file of each list, by file name, as the disk tells it apart from a
# copy written in its place.
proc identities {} {
    set ids {}
    foreach name [lsort [glob -nocomplain -directory pallador/impl1 *.ide_pld]] {
        file stat $name st
        dict set ids [file tail $name] "$st(ino) $st(mtime)"
    }
    return $ids
}
# The lists whose text differs between `before` and `after`, each with the
# files it names, on one line; a list written again with the text it held
# is told too.
proc show_changed {before after idsBefore idsAfter} {
    dict for {name text} $after {
        if {[dict exists $before $name] && [dict get $before $name] eq $text} {
            if {[dict get $idsBefore $name] ne [dict get $idsAfter $name]} { puts "  $name: written again" }
            continue
        }
        set files {}
        foreach line [split $text \n] {
            if {[regexp {^(FILE|LINK) (.*)$} $line -> kind file]} { lappend files $file }
        }
        puts "  $name: [join $files {, }]"
    }
}

puts "--- a design of five units, two with a netlist, and five constraint files"
write_file src/top.vhd "entity top is end;\narchitecture rtl of top is signal a, b : bit; begin i : entity work.left port map (a, b); j : entity work.right port map (a, b); end;\n"
write_file src/left.vhd "entity left is port (a : in bit; b : out bit); end;\narchitecture rtl of left is begin i : entity work.leaf port map (a, b); end;\n"
write_file src/right.vhd "entity right is port (a : in bit; b : out bit); end;\narchitecture rtl of right is begin b <= a; end;\n"
write_file src/leaf.vhd "entity leaf is port (a : in bit; b : out bit); end;\narchitecture rtl of leaf is begin b <= a; end;\n"
write_file src/spare.vhd "entity spare is end;\narchitecture rtl of spare is begin end;\n"
write_file src/top.edn "(edif top (design top (cellRef top (libraryRef work))))\n"
write_file src/left.edn "(edif left (design left (cellRef left (libraryRef work))))\n"
foreach name {pins.pdc {io pins.pdc} timing.sdc false.sdc clocks.sdc} { write_file src/$name "# $name\n" }
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/left.vhd ../src/right.vhd ../src/leaf.vhd ../src/spare.vhd}}
try {import_files -edif {../src/top.edn ../src/left.edn}}
try {import_files -pdc {../src/pins.pdc {../src/io pins.pdc}} -sdc {../src/timing.sdc ../src/false.sdc ../src/clocks.sdc}}
try {set_root top}

puts "--- sixty commands drawn at random: what each list holds after each one"
expr {srand(1560)}
proc pick {items} { lindex $items [expr {int(rand() * [llength $items])}] }
set units {top left right leaf spare}
# Mostly constraint files; now and then a source, which is refused.
set pool {pins.pdc {io pins.pdc} timing.sdc false.sdc clocks.sdc pins.pdc timing.sdc}
set before [lists]
set ids [identities]
for {set step 1} {$step <= 60} {incr step} {
    set command [list organize_constraints -tool pallador -module [pick $units]]
    if {rand() < 0.3} { lappend command -pallador_view Impl1 }
    set mode [pick {new new add remove}]
    if {$mode ne "new" || rand() < 0.5} { lappend command -mode $mode }
    for {set n [expr {int(rand() * 4)}]} {$n > 0} {incr n -1} {
        lappend command -file [expr {rand() < 0.04 ? "hdl/top.vhd" : "constraint/[pick $pool]"}]
    }
    puts -nonewline "$step: [lrange $command 1 end]: "
    try $command
    set after [lists]
    set idsAfter [identities]
    show_changed $before $after $ids $idsAfter
    set before $after
    set ids $idsAfter
}

puts "--- each list again as it is: no list is written"
foreach unit $units {
    set files {}
    foreach line [split [dict get $before $unit.ide_pld] \n] {
        if {[regexp {^FILE \.\./\.\./constraint/(.*)$} $line -> file]} { lappend files -file constraint/$file }
    }
    try {organize_constraints -tool pallador -module $unit {*}$files}
}
puts "  the same lists: [expr {[lists] eq $before}], the same files: [expr {[identities] eq $ids}]"

puts "--- the lists as they stand"
dict for {name text} [lists] { puts "$name:\n$text" }

puts "--- saved, closed and opened again: the lists stay, and the project file names them"
try {save_project}
set saved [read_file alu.prj]
try {close_project}
try {open_project alu.prj}
puts "  the same lists: [expr {[lists] eq $before}]"
try {save_project}
puts "  the same project file: [expr {[read_file alu.prj] eq $saved}]"
puts [join [lsearch -all -inline -not [split $saved \n] {KEY ProjectLocation *}] \n]
try {close_project}
