# A unit's physical-synthesis options block in the project file, with the
# constraint names a hand or another tool may write there. What an open
# reads, its save writes back so that the next open reads the same: a bare
# name lies in the constraint folder, a path stays the file it names (also
# when its dots leave no folder in it), and a name that ends in a folder
# names no file and is left out.
source [file join [file dirname [info script]] lib scenario.tcl]

try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
write_file src/top.vhd "entity top is end;\narchitecture rtl of top is begin end;\n"
try {import_files -hdl_source src/top.vhd}
try {close_project}
set saved [read_file alu/alu.prj]

# The project file with `block` as top's options, opened (which saves it)
# and closed: the block as saved, then whether a second open saves the same.
proc round_trip {block} {
    write_file alu/alu.prj [string map [list "LIST NewModulesInfo\nENDLIST\n" \
        "LIST NewModulesInfo\nLIST \"top::work\"\nLIST PhySynthesisOptions\n${block}ENDLIST\nENDLIST\nENDLIST\n"] $::saved]
    open_project alu/alu.prj
    close_project -save false
    set first [read_file alu/alu.prj]
    set lines [split $first \n]
    set unit [lsearch -exact $lines "LIST \"top::work\""]
    set at [expr {$unit < 0 ? -1 : [lsearch -exact -start $unit $lines "LIST PhySynthesisOptions"]}]
    if {$at < 0} {
        puts "  saved: no options of top's own"
    } else {
        set end [lsearch -exact -start $at $lines ENDLIST]
        puts "  saved: [join [lrange $lines [expr {$at + 1}] [expr {$end - 1}]] {, }]"
    }
    open_project alu/alu.prj
    close_project -save false
    puts "  opened and saved again: [expr {[read_file alu/alu.prj] eq $first ? {the same file} : {another file}}]"
}

puts "--- the names of a constraint list"
foreach name {c.sdc ./a.sdc x/../b.sdc {x\..\h.sdc} sub/./d.sdc <project>/e.sdc ./g.sdc,sdc sub/../../up.sdc} {
    puts "$name:"
    round_trip "MaxCoreCell=200\nConstraints\n$name\nENDConstraints\n"
}
puts "--- names of folders name no file"
foreach name {., . .. a/.. / <project>/.} {
    puts "$name:"
    round_trip "MaxCoreCell=200\nConstraints\n$name\nENDConstraints\n"
}
puts "--- the block of the fuzz target's finding: nothing of top's own is left"
round_trip "Constraints\n.,\n"
puts "--- a list without its end ends with the block"
round_trip "GenPinConstraints=FALSE\nConstraints\n./a.sdc\n..\nc.sdc\n"
