# The name of a new design (new_file, create_design) goes into the core
# workspace's file and into the path of the design's own file. A name is
# either kept as it is, so that the design is there again when the project
# opens, or refused with nothing made.
source [file join [file dirname [info script]] lib scenario.tcl]
# The block designs of the workspace file, with whether their files exist.
proc designs {} {
    foreach line [split [read_file alu/kiltora/kiltora.aws] \n] {
        if {[regexp {<component kind="6".* name="([^"]*)".* definition="([^"]*)"} $line -> name file]} {
            set name [string map {&lt; < &gt; > &quot; \" &amp; &} $name]
            set file [string map {&lt; < &gt; > &quot; \" &amp; &} $file]
            puts "  $name in $file: [expr {[file exists alu/kiltora/$file] ? {there} : {missing}}]"
        }
    }
}
# As try, with U+FFFE and U+FFFF in what is said shown by their numbers.
proc try_shown {script} {
    set failed [catch {uplevel 1 $script} message]
    set message [string map [list \ufffe <U+FFFE> \uffff <U+FFFF>] $message]
    if {$failed} { puts "refused: $message" } else { puts "done" }
}

try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}

puts "--- names that are no HDL identifiers still name a design"
foreach name [list bus {my bus} entity a.b -x 1abc "\u00e9t\u00e9"] { try {new_file -type Veyrun -name $name} }
try {create_design -id brennic.com:zandrel:veyrun:1.0 -design_name {dma engine}}

puts "--- U+FFFE and U+FFFF, which no XML file may hold, are refused: the workspace file stays readable"
try_shown {new_file -type Veyrun -name "bus\uffff"}
try_shown {new_file -type Veyrun -name "\ufffebus"}
try_shown {create_design -id brennic.com:zandrel:veyrun:1.0 -design_name "dma\uffff"}
puts "  folders in the workspace: [llength [glob -types d -directory alu/kiltora *]]"

puts "--- a name whose files are on disk already, the user's: nothing is made, and nothing of theirs goes"
write_file alu/kiltora/old/old.ixf "the user's netlist\n"
try {new_file -type Veyrun -name old}
puts "  [glob -tails -directory alu/kiltora/old *]: [string trim [read_file alu/kiltora/old/old.ixf]]"

puts "--- the project token in a name is refused: the project would read it as its folder"
try {new_file -type Veyrun -name <project>}
try {new_file -type Veyrun -name {a<project>b}}
try {create_design -id brennic.com:zandrel:veyrun:1.0 -design_name {a<project>b}}
designs

puts "--- opened again, the project has every design it made, and makes more"
try {close_project}
try {open_project alu/alu.prj}
foreach name [list bus {my bus} entity a.b -x 1abc "\u00e9t\u00e9" {dma engine}] {
    try {open_veyrun -design $name}
}
try {new_file -type Veyrun -name after}
try {refresh}
designs
