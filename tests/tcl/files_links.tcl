# Linked files from a script: files of a project that live outside its
# folder. create_links takes files where they are (read-only, parsed);
# unlink copies a linked file into the project and points its entry at the
# copy; export_as_link does the opposite; change_link_source points a link
# at another file without copying anything. Nothing is ever copied over a
# file that exists, and no two entries of the project name one file.
# save_project_as -replace_links makes every link of the copy a file of its
# own.
#
# Linking is a setting of the user's options file, read when the shell
# starts: the session runs in a shell started with it.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(LINKS_SESSION)]} {
    write_file options "IDE_LINKING_ENABLED = 1\n"
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    exit [run_again LINKS_SESSION 1]
}
proc members {{project alu.prj}} {
    save_project
    foreach line [split [read_file $project] \n] {
        if {[regexp {^VALUE "([^,]+),hdl"} $line -> name]} { puts "  $name" }
    }
}

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u : entity work.x port map (a, b);\nend;\n"
write_file shared/ip/x.vhd "entity x is port (a : in bit; b : out bit); end;\narchitecture rtl of x is begin b <= a; end;\n"
write_file other/x.vhd "entity y is end;\narchitecture rtl of y is begin end;\n"
write_file shared/ip/fir.vhd "entity fir is end;\narchitecture rtl of fir is begin end;\n"
write_file shared/ip/dsp.vhd "entity dsp is end;\narchitecture rtl of dsp is begin end;\n"
write_file shared/ip/iir.vhd "entity iir is end;\narchitecture rtl of iir is begin end;\n"

try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source ../src/top.vhd}

puts "--- create_links: the files stay where they are, read-only, and are parsed"
try {create_links -hdl_source {../shared/ip/x.vhd ../other/x.vhd ../shared/ip/fir.vhd ../shared/ip/iir.vhd ../shared/ip/dsp.vhd}}
members
puts "  read-only state (2: marked read-only in the project): [is_file_readonly -file ../shared/ip/x.vhd]"
puts [dump_all_modules -tree true]

puts "--- unlink: a local name must be a bare name of the file's extension"
try {unlink -file ../shared/ip/x.vhd -local ../x.vhd}
try {unlink -file ../shared/ip/x.vhd -local x.v}
try {unlink -file ../shared/ip/x.vhd -local sub/x}
puts "a name of the file's extension, in any letter case, is taken as given"
try {unlink -file ../shared/ip/dsp.vhd -local Dsp_Local.VHD}
puts "without a name the copy takes the file's place in the project"
try {unlink -file ../shared/ip/x.vhd}
puts "a second x.vhd finds that place taken and becomes x_1.vhd"
try {unlink -file ../other/x.vhd}
puts "a file already on disk at the project place (not a project file) is not overwritten either"
write_file hdl/fir.vhd "-- somebody's notes\n"
try {unlink -file ../shared/ip/fir.vhd}
puts "  hdl/fir.vhd: [string trim [read_file hdl/fir.vhd]]"
puts "the name of a project file gone from disk is taken too: refused, and its file is not made again"
file delete hdl/x_1.vhd
try {unlink -file ../shared/ip/iir.vhd -local x_1.vhd}
puts "  hdl/x_1.vhd on disk: [file exists hdl/x_1.vhd]"
write_file hdl/x_1.vhd [read_file ../other/x.vhd]
puts "nor is a name that differs from a project file's only in letter case"
try {unlink -file ../shared/ip/iir.vhd -local X_1.vhd}
puts "  hdl/X_1.vhd on disk: [file exists hdl/X_1.vhd]"
members
puts "the originals stay where they were"
puts "  [lsort [glob -tails -directory ../shared/ip *]] [glob -tails -directory ../other *]"
puts [dump_all_modules -tree true]
puts "the local copy, edited to instantiate x and imported again, has the new hierarchy; edited back, it has none"
write_file hdl/Dsp_Local.VHD "entity dsp is end;\narchitecture rtl of dsp is\n  signal a, b : bit;\nbegin\n  u : entity work.x port map (a, b);\nend;\n"
try {import_files -hdl_source hdl/Dsp_Local.VHD}
puts [dump_all_modules -tree true]
write_file hdl/Dsp_Local.VHD [read_file ../shared/ip/dsp.vhd]
try {import_files -hdl_source hdl/Dsp_Local.VHD}
puts [dump_all_modules -tree true]

puts "--- export_as_link: a project file is copied out and linked; the extension must match, the place must be free"
try {export_as_link -file hdl/top.vhd -path ../published/top.v}
try {export_as_link -file hdl/top.vhd -path ../shared/ip/iir.vhd}
try {export_as_link -file ../shared/ip/iir.vhd -path ../published/iir.vhd}
try {export_as_link -file hdl/top.vhd -path ../published/top.vhd}
members

puts "--- change_link_source: a link points at another file; not at a missing one, nor at one the project holds"
try {change_link_source -file ../shared/ip/iir.vhd -path ../nosuch/iir.vhd}
try {change_link_source -file ../shared/ip/iir.vhd -path hdl/x.vhd}
file copy ../shared/ip/iir.vhd ../other/iir.vhd
try {change_link_source -file ../shared/ip/iir.vhd -path ../other/iir.vhd}
members
puts [dump_all_modules -tree true]
puts "a file whose name holds a double quote is asked about and refused; the link stays as it was"
set tree [dump_all_modules -tree true]
set saved [read_file alu.prj]
file copy ../shared/ip/iir.vhd {../other/i"ir.vhd}
try {change_link_source -file ../other/iir.vhd -path {../other/i"ir.vhd}}
try {save_project}
puts "  tree: [expr {[dump_all_modules -tree true] eq $tree ? {the same} : {differs}}]"
puts "  project file: [expr {[read_file alu.prj] eq $saved ? {the same} : {differs}}]"

puts "--- save_project_as -replace_links: the copy holds its own files, no links"
try {save_project_as -location ../copy -name copy -replace_links true}
cd ../copy
members copy.prj
puts [dump_all_modules -tree true]
try {close_project -save false}
