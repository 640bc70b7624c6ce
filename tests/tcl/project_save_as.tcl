# A user keeps a project under another name and folder: with all its files,
# with only its member files, with only its sources, or as an empty project
# with the tools' set-up files; with all its place-and-route views, the
# current one only, or none. The project closes and the copy opens in its
# place. A folder that exists, or one inside the project, is refused.
# (The schematic editor's folder goes whole with the member files; a
# folder whose name only begins like it does not.)
source [file join [file dirname [info script]] lib scenario.tcl]
# The files below a folder, and its empty folders with a trailing "/".
proc tree {folder} {
    set out {}
    foreach entry [lsort [glob -nocomplain -directory $folder *]] {
        set name [file tail $entry]
        if {![file isdirectory $entry]} { lappend out $name; continue }
        set below [tree $entry]
        if {$below eq ""} { lappend out $name/ }
        foreach sub $below { lappend out $name/$sub }
    }
    return $out
}
proc members {project} {
    set found [lsearch -all -inline [split [read_file $project] \n] {VALUE "*,*"}]
    expr {$found eq "" ? "none" : [join $found "; "]}
}
proc views {project} { join [lsearch -all -inline -regexp [split [read_file $project] \n] {^(VALUE="|CURREV)}] "; " }

puts "--- the project: two views, Impl10 the current one, and a file outside its folder"
try {new_project -location alu -name alu -hdl VHDL -family TN4 -die tn4_15 -package cs64}
try {close_project}
foreach name {hdl/alu.vhd hdl/scratch.vhd stimulus/tb_alu.vhd synthesis/alu.edn constraint/alu.pdc
              pallador/impl1/alu.adb pallador/impl10/alu.adb viewdraw/sch/alu.sch viewdraw2/notes.txt ../shared/common.vhd
              simulation/meminit.dat} {
    write_file alu/$name "-- $name\n"
}
set members "LIST FileManager\n"
foreach member {hdl/alu.vhd,hdl stimulus/tb_alu.vhd,tb_hdl synthesis/alu.edn,syn_edn constraint/alu.pdc,pdc
                pallador/impl1/alu.adb,adb pallador/impl10/alu.adb,adb} {
    append members "VALUE \"<project>/$member\"\nENDFILE\n"
}
append members "VALUE \"[file normalize shared/common.vhd],hdl\"\nENDFILE\n"
write_file alu/alu.prj [string map [list "LIST FileManager\n" $members \
    "VALUE=\"Impl1\",NUM=1\nCURREV=1" "VALUE=\"Impl1\",NUM=1\nVALUE=\"Impl10\",NUM=10\nCURREV=2"] [read_file alu/alu.prj]]
try {open_project alu/alu.prj}
puts "  [tree alu]"

puts "--- everything"
try {save_project_as -location copies/all -name alu_all}
puts "  [tree copies/all]"
puts "  [views copies/all/alu_all.prj]"
try {save_project}

puts "--- the member files of the current view"
try {open_project alu/alu.prj}
try {save_project_as -location copies/current -name alu_cur -files project -pallador_views current}
puts "  [tree copies/current]"
puts "  [views copies/current/alu_cur.prj]"

puts "--- the sources of every view"
try {open_project alu/alu.prj}
try {save_project_as -location copies/sources -name alu_src -files sources}
puts "  [tree copies/sources]"
puts "  members: [members copies/sources/alu_src.prj]"

puts "--- an empty project: the project file, the set-up files, no view, no link"
try {open_project alu/alu.prj}
try {save_project_as -location copies/empty -name alu_empty -files none -pallador_views none}
puts "  [tree copies/empty]"
puts "  members: [members copies/empty/alu_empty.prj]"
puts "  [views copies/empty/alu_empty.prj]"

puts "--- refused: a folder that exists, a folder inside the project, a name that is no name, a location the project file cannot hold"
try {open_project alu/alu.prj}
try {save_project_as -location copies/all -name again}
try {save_project_as -location alu/hdl/copy -name alu}
try {save_project_as -location copies/odd -name ../odd}
try {save_project_as -location "copies/\"odd\"" -name alu}
try {save_project_as -location copies/views -name alu -pallador_views some}
try {save_project}
puts "  copies made: [lsort [glob -tails -directory copies *]]"
try {close_project}

puts "--- names differing only in letter case are other files: a user's ALU.prj beside alu.prj is copied as itself"
write_file alu/ALU.prj "notes of the user\n"
write_file alu/hdl/TOP.VHD "-- not a member\n"
try {open_project alu/alu.prj}
try {save_project_as -location copies/cased -name cased -files project}
puts "  [tree copies/cased]"
puts "  the new project file holds the project: [string match "*KEY*" [read_file copies/cased/cased.prj]]"
try {close_project}
try {open_project alu/alu.prj}
try {save_project_as -location copies/cased_all -name cased -files all}
puts "  the user's file is copied as it was: [expr {[read_file copies/cased_all/ALU.prj] eq "notes of the user\n"}]"
try {close_project}

puts "--- a copy that fails takes away the folders it made for itself, and the project is open again"
exec mkfifo alu/pipe
try {open_project alu/alu.prj}
try {save_project_as -location deep/a/b/copy -name deep -files all}
puts "  deep is there: [file exists deep]; the project open: [expr {![catch {save_project}]}]"
file delete alu/pipe
try {close_project}
puts "temporary files left in the copies: [llength [exec find copies -name .*tmp*]]"

puts "--- a copy with some of the views keeps exactly those, each with its own states"
proc states {project} {
    set block [lindex [regexp -inline {LIST ProjectState5.1\n(.*?)\nLIST AssociatedStimulus} [read_file $project]] 1]
    expr {$block eq "" ? "none" : [join [split [string trim $block] \n] "; "]}
}
try {new_project -location two -name two -hdl VHDL -family TN4 -die tn4_15 -package cs64}
write_file src/top.vhd "entity top is end;\n"
try {import_files -hdl_source src/top.vhd}
try {close_project}
set block "LIST NewModulesInfo\nLIST \"top::work\"\nLIST ProjectState5.1\n"
append block "LIST Impl1\nideSYNTHESIS=StateSuccess\nUsed_File_List\n<project>/pallador/impl1/top.adb,adb\nENDUsed_File_List\n"
append block "LIST FlowOptions\nUsePhySynth=TRUE\nUseSynth=FALSE\nENDLIST\nENDLIST\n"
append block "LIST fast\nideSYNTHESIS=StateFailure\nENDLIST\nENDLIST\nENDLIST\nENDLIST\n"
write_file two/pallador/impl1/top.adb "-- results of Impl1\n"
write_file two/two.prj [string map [list "CURREV=1\n" "VALUE=\"fast\",NUM=2\nCURREV=2\n" "LIST NewModulesInfo\nENDLIST\n" $block] \
    [read_file two/two.prj]]
# The views and states of the copy `project`, as copied and once opened again.
proc show_copy_views {project} {
    foreach when {copied "opened again"} {
        puts "  $when: [views $project]"
        puts "    [states $project]"
        try {open_project $project}
        try {close_project}
    }
}
puts "the current view's results were cleaned away while the project is open:"
try {open_project two/two.prj}
file delete -force two/pallador/impl2
try {save_project_as -location copies/fast -name fast -files project -pallador_views current}
try {close_project}
show_copy_views copies/fast/fast.prj
puts "  folders: [tree copies/fast/pallador]"
puts "no view: the copy's new view starts afresh, without the states of the view of its name"
try {open_project two/two.prj}
try {save_project_as -location copies/noview -name noview -files project -pallador_views none}
try {close_project}
show_copy_views copies/noview/noview.prj
puts "  the project keeps both views and their states: [views two/two.prj]"
puts "    [states two/two.prj]"
