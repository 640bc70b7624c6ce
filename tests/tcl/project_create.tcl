# A new project: its folder and sub-folders, its first view and its project
# file; then saving, closing and opening it again. Names that cannot name a
# project folder are refused, and so is a folder that exists already.
source [file join [file dirname [info script]] lib scenario.tcl]
proc show_project_file {name} {
    set f [open $name]; set text [read $f]; close $f
    puts "--- $name: [llength [split [string trimright $text \n] \n]] lines"
    foreach line [split [string trimright $text \n] \n] {
        if {[string match "KEY *" $line] || [string match "LIST *" $line]} { puts "  $line" }
    }
}

puts "--- a new VHDL project for a ZX3 device"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
puts [lsort [glob -tails -directory alu *]]
puts [glob -tails -directory alu/pallador *]
show_project_file alu/alu.prj

puts "--- refusals: the folder exists, names that cannot be a folder name, locations the project file cannot hold"
try {new_project -location alu -name alu -hdl VHDL -family ZX3}
try {new_project -location b -name a/b -hdl VHDL -family ZX3}
try {new_project -location b -name .. -hdl VERILOG -family ZX3}
try {new_project -location b -name "a\"b" -hdl VHDL -family ZX3}
try {new_project -location b -name "a\tb" -hdl VHDL -family ZX3}
try {new_project -location "b\"c" -name b -hdl VHDL -family ZX3}
try {new_project -location "b\nc" -name b -hdl VHDL -family ZX3}
try {new_project -location "" -name b -hdl VHDL -family ZX3}
try {new_project -location b -name b -hdl VHDL -family ZX9}
puts "nothing made: [file exists b], the project stays open:"
try save_project

puts "--- save, close, open: the same file"
set f [open alu/alu.prj]; set first [read $f]; close $f
try {close_project}
try {save_project}
try {open_project alu/alu.prj}
set f [open alu/alu.prj]; set again [read $f]; close $f
puts "same file after the open: [expr {$first eq $again}]"
try {save_project}
set f [open alu/alu.prj]; set saved [read $f]; close $f
puts "same file after a save: [expr {$first eq $saved}]"

puts "--- a second project closes the first; close without saving"
try {new_project -location [file join [pwd] work uart] -name uart -hdl VERILOG -family ZX7 -die zx7_50 -package fg484}
show_project_file work/uart/uart.prj
file delete work/uart/uart.prj
try {close_project -save false}
puts "not written again: [file exists work/uart/uart.prj]"
try {close_project}
try {open_project missing.prj}
try {open_project}

puts "--- a project that could not be written leaves no folder behind: the next try is taken"
try {new_project -location a/b/p1 -name [string repeat n 252] -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
puts "folders left: [file exists a]"
try {new_project -location a/b/p1 -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
puts "made: [file exists a/b/p1/alu.prj]"
try {close_project}
