# The simulation list a module works out takes the project's files that
# define packages. Which files define packages changes as files are read
# again or removed; each unit's list follows at once, however many times
# the lists were asked for before.
source [file join [file dirname [info script]] lib scenario.tcl]
# The simulation list of a module, on one line (the self-test tells it when
# it is given a list that is not the module's).
proc sim_list {module} {
    if {![catch {test_organize_sources -tool simulation -module $module -file nosuch.vhd} message]} {
        puts "  $module: the self-test passed with a file not in the project"
        return
    }
    if {![regexp {but '(.*)'\.$} $message -> list]} { puts "  $module: $message"; return }
    puts "  $module: [join [split [string trim $list] \n] { | }]"
}
proc sim_lists {} { foreach module {top leaf} { sim_list $module } }

write_file src/types.vhd "package types is\n  constant width : integer := 8;\nend;\n"
write_file src/top.vhd "use work.types.all;\nentity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u : entity work.leaf port map (a, b);\nend;\n"
write_file src/leaf.vhd "entity leaf is port (x : in bit; y : out bit); end;\narchitecture rtl of leaf is begin y <= x; end;\n"
write_file src/other.vhd "entity other is end;\narchitecture rtl of other is begin end;\n"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/types.vhd ../src/top.vhd ../src/leaf.vhd ../src/other.vhd}}
try {set_root top}

puts "--- the file that defines the package joins each unit's list"
sim_lists
puts "asked again and again, the lists stay"
for {set i 0} {$i < 3} {incr i} { sim_lists }

puts "--- the package moves to another file: the lists follow once the files are read again"
# A second later, so that the changed files are seen as changed.
after 1100
write_file hdl/types.vhd "entity types is end;\narchitecture rtl of types is begin end;\n"
write_file hdl/other.vhd "package types is\n  constant width : integer := 16;\nend;\n"
try {refresh}
sim_lists
puts "both files define a package: both join the lists"
after 1100
write_file hdl/types.vhd "package more is\n  constant depth : integer := 4;\nend;\n"
try {refresh}
sim_lists

puts "--- a package file removed from the project leaves the lists"
try {delete_files -file hdl/other.vhd}
sim_lists

puts "--- saved, closed and opened again: the same lists"
try {close_project}
try {open_project alu.prj}
sim_lists
