# The target device of a new project. Die and package are taken by their
# own or their displayed names in any letter case, and the project keeps
# the catalogue's names, through save, close, open and save as. A device
# the catalogue lacks is refused with what to give instead, and nothing
# is made.
source [file join [file dirname [info script]] lib scenario.tcl]
proc show_device {project} {
    foreach line [split [read_file $project] \n] {
        if {[string match "KEY VendorTechnology*" $line]} { puts "  $line" }
    }
}

puts "--- die and package typed in capitals: the project holds the catalogue's names"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die ZX3_25 -package FG256}
show_device alu/alu.prj
puts -nonewline [dump_catalog]

puts "--- save, close, open and save as keep them"
try {save_project}
try {close_project}
try {open_project alu/alu.prj}
puts -nonewline [dump_catalog]
try {save_project_as -location copy -name copy}
show_device copy/copy.prj
try {close_project}
show_device alu/alu.prj

puts "--- displayed names in any letter case"
try {new_project -location uart -name uart -hdl VERILOG -family ZX7 -die zx7-120 -package Bg676}
show_device uart/uart.prj

puts "--- refusals: a package without its die, a die of another family, a package the die lacks, a family in other letters"
try {new_project -location b -name b -hdl VHDL -family ZX3 -package tq100}
try {new_project -location b -name b -hdl VHDL -family ZX3 -die zx7_50}
try {new_project -location b -name b -hdl VHDL -family ZX3 -die ZX3_10 -package fg484}
try {new_project -location b -name b -hdl VHDL -family zx3}
puts "nothing made: [file exists b]; the last project stays open:"
puts -nonewline [dump_catalog]
try {close_project}
