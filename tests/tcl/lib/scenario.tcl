# What the scenario scripts share: running a command as a user would and
# saying how it went, and reading and writing the files they look at.

# Runs the script in the caller's scope: "done", or "refused:" and why.
proc try {script} {
    if {[catch {uplevel 1 $script} message]} { puts "refused: $message" } else { puts "done" }
}
proc read_file {name} { set f [open $name]; set text [read $f]; close $f; return $text }
proc write_file {name text} {
    file mkdir [file dirname $name]
    set f [open $name w]; puts -nonewline $f $text; close $f
}
# The lines of a LIST block of the project alu/alu.prj, on one line.
proc show_list {name} {
    set lines [split [read_file alu/alu.prj] \n]
    set first [lsearch $lines "LIST $name"]
    set last [lsearch -start $first $lines ENDLIST]
    puts "  [join [lrange $lines [expr {$first + 1}] [expr {$last - 1}]] {, }]"
}
# Runs this scenario again in a shell of its own, with env($var) set to
# `value` so that the second run knows it is one; prints what that run
# printed and answers whether it failed. Settings read when the shell
# starts (the options file, the suite's folder) need a shell started anew.
proc run_again {var value} {
    set ::env($var) $value
    set failed [catch {exec [info nameofexecutable] [info script] 2>@1} output]
    puts $output
    return $failed
}
# Adds `line` (KEY="value") to the entry of the member file `name` (relative
# to the project folder) in the project file `project`, as the suite's
# design environment writes it; the project must be closed meanwhile.
proc add_member_line {project name line} {
    set lines [split [read_file $project] \n]
    set at [lsearch -exact $lines "VALUE \"<project>/$name,hdl\""]
    if {$at < 0} { error "$name is no HDL member of $project" }
    write_file $project [join [linsert $lines [expr {$at + 1}] $line] \n]
}
# Puts the tool profiles `profiles` into the project file `project`, as the
# suite's design environment keeps them; the project must be closed
# meanwhile. Each profile is a list: its tool kind's keyword as the file
# stores it (ideSYNTHESIS, ideARM, ...), its tool and its executable.
proc set_profiles {project profiles} {
    set block "LIST Profiles\n"
    foreach profile $profiles {
        lassign $profile type tool location
        append block "Type=$type\nProfile=$tool profile\nTool=$tool\nLocation=$location\n"
        append block "AdditionalParameter=\nBatch=false\nEndProfile\n"
    }
    set text [read_file $project]
    set at [string first "LIST Profiles\n" $text]
    set end [string first "ENDLIST\n" $text $at]
    if {$at < 0 || $end < 0} { error "$project has no list of profiles" }
    write_file $project [string replace $text $at [expr {$end - 1}] $block]
}
# Writes an executable shell script.
proc write_tool {name lines} {
    write_file $name "[join [linsert $lines 0 {#!/bin/sh}] \n]\n"
    file attributes $name -permissions 0755
}
# Runs this scenario again in a shell started with the options file
# `options` (settings read when the shell starts), with env($var) set so
# that the second run knows it is one; ends this run with that run's
# status. Nothing in the second run.
proc with_options {var options} {
    if {[info exists ::env($var)]} return
    write_file options $options
    set ::env(QUORLANE_OPTIONS) [file join [pwd] options]
    exit [run_again $var 1]
}
# Saves the project alu/alu.prj and shows its member files as the file
# lists them, each with the file it belongs to and its read-only mark.
proc show_members {} {
    save_project
    set inside 0
    foreach line [split [read_file alu/alu.prj] \n] {
        if {$line eq "LIST FileManager"} { set inside 1 } elseif {$line eq "ENDLIST"} { set inside 0 }
        if {!$inside} continue
        if {[string match {VALUE "*} $line]} { puts -nonewline "  [string range $line 7 end-1]" }
        if {[string match {PARENT=*} $line]} { puts -nonewline " of [file tail [string range $line 8 end-1]]" }
        if {$line eq {IS_READONLY="TRUE"}} { puts -nonewline " read-only" }
        if {$line eq "ENDFILE"} { puts "" }
    }
}
# Saves the project alu/alu.prj and shows its HDL sources as the file lists them.
proc show_hdl_members {} {
    save_project
    foreach line [split [read_file alu/alu.prj] \n] {
        if {[regexp {^VALUE "([^,]+),hdl"} $line -> name]} { puts "  $name" }
    }
}
# Closes the project alu/alu.prj, opens it again and shows its design and
# its whole project file as saved; the project stays open.
proc show_reopened {} {
    try {close_project}
    try {open_project alu/alu.prj}
    puts [dump_all_modules -tree true]
    try {save_project}
    foreach line [split [string trim [read_file alu/alu.prj]] \n] { puts "  $line" }
}
# Saves, opens the project alu.prj again and saves: whether the two saves
# wrote the same bytes.
proc round_trip {} {
    save_project
    set saved [read_file alu.prj]
    close_project
    open_project alu.prj
    save_project
    puts "  saved, opened and saved again: [expr {$saved eq [read_file alu.prj] ? {the same file} : {a different file}}]"
}
# Lets the shell's file watcher run a few checks (at its short pace).
proc wait_for_checks {{ms 150}} {
    after $ms {set ::waited 1}
    vwait ::waited
}
# A VHDL entity `name` with one port, its architecture using `sub` when given.
proc vhdl_unit {name sub} {
    set text "entity $name is port (p : in bit); end;\narchitecture rtl of $name is\nbegin\n"
    if {$sub ne ""} { append text "  u : entity work.$sub port map (p);\n" }
    return "${text}end;\n"
}
# Saves the project alu.prj (the current folder's) and prints the stimulus
# list of each unit, as the project file holds it: a unit is named "unit"
# (of "work") or "unit::library"; one with nothing saved shows {}.
proc show_stimulus_lists {units} {
    save_project
    set lines [split [read_file alu.prj] \n]
    foreach unit $units {
        set key [expr {[string match *::* $unit] ? $unit : "${unit}::work"}]
        set names {}
        set at [lsearch -exact $lines "LIST \"$key\""]
        if {$at >= 0} {
            set list [lsearch -start $at -exact $lines "LIST AssociatedStimulus"]
            set end [lsearch -start $at -exact $lines ENDLIST]
            if {$list >= 0 && $list < $end} {
                for {set line [expr {$list + 1}]} {[lindex $lines $line] ne "ENDLIST"} {incr line} {
                    regexp {^VALUE "<project>/stimulus/([^,]+),} [lindex $lines $line] -> name
                    lappend names $name
                }
            }
        }
        puts "  $unit: {$names}"
    }
}
# Prints the view states (ide... lines) the project alu.prj, as last saved,
# holds for each unit, named "unit" (of "work") or "unit::library".
proc show_view_states {units} {
    set lines [split [read_file alu.prj] \n]
    set states [lrange $lines [lindex [lsearch -exact -all $lines "LIST ProjectState5.1"] end] end]
    foreach unit $units {
        set key [expr {[string match *::* $unit] ? $unit : "${unit}::work"}]
        set at [lsearch -exact $states "LIST \"$key\""]
        if {$at < 0} { puts "  $unit: no view holds anything"; continue }
        set depth 0
        foreach line [lrange $states $at end] {
            if {[string match "LIST *" $line]} { incr depth } elseif {$line eq "ENDLIST"} { incr depth -1 }
            if {[string match ide* $line]} { puts "  $unit: $line" }
            if {$depth == 0} break
        }
    }
}
# Closes the project alu, whose folder is the current one, and removes it,
# for the next part of a session.
proc drop_project {} {
    try {close_project}
    cd ..
    file delete -force alu
}
# Prints the design and, from the project alu.prj of the current folder
# saved, the definitions chosen for units that several files define.
proc show_design_and_chosen {} {
    puts [dump_all_modules -tree true]
    save_project
    set lines [split [read_file alu.prj] \n]
    set first [lsearch $lines "LIST UsedFile"]
    set last [lsearch -start $first $lines ENDLIST]
    puts "  chosen: [join [lrange $lines [expr {$first + 1}] [expr {$last - 1}]] {, }]"
}

# Prints the design, then whether an open of the project alu.prj saved at
# once gives the same design and, saved again, the same project file.
proc design_and_open {} {
    set design [dump_all_modules -tree true]
    puts $design
    save_project
    set saved [read_file alu.prj]
    close_project
    open_project alu.prj
    save_project
    puts "  opened: [expr {$design eq [dump_all_modules -tree true] ? {the same design} : {another design}}],\
        [expr {$saved eq [read_file alu.prj] ? {the same project file} : {another project file}}]"
}
