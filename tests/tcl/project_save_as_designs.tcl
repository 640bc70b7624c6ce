# A user keeps a project with block designs under another name with only its
# member files or only its sources. Its core workspace lists the block
# designs (their descriptions are members of the project too): each goes
# with the copy, its folder whole, and the copy's workspace lists designs it
# holds. The project kept is left as it was. A design whose file is gone is
# missed at the open and not opened.
source [file join [file dirname [info script]] lib scenario.tcl]
# The files below a folder, with a checksum of each.
proc sums {folder} {
    set out {}
    foreach file [lsort [exec find $folder -type f]] { lappend out [lindex [exec md5sum $file] 0] $file }
    return $out
}
proc files_below {folder} { lsort [exec find $folder -type f] }
# The components the open project's workspace lists, each with whether its
# definition is there.
proc designs {} {
    foreach line [split [dump_components] \n] {
        if {[regexp {^Component: (.*)$} $line -> name]} { set current $name }
        if {[regexp {Def File: (.*)$} $line -> file]} {
            puts "  $current: [file tail $file] [expr {[file exists $file] ? {there} : {missing}}]"
        }
    }
}

puts "--- a project with a block design from new_file and one from create_design"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
write_file src/top.vhd "entity top is end;\n"
try {import_files -hdl_source src/top.vhd}
try {new_file -type Veyrun -name bus}
try {create_design -id brennic.com:zandrel:veyrun:1.0 -design_name dma}
try {close_project}
set before [sums alu]
puts "  [files_below alu/kiltora]"

foreach filter {project sources} {
    puts "--- a copy with the $filter files holds both designs, and they open"
    try {open_project alu/alu.prj}
    try {save_project_as -location copies/$filter -name alu_$filter -files $filter}
    puts "  [files_below copies/$filter/kiltora]"
    designs
    try {open_veyrun -design bus}
    try {open_veyrun -design dma}
    try {close_project}
    puts "  the project kept is as it was: [expr {[sums alu] eq $before}]"
}

puts "--- an empty copy holds no design: the workspace comes anew"
try {open_project alu/alu.prj}
try {save_project_as -location copies/none -name alu_none -files none}
puts "  [files_below copies/none/kiltora]"
designs
try {close_project}

puts "--- a design whose file went is refused, like one the workspace does not have"
file delete copies/project/kiltora/bus/bus.cxf
try {open_project copies/project/alu_project.prj}
designs
try {open_veyrun -design bus}
try {open_veyrun -design dma}
try {open_veyrun -design nowhere}
try {close_project}
puts "  the project kept is as it was: [expr {[sums alu] eq $before}]"
