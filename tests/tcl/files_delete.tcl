# delete_files from a script, where nobody is there to answer: every file
# named goes out of the project in one batch, a file the project does not
# hold is named and passed over (the command still succeeds), and with
# -from_disk the files go off the disk too. Only files inside the project
# folder are deleted: a linked file (create_links) lives elsewhere, in
# somebody else's folder, and stays there; a deletion that fails is told.
#
# Linking is a setting of the user's options file, read when the shell
# starts: the session runs in a shell started with it.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(DELETE_SESSION)]} {
    write_file options "IDE_LINKING_ENABLED = 1\n"
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    exit [run_again DELETE_SESSION 1]
}
proc members {} {
    save_project
    foreach line [split [read_file alu.prj] \n] {
        if {[regexp {^VALUE "([^,]+),} $line -> name]} { puts "  $name" }
    }
}
proc on_disk {args} {
    foreach name $args { puts "  $name: [expr {[file exists $name] ? {on disk} : {gone}}]" }
}

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u : entity work.mid port map (a, b);\nend;\n"
write_file src/mid.vhd "entity mid is port (a : in bit; b : out bit); end;\narchitecture rtl of mid is begin b <= a; end;\n"
write_file src/scratch.vhd "entity scratch is end;\narchitecture rtl of scratch is begin end;\n"
write_file src/old.vhd "entity old is end;\narchitecture rtl of old is begin end;\n"
write_file src/tmp.vhd "entity tmp is end;\narchitecture rtl of tmp is begin end;\n"
write_file shared/ip/fir.vhd "entity fir is end;\narchitecture rtl of fir is begin end;\n"
write_file shared/ip/iir.vhd "entity iir is end;\narchitecture rtl of iir is begin end;\n"

try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/scratch.vhd ../src/old.vhd ../src/tmp.vhd}}
puts "two files of a shared folder outside the project come in as links, where they are"
try {create_links -hdl_source {../shared/ip/fir.vhd ../shared/ip/iir.vhd}}
members

puts "--- a batch: two files out of the project, one that never was in it named; the command succeeds"
try {delete_files -file hdl/scratch.vhd -file hdl/nosuch.vhd -file hdl/old.vhd}
members
puts "the files themselves stay on disk"
on_disk hdl/scratch.vhd hdl/old.vhd
puts [dump_all_modules]

puts "--- -from_disk: the project's own file goes off the disk, the link's original stays where it is"
try {delete_files -file hdl/tmp.vhd -file ../shared/ip/fir.vhd -from_disk}
members
on_disk hdl/tmp.vhd ../shared/ip/fir.vhd

puts "--- a file that cannot be deleted (it has become a folder) is told; it leaves the project all the same"
file delete hdl/mid.vhd
file mkdir hdl/mid.vhd/kept
try {delete_files -file hdl/mid.vhd -from_disk}
members
on_disk hdl/mid.vhd ../shared/ip/iir.vhd
try {close_project -save false}
