# Block designs of the project's core workspace: new_file makes a new,
# empty one by name (the one kind of design it makes is "Veyrun", letter
# case counting), open_veyrun opens one by name. Without a project neither
# runs; a name the workspace has no block design of is told.
source [file join [file dirname [info script]] lib scenario.tcl]
proc designs {} {
    foreach line [split [read_file alu/kiltora/kiltora.aws] \n] {
        if {[regexp {<component kind="(\d+)".* name="([^"]*)".* definition="([^"]*)"} $line -> kind name file]} {
            puts "  $name (kind $kind) in $file: [expr {[file exists alu/kiltora/$file] ? {there} : {missing}}]"
        }
    }
}

try {new_file -type Veyrun -name bus}
try {open_veyrun -design bus}
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}

puts "--- new_file makes block designs"
try {new_file -type Veyrun -name bus}
try {new_file -type Veyrun -name dma}
designs
puts "another kind, the kind in other letters, a name taken or not one folder name: nothing is made"
try {new_file -type Kiltora -name other}
try {new_file -type veyrun -name other}
try {new_file -type "" -name other}
try {new_file -type Veyrun -name bus}
try {new_file -type Veyrun -name sub/other}
try {new_file -type Veyrun -name {q"uote}}
try {new_file -type Veyrun -name ..}
designs

puts "--- open_veyrun opens a block design by name, in any letter case"
try {open_veyrun -design bus}
try {open_veyrun -design DMA}
try {open_veyrun -design nowhere}
puts "a block design that create_design made opens too"
try {create_design -id brennic.com:zandrel:veyrun:1.0 -design_name third}
try {open_veyrun -design third}
designs

puts "--- the block designs stay with the project"
try {close_project}
try {open_project alu/alu.prj}
designs
try {open_veyrun -design bus}
