# The project's own members may be the other names: a member that is a
# symbolic link (made so before or after it was linked), a member reached
# through a linked folder, or a hard link. A plain name of the same file is
# refused by create_links and change_link_source, naming that member; a
# file that only shares a member's name is taken.
source [file join [file dirname [info script]] lib scenario.tcl]
with_options LINKS_SESSION "IDE_LINKING_ENABLED = 1\n"

write_file shared/a.vhd [vhdl_unit a {}]
write_file shared/b.vhd [vhdl_unit b {}]
write_file shared/c.vhd [vhdl_unit c {}]
write_file shared/d.vhd [vhdl_unit d {}]
write_file other/a.vhd [vhdl_unit a2 {}]
write_file spare/e.vhd [vhdl_unit e {}]
set here [pwd]
file mkdir lnk
file link -symbolic lnk/alias_a.vhd $here/shared/a.vhd
file link -symbolic sharedlink $here/shared
file link -hard lnk/hard_c.vhd $here/shared/c.vhd
try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
try {create_links -hdl_source {lnk/alias_a.vhd sharedlink/b.vhd lnk/hard_c.vhd spare/e.vhd}}

puts "--- a plain name of a member that is a link, or is reached through one"
try {create_links -hdl_source shared/a.vhd}
try {create_links -hdl_source shared/b.vhd}
try {create_links -hdl_source shared/c.vhd}
puts "a file of the same name elsewhere is another file"
try {create_links -hdl_source other/a.vhd}
try {change_link_source -file other/a.vhd -path shared/a.vhd}
try {change_link_source -file other/a.vhd -path shared/b.vhd}

puts "--- a member made a link after it was linked"
file delete spare/e.vhd
file link -symbolic spare/e.vhd $here/shared/d.vhd
try {change_link_source -file other/a.vhd -path shared/d.vhd}
puts "and a plain file again"
file delete spare/e.vhd
write_file spare/e.vhd [vhdl_unit e {}]
try {change_link_source -file other/a.vhd -path shared/d.vhd}
show_hdl_members
try {close_project -save false}
