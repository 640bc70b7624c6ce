# A netlist imported before the HDL that comes to instantiate its unit: the
# unit, which no file defines, has the netlist's synthesis state as soon as
# the HDL is imported or linked, as the project opened again gives it, and
# keeps it when the HDL is imported again (its unit made anew). A source
# that comes to define the unit makes the netlist out of date, and with it
# the state goes. Each time the project is saved, closed and opened, and
# shows the same states. Of two netlists imported into a project without
# units, the first brings in the design's unit, the root, and the project
# opened again has the same unit, whatever the order of its files.
source [file join [file dirname [info script]] lib scenario.tcl]
# The design, then as the saved project holds them each unit's design
# state (SolvatoState, once per unit) and the netlist's file state.
proc show {} {
    puts [dump_all_modules -tree true]
    save_project
    set unit ""
    set shown {}
    foreach line [split [read_file alu.prj] \n] {
        if {[regexp {^LIST "([^"]+)"$} $line -> name]} { set unit $name }
        if {[regexp {^SolvatoState=(.*)$} $line -> state] && $unit ni $shown} {
            puts "  $unit: $state"
            lappend shown $unit
        }
        if {[regexp {^VALUE "(.*edn,syn_edn)"$} $line -> file]} { set netlist $file }
        if {[info exists netlist] && [regexp {^STATE="(.*)"$} $line -> state]} {
            puts "  $netlist: $state"
            unset netlist
        }
    }
}
proc reopened {} {
    try {close_project}
    try {open_project alu.prj}
    puts "  opened again:"
    show
}

write_file src/top.vhd [vhdl_unit top mid]
write_file src/mid.vhd [vhdl_unit mid leaf]
write_file src/leaf.vhd [vhdl_unit leaf ""]
write_file src/mid.edn "(edif mid (library work (cell mid)) (design mid (cellRef mid (libraryRef work))))\n"
write_file src/top.edn "(edif top (library work (cell top)) (design top (cellRef top (libraryRef work))))\n"
write_file links/top.vhd [vhdl_unit top mid]

puts "--- leaf.vhd, then mid's netlist, then top.vhd, which instantiates mid"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source ../src/leaf.vhd}
try {import_files -edif ../src/mid.edn}
show
try {import_files -hdl_source ../src/top.vhd}
show
reopened
puts "--- top.vhd imported again: mid is made anew, with its state"
try {import_files -hdl_source ../src/top.vhd}
show
reopened
puts "--- mid.vhd comes to define mid: the netlist is out of date, mid's state goes"
try {import_files -hdl_source ../src/mid.vhd}
show
reopened
drop_project

puts "--- mid's netlist into a project without units, then top.vhd linked"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -edif ../src/mid.edn}
show
try {create_links -hdl_source ../links/top.vhd}
show
reopened
drop_project

puts "--- top's netlist, then mid's, into a project without units: top is the design's unit and its root"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -edif ../src/top.edn}
try {import_files -edif ../src/mid.edn}
show
puts [lsearch -inline -all [split [read_file alu.prj] \n] *ActiveRoot*]
reopened
puts [lsearch -inline -all [split [read_file alu.prj] \n] *ActiveRoot*]
drop_project
