# Whether a file is read-only: 1 without write permission on disk, 2 when
# the project marks it read-only, 3 for both. Until files can be added to a
# project, the tests' loader puts them into it.
load $env(QUORLANE_ECHO_PACKAGE) Quorlaneecho

proc try {script} {
    if {[catch {uplevel 1 $script} message]} { puts "refused: $message" } else { puts "$script: $message" }
}

puts "--- without a project"
try {is_file_readonly -file top.vhd}

puts "--- a project with a file of its own and one it marks read-only"
new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100
cd alu
load_test_unit -name top -file hdl/top.vhd
load_test_unit -name locked -file hdl/locked.vhd -readonly
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
