# HDL libraries from a script. Every design file belongs to one library,
# "work" unless the user says otherwise: add_library makes an empty one,
# add_file_to_library moves files into one (their units follow), and
# rename_library and remove_library change or drop one; the files of a
# dropped library go back to "work". "work" itself can be neither made,
# renamed nor removed, nor be the new name of another library. Library names
# ignore letter case: MYLIB finds mylib, and a new name that differs only in
# case is taken already.
source [file join [file dirname [info script]] lib scenario.tcl]

write_file src/top.vhd "entity top is end;\narchitecture rtl of top is\n  signal a, b : bit;\nbegin\n  u : entity work.mid port map (a, b);\nend;\n"
write_file src/mid.vhd "entity mid is port (a : in bit; b : out bit); end;\narchitecture rtl of mid is begin b <= a; end;\n"
write_file src/filter.vhd "entity filter is end;\narchitecture rtl of filter is begin end;\n"
write_file src/fir.vhd "entity fir is end;\narchitecture rtl of fir is begin end;\n"
write_file src/iir.vhd "entity iir is end;\narchitecture rtl of iir is begin end;\n"
write_file src/tb.vhd "entity tb is end;\narchitecture sim of tb is begin end;\n"
# The libraries the saved project file names for its files.
proc libraries {} {
    save_project
    set file ""
    set told 0
    foreach line [split [read_file alu.prj] \n] {
        if {[regexp {^VALUE "<project>/hdl/([^,]+),hdl"} $line -> name]} { set file $name }
        if {$file ne "" && [regexp {^LIBRARY="(.*)"} $line -> library]} { puts "  $file in $library"; incr told }
        if {$line eq "ENDFILE"} { set file "" }
    }
    if {!$told} { puts "  every file in work" }
}

# The root the saved project file holds.
proc root {} {
    save_project
    puts "  root: [lsearch -inline [split [read_file alu.prj] \n] {KEY ActiveRoot *}]"
}

# The settings the saved project file holds for a library.
proc library_settings {name} {
    set lines [split [read_file alu.prj] \n]
    set first [lsearch -exact $lines "LIST LIBRARY_$name"]
    puts "  [lrange $lines $first [expr {$first + 3}]]"
}

try {new_project -location alu -name alu -hdl VHDL -family ZX3 -die zx3_10 -package tq100}
cd alu
try {import_files -hdl_source {../src/top.vhd ../src/mid.vhd ../src/filter.vhd ../src/fir.vhd ../src/iir.vhd}}

puts "--- \"work\" and an empty name are refused"
try {add_library -library work}
try {add_library -library ""}
try {remove_library -library work}
try {rename_library -library work -name dsp}
puts "\"work\" in other letters is still work"
try {remove_library -library WORK}
try {rename_library -library Work -name dsp}

puts "--- a name the project file would read back as something else is refused, and nothing changes"
try {add_library -library "KEY x"}
try {add_library -library ENDLIST}
try {add_library -library "LIST foo"}
try {add_library -library {VALUE "x"}}
try {add_library -library {trail }}
try {add_library -library { lead}}
try {add_library -library {a::b}}
try {add_file_to_library -library ENDLIST -file hdl/fir.vhd}
puts [dump_all_modules]

puts "--- a new library, and the same name again in another case: still one library"
try {add_library -library dsp}
try {add_library -library DSP}
puts [dump_all_modules]

puts "--- three files move into dsp; the one already there (in any case) is not touched"
try {add_file_to_library -library dsp -file hdl/filter.vhd -file hdl/fir.vhd}
try {add_file_to_library -library DSP -file hdl/fir.vhd -file hdl/iir.vhd}
puts [dump_all_modules]
libraries

puts "--- a rename: not onto work, not onto itself, not onto a name taken in any case"
try {add_library -library Audio}
try {rename_library -library dsp -name work}
try {rename_library -library dsp -name dsp}
try {rename_library -library dsp -name AUDIO}
try {rename_library -library nosuch -name other}
try {rename_library -library dsp -name "KEY x"}
try {rename_library -library dsp -name {trail }}
try {rename_library -library dsp -name { lead}}
try {rename_library -library dsp -name {a::b}}
puts "the old name found in another case; the files take the new name, the library keeps its settings, the root its unit and the units their lists"
try {set_user_lib_options -name dsp -path /sim/libs/dsp -option recompile}
try {set_root filter::dsp}
try {import_files -stimulus ../src/tb.vhd}
try {associate_stimulus -module filter::dsp -file stimulus/tb.vhd}
try {organize_sources -tool synthesis -module fir::dsp -file hdl/fir.vhd -file hdl/iir.vhd -use_default false}
try {rename_library -library DSP -name signal}
puts [dump_all_modules]
libraries
library_settings signal
root
try {test_associate_stimulus -module filter::signal -file stimulus/tb.vhd}
try {test_organize_sources -tool synthesis -module fir::signal -file hdl/fir.vhd -file hdl/iir.vhd}

puts "--- a removed library gives its files back to work; a library that is not there is refused"
try {remove_library -library nosuch}
try {remove_library -library Audio}
puts "a file of the library that is gone from disk fails the command, which says why; the others are parsed all the same"
file delete hdl/fir.vhd
try {remove_library -library SIGNAL}
puts [dump_all_modules]
libraries
root
try {test_associate_stimulus -module filter -file stimulus/tb.vhd}

puts "--- the root's file moved into another library: the root is its unit there"
try {set_root top}
try {add_library -library ip}
try {associate_stimulus -module top -file stimulus/tb.vhd}
try {add_file_to_library -library ip -file hdl/top.vhd}
root
try {test_associate_stimulus -module top::ip -file stimulus/tb.vhd}
try {close_project -save false}
