# A unit that several files define loses the file chosen as its definition
# (deleted from the project, or edited so that it defines the unit no
# more) while two or more files still define it: the first of them, in the
# order the project file lists its files, defines the unit at once, as an
# open of the project makes it. The user is told so, the choice is saved,
# and a save, an open and a save give the same file. With one file left,
# that file defines the unit, as before.
source [file join [file dirname [info script]] lib scenario.tcl]

# top using MID, which Base.vhd and MID.vhd define, MID.vhd chosen; then
# the project alu holds the sources `more` too (the session stays in alu).
proc make_design {more} {
    write_file src/top.vhd [vhdl_unit top MID]
    write_file src/Base.vhd [vhdl_unit MID ""]
    write_file src/MID.vhd [vhdl_unit MID ""]
    try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
    cd alu
    try {import_files -hdl_source {../src/top.vhd ../src/Base.vhd ../src/MID.vhd}}
    try {use_source_file -file hdl/MID.vhd -module MID}
    try {set_root top}
    foreach name $more {
        write_file ../x/$name [vhdl_unit MID ""]
        try {import_files -hdl_source ../x/$name}
    }
}

# The project closed and its folder gone, for the next design.
proc discard_design {} {
    try {close_project}
    cd ..
    file delete -force alu
}

# The design, and the lines of the saved project file that choose a unit's
# definition.
proc show {} {
    show_design_and_chosen
}

puts "--- MID defined by Base.vhd, MID.vhd (chosen) and MID3.vhd; the chosen file is deleted"
make_design MID3.vhd
show
try {delete_files -file hdl/MID.vhd}
show
round_trip
show
puts "    MID3.vhd is still refused, and can be chosen"
try {use_source_file -file hdl/MID3.vhd -module MID}
show
round_trip
discard_design

puts "--- the chosen file is edited so that it defines another unit; refresh reads it again"
make_design MID3.vhd
write_file hdl/MID.vhd [vhdl_unit other ""]
try {refresh}
show
round_trip
show
discard_design

puts "--- three files left after the chosen one: the first of them, the others still refused"
make_design {ZZZ.vhd AAA.vhd}
try {delete_files -file hdl/MID.vhd}
show
round_trip
puts "    deleted in turn down to one file, each time the first one left"
try {delete_files -file hdl/AAA.vhd}
show
try {delete_files -file hdl/Base.vhd}
show
round_trip
show
discard_design

puts "--- one file left: it defines the unit, as before"
make_design {}
try {delete_files -file hdl/MID.vhd}
show
round_trip
try {close_project}
