# No two entries of the project name one file, whatever the names: a
# symbolic link to a member, a path through a linked folder, or a link to a
# folder above the project are refused by create_links and
# change_link_source, naming the member; the project is left as it was.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options LINKS_SESSION "IDE_LINKING_ENABLED = 1\n"

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is begin end;\n"
write_file shared/ip.vhd "entity ip is end;\narchitecture rtl of ip is begin end;\n"
write_file shared/iir.vhd "entity iir is end;\narchitecture rtl of iir is begin end;\n"
write_file shared/fir.vhd "entity fir is end;\narchitecture rtl of fir is begin end;\n"
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
try {import_files -hdl_source src/top.vhd}
set here [pwd]
file mkdir lnk
file link -symbolic lnk/top.vhd $here/alu/hdl/top.vhd
file link -symbolic lnk/renamed.vhd $here/shared/ip.vhd
file link -symbolic sharedlink $here/shared
file link -symbolic via $here/alu

puts "--- create_links: a link to a member, by a linked file or a linked folder, is refused"
try {create_links -hdl_source lnk/top.vhd}
try {create_links -hdl_source via/hdl/top.vhd}
try {create_links -hdl_source shared/ip.vhd}
try {create_links -hdl_source sharedlink/ip.vhd}
try {create_links -hdl_source lnk/renamed.vhd}
puts "the same file twice in one command: the second name is refused, the others are linked"
try {create_links -hdl_source {shared/iir.vhd sharedlink/iir.vhd shared/fir.vhd}}
puts "the same name again is the member itself, linked again"
try {create_links -hdl_source shared/ip.vhd}
show_hdl_members
puts [dump_all_modules -tree true]

puts "--- change_link_source: not to another name of a member"
try {change_link_source -file shared/iir.vhd -path via/hdl/top.vhd}
try {change_link_source -file shared/iir.vhd -path sharedlink/fir.vhd}
puts "another name of the link's own file is no other entry"
try {change_link_source -file shared/iir.vhd -path sharedlink/iir.vhd}
show_hdl_members
puts [dump_all_modules -tree true]

puts "--- saved and opened again: each file once"
show_reopened
try {close_project -save false}
