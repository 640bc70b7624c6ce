# A file chosen for a unit that two files define is edited to define
# another unit, one that a third file defines, and is imported again. Still
# used as a chosen file, it takes that unit as use_source_file gives it: the
# unit has the file's sub-blocks alone, none of the third file's; the third
# file is refused for the unit, the unit the file left is defined by its
# other file alone; and the design and the project saved at once are those
# an open gives (a save, an open and a save give the same file). A refresh
# reads every file again as an open does: the file read first keeps the
# unit, and the choice of a unit the file no longer defines is dropped.
source [file join [file dirname [info script]] lib scenario.tcl]

write_file src/top.vhd [vhdl_unit top core]
write_file src/core.vhd [vhdl_unit core blk]
write_file src/core_b.vhd [vhdl_unit core blk]
write_file src/blk.vhd [vhdl_unit blk leaf]
write_file src/leaf.vhd [vhdl_unit leaf ""]
write_file src/shr.vhd [vhdl_unit shr ""]

# A project where core.vhd and core_b.vhd both define core, core_b.vhd
# chosen, and blk.vhd defines blk (using leaf).
proc start {} {
    try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
    cd alu
    try {import_files -hdl_source {../src/top.vhd ../src/core.vhd ../src/core_b.vhd ../src/blk.vhd ../src/leaf.vhd ../src/shr.vhd}}
    try {use_source_file -file hdl/core_b.vhd -module core}
    show_design_and_chosen
}

puts "--- core_b.vhd, chosen for core, is imported again defining blk (using shr)"
start
write_file ../src/core_b.vhd [vhdl_unit blk shr]
try {import_files -hdl_source ../src/core_b.vhd}
puts "    blk has shr alone, from core_b.vhd; core.vhd defines core"
show_design_and_chosen
round_trip
puts "    the project opened again"
show_design_and_chosen
drop_project

puts "--- the same edit made on disk, then refresh: blk.vhd, read first, keeps blk"
write_file src/core_b.vhd [vhdl_unit core blk]
start
write_file hdl/core_b.vhd [vhdl_unit blk shr]
try {refresh}
show_design_and_chosen
round_trip
puts "    the project opened again"
show_design_and_chosen
try {close_project}
