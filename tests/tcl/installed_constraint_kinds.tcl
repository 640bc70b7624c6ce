# A fresh install, with no settings of the user's own, gives each family of
# its device catalogue the constraint files such a family takes: pin or
# physical constraints and timing constraints. import_files offers one
# option per kind of the project's family and copies the files into
# constraint/; the tools take them into their constraint lists (place and
# route all of the family's kinds, synthesis the timing constraints). A kind
# of another family is no option of the project's.
source [file join [file dirname [info script]] lib scenario.tcl]
write_file src/top.vhd "entity top is port (clk, a : in bit; b : out bit); end;\narchitecture rtl of top is begin b <= a; end;\n"
write_file src/pins.pdc "set_io a -pinname 12\n"
write_file src/timing.sdc "create_clock -name clk -period 10 \[get_ports clk\]\n"
write_file src/pins.pin "a 12\nb 13\n"
write_file src/place.gcf "set_location u 4 7;\n"
# The constraint options import_files offers (its usage, asked with an option it does not know).
proc constraint_options {} {
    catch {import_files -no_such_kind x} usage
    set offered {}
    foreach option {-pdc -sdc -pin -gcf -dcf -crt} {
        if {[string first "\[$option <file>\]" $usage] >= 0} { lappend offered $option }
    }
    puts "  constraint kinds offered: $offered"
}

puts "--- without a project: those of the family a new project starts from"
constraint_options

foreach {family die package files} {
    ZX3 zx3_10 tq100 {pdc pins.pdc sdc timing.sdc}
    ZX7 zx7_50 fg256 {pdc pins.pdc sdc timing.sdc}
    TN4 tn4_15 cs64 {pin pins.pin gcf place.gcf sdc timing.sdc}
} {
    puts "--- a $family project"
    set name [string tolower $family]
    try {new_project -location $name -name $name -hdl VHDL -family $family -die $die -package $package}
    constraint_options
    try {import_files -hdl_source src/top.vhd}
    try {set_root top}
    set options {}
    set members {}
    foreach {kind file} $files {
        lappend options -$kind src/$file
        lappend members -file <project>/constraint/$file
    }
    try [list import_files {*}$options]
    puts "  constraint/: [lsort [glob -tails -directory $name/constraint *]]"
    puts "place and route takes them all, in the order given"
    try [list organize_constraints -tool pallador -module top {*}$members]
    try [list test_organize_constraints -tool pallador -module top {*}$members]
    puts "synthesis takes the timing constraints, and no others"
    try {organize_constraints -tool synthesis -module top -file <project>/constraint/timing.sdc}
    try [list organize_constraints -tool synthesis -module top {*}[lrange $members 0 1]]
    puts "a kind of another family is no option here"
    try [list import_files -[expr {$family eq "TN4" ? "pdc" : "pin"}] src/pins.pdc]
    try {close_project}
}
