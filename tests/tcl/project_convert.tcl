# A user opens projects that older releases wrote. Each is asked about,
# kept as it was (the project file beside itself, or in zip mode the whole
# project folder in an archive), and brought to the current layout before
# it opens: packages leave their own folder, power files leave the
# constraint folder, the older core generator's files stay out. Projects of
# a newer release and of release 6.5 are refused, and so is a conversion
# whose backup cannot be made.
#
# The user's options file enables mixed HDL (packages live with the other
# HDL files); the second half runs with backup archives enabled too.
source [file join [file dirname [info script]] lib scenario.tcl]
if {![info exists env(CONVERT_SESSION)]} {
    foreach {session options} {plain "IDE_MIXED_HDL_ENABLED = 1" zip "IDE_MIXED_HDL_ENABLED = 1\nIDE_CREATE_ZIP_ON_CONVERT_ENABLED = 1"} {
        write_file options "$options\n"
        set env(QUORLANE_OPTIONS) [file join [pwd] options]
        if {[run_again CONVERT_SESSION $session]} { exit 1 }
    }
    exit 0
}

proc tree {folder} {
    set out {}
    foreach entry [lsort [glob -nocomplain -directory $folder *]] {
        set name [file tail $entry]
        if {[file isdirectory $entry]} {
            foreach sub [tree $entry] { lappend out "$name/$sub" }
        } else {
            lappend out $name
        }
    }
    return $out
}
# The names in a zip archive, from its central directory.
proc zip_names {archive} {
    set f [open $archive rb]; set data [read $f]; close $f
    set names {}
    set at [string first "PK\x01\x02" $data]
    while {$at >= 0} {
        binary scan $data @[expr {$at + 28}]sususu length extra comment
        lappend names [string range $data [expr {$at + 46}] [expr {$at + 45 + $length}]]
        set at [string first "PK\x01\x02" $data [expr {$at + 46 + $length + $extra + $comment}]]
    }
    return $names
}
proc backups {} {
    set found [lsort [glob -nocomplain -tails -directory alu *.bak]]
    expr {$found eq "" ? "none" : $found}
}
proc version {} { lsearch -inline [split [read_file alu/alu.prj] \n] {KEY SOLVATO*} }
proc members {} { lsearch -all -inline [split [read_file alu/alu.prj] \n] {VALUE "<project>*} }
# The project file as `release` wrote it ("" for none), with member files.
proc older_project {release members} {
    global fresh
    set version [expr {$release eq "" ? "" : "KEY SOLVATO \"$release\"\n"}]
    set list "LIST FileManager\n"
    foreach member $members { append list "VALUE \"<project>/$member\"\nENDFILE\n" }
    file delete -force alu
    write_file alu/alu.prj [string map [list "KEY SOLVATO \"8.4\"\n" $version "LIST FileManager\n" $list] $fresh]
}

file delete -force alu alu.zip backups
try {new_project -location alu -name alu -hdl VHDL -family TN4 -die tn4_15 -package cs64}
try {close_project}
set fresh [read_file alu/alu.prj]

if {$env(CONVERT_SESSION) eq "plain"} {
    puts "--- release 7.1: packages in their own folder, power files with the constraints"
    older_project 7.1 {package/alu_pkg.vhd,hdl hdl/alu.vhd,hdl constraint/alu.vcd,vcd}
    foreach name {package/alu_pkg.vhd hdl/alu.vhd hdl/alu_pkg.vhd hdl/alu_pkg_1.vhd constraint/alu.vcd constraint/alu.saif constraint/alu.pdc} {
        write_file alu/$name "-- $name\n"
    }
    try {open_project alu/alu.prj}
    puts "  [version]"
    puts "  members: [members]"
    puts "  folder: [tree alu]"
    puts "  hdl/alu_pkg_2.vhd holds: [string trim [read_file alu/hdl/alu_pkg_2.vhd]]"
    puts "  the project file as it was: [lsearch -inline [split [read_file alu/alu.prj.convert.7.1.bak] \n] {KEY SOLVATO*}]"
    try {close_project}

    puts "--- release 5.1: the older core generator's copies"
    older_project 5.1 {hdl/fifo.vhd,hdl hdl/alu.vhd,hdl ombrix/fifo.gen,gen}
    write_file alu/hdl/fifo.vhd "-- fifo as the user changed it\n"
    write_file alu/ombrix/fifo.vhd "-- fifo as the core generator made it\n"
    write_file alu/ombrix/fifo.gen "fifo\n"
    write_file alu/hdl/alu.vhd "-- alu\n"
    try {open_project alu/alu.prj}
    puts "  members: [members]"
    puts "  ombrix/fifo.vhd holds: [string trim [read_file alu/ombrix/fifo.vhd]]"
    puts "  backups: [backups]"
    try {close_project}

    puts "--- a project without a version is older than every release"
    older_project "" {}
    try {open_project alu/alu.prj}
    puts "  [version]; backups: [backups]"
    try {close_project}

    puts "--- this release's own project opens without a question"
    try {open_project alu/alu.prj}
    try {close_project}

    puts "--- projects that are refused stay as they were"
    foreach release {6.5 9.0} {
        older_project $release {}
        puts "release $release:"
        try {open_project alu/alu.prj}
        puts "  [version]; backups: [backups]"
    }

    puts "--- damage below the header is found before anything is converted: nothing moves"
    older_project 8.0 {constraint/alu.vcd,vcd}
    write_file alu/constraint/alu.vcd "-- vcd\n"
    set damaged [string map [list "LIST OpenedFileList\n" "<<<<<<< HEAD\n=======\n>>>>>>> theirs\nLIST OpenedFileList\n"] [read_file alu/alu.prj]]
    write_file alu/alu.prj $damaged
    try {open_project alu/alu.prj}
    puts "  the file is left as it was: [expr {[read_file alu/alu.prj] eq $damaged}]; backups: [backups]; folder: [tree alu]"

    puts "--- the backup copy cannot be made: nothing is converted"
    older_project 8.0 {constraint/alu.vcd,vcd}
    write_file alu/constraint/alu.vcd "-- vcd\n"
    file mkdir alu/alu.prj.convert.8.0.bak
    try {open_project alu/alu.prj}
    puts "  [version]; folder: [tree alu]"
    try {save_project}
} else {
    puts "--- zip mode: the project folder goes into an archive beside it"
    older_project 8.0 {constraint/alu.vcd,vcd}
    write_file alu/constraint/alu.vcd "-- vcd\n"
    write_file alu.zip "an archive of last year"
    try {open_project alu/alu.prj}
    puts "  alu.zip holds: [zip_names alu.zip]"
    puts "  backups: [backups]; folder: [tree alu]"
    try {close_project}

    puts "--- an archive of the user's choosing, or none"
    older_project 8.0 {}
    try {open_project -file alu/alu.prj -backup_file backups/alu-8.0.zip}
    try {close_project}
    older_project 8.0 {}
    try {open_project -file alu/alu.prj -do_backup_on_convert false}
    puts "  backups: [backups]; archives: [lsort [glob -nocomplain *.zip backups/*.zip]]"
    puts "  backups/alu-8.0.zip holds: [zip_names backups/alu-8.0.zip]"
    try {close_project}

    puts "--- an archive named as the project file or one of its sources would replace it: refused"
    foreach name {alu/alu.prj alu/constraint/alu.vcd} {
        older_project 8.0 {constraint/alu.vcd,vcd}
        write_file alu/constraint/alu.vcd "-- vcd\n"
        set text [read_file alu/alu.prj]
        try {open_project -file alu/alu.prj -backup_file $name}
        puts "  the project file is left as it was: [expr {[read_file alu/alu.prj] eq $text}];\
              alu.vcd holds: [string trim [read_file alu/constraint/alu.vcd]]; folder: [tree alu]"
    }

    puts "--- a folder stands where the archive should go"
    older_project 8.0 {}
    file delete alu.zip
    file mkdir alu.zip
    try {open_project alu/alu.prj}
    puts "  [version]"
    try {save_project}
}
