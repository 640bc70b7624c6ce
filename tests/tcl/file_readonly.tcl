# Whether a file is read-only: 1 without write permission on disk, 2 when
# the project marks it read-only, 3 for both. The files come in through
# import_files; the project file marks one of them read-only, as the
# suite's design environment does.
source [file join [file dirname [info script]] lib scenario.tcl]

proc try {script} {
    if {[catch {uplevel 1 $script} message]} { puts "refused: $message" } else { puts "$script: $message" }
}

puts "--- without a project"
try {is_file_readonly -file top.vhd}

puts "--- a project with a file of its own and one it marks read-only"
write_file src/top.vhd "entity top is end;\narchitecture rtl of top is begin end;\n"
write_file src/locked.vhd "entity locked is end;\narchitecture rtl of locked is begin end;\n"
new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100
cd alu
import_files -hdl_source {../src/top.vhd ../src/locked.vhd}
close_project
add_member_line alu.prj hdl/locked.vhd {IS_READONLY="TRUE"}
open_project alu.prj
try {is_file_readonly -file hdl/top.vhd}
try {is_file_readonly -file <project>/hdl/locked.vhd}

puts "--- the write permission taken away on disk"
file attributes hdl/top.vhd -permissions 0444
file attributes hdl/locked.vhd -permissions 0444
try {is_file_readonly -file hdl/top.vhd}
try {is_file_readonly -file hdl/locked.vhd}

puts "--- a file on disk that the project does not hold, and one that is nowhere"
close [open notes.txt w]
try {is_file_readonly -file notes.txt}
try {is_file_readonly -file hdl/nosuch.vhd}
try {is_file_readonly}
