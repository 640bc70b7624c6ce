# The README's examples, run in order as a user who follows it runs them:
# every indented block of Tcl commands, each command of it at the shell's
# global level, must succeed. The blocks that stand for a terminal (lines
# that run quorlane or a script of scripts/) and folder listings are no
# commands; the block for a plain tclsh runs in tclsh8.6 with the library's
# folder for its placeholder.
#
#   quorlane readme.tcl <README.md> <library folder>
#
# The first run prepares the current folder as the README's user has it: the
# files its examples name, the suite's install folder, small tools of its own
# for the outside tools, and the settings the README names in an options
# file; the examples then run in a shell started anew, which reads them.
set readme [lindex $argv 0]
set libdir [lindex $argv 1]

proc read_file {name} { set f [open $name]; set text [read $f]; close $f; return $text }
proc write_file {name text} {
    file mkdir [file dirname $name]
    set f [open $name w]; puts -nonewline $f $text; close $f
}
# An executable shell script that says its name and words.
proc write_tool {name} {
    write_file $name "#!/bin/sh\necho \"\$(basename \"\$0\") \$*\"\n"
    file attributes $name -permissions 0755
}

# The README's examples: a list of {kind first-line text}, in order. An
# indented block is kind "tcl", "tclsh", "terminal" or "listing"; a fenced
# block is "fenced" with its text (the info string line left out).
proc readme_blocks {file} {
    set lines [split [read_file $file] \n]
    set blocks {}
    set count [llength $lines]
    for {set i 0} {$i < $count} {incr i} {
        set line [lindex $lines $i]
        if {[string match "```*" $line]} {
            set first [expr {$i + 2}]
            set text {}
            for {incr i} {$i < $count && ![string match "```*" [lindex $lines $i]]} {incr i} {
                lappend text [lindex $lines $i]
            }
            lappend blocks [list fenced $first [join $text \n]]
            continue
        }
        if {![string match "    *" $line] || [string trim $line] eq ""} continue
        if {$i > 0 && [string trim [lindex $lines [expr {$i - 1}]]] ne ""} continue
        # The block goes on over blank lines while indented lines follow.
        set first [expr {$i + 1}]
        set text {}
        for {} {$i < $count} {incr i} {
            set line [lindex $lines $i]
            if {[string match "    *" $line]} {
                lappend text [string range $line 4 end]
            } elseif {[string trim $line] eq "" && [string match "    *" [lindex $lines [expr {$i + 1}]]]} {
                lappend text ""
            } else {
                break
            }
        }
        lappend blocks [list [block_kind $text] $first [join $text \n]]
    }
    return $blocks
}
# A block's kind follows from the first words of its lines that start at
# its margin (a line indented further goes on the one before).
proc block_kind {lines} {
    set words {}
    foreach line $lines {
        if {[regexp {^\S+} $line word]} { lappend words $word }
    }
    set terminal 1
    set listing 1
    foreach word $words {
        if {$word ne "quorlane" && ![string match scripts/* $word]} { set terminal 0 }
        if {![string match */ $word]} { set listing 0 }
    }
    if {$terminal} { return terminal }
    if {$listing} { return listing }
    if {[string match "*package require quorlane*" [join $lines \n]]} { return tclsh }
    return tcl
}

# --- the first run: the folder as the README's user has it ------------------------------------

if {![info exists env(README_SESSION)]} {
    set blocks [readme_blocks $readme]
    set text [read_file $readme]

    # The sources the examples import and link.
    proc entity {name {body ""}} {
        return "entity $name is port (a : in bit; b : out bit); end;\narchitecture rtl of $name is\nbegin\n${body}end;\n"
    }
    write_file src/pkg.vhd "package pkg is\n  constant width : integer := 8;\nend;\n"
    write_file src/top.vhd "use work.pkg.all;\n[entity top "  u : entity work.mid port map (a, b);\n"]"
    write_file src/mid.vhd [entity mid "  u : entity work.leaf port map (a, b);\n"]
    write_file src/mid2.vhd [entity mid "  b <= not a;\n"]
    foreach name {leaf scratch old tmp fir iir} { write_file src/$name.vhd [entity $name "  b <= a;\n"] }
    write_file src/tb_top.vhd \
        "entity tb_top is end;\narchitecture sim of tb_top is\n  signal a, b : bit;\nbegin\n  dut : entity work.top port map (a, b);\nend;\n"
    write_file src/pins.pdc "set_io a -pinname 12\nset_io b -pinname 13\n"
    write_file src/timing.sdc "create_clock -name clk -period 10 \[get_ports a\]\n"
    write_file shared/ip/fft.vhd [entity fft "  b <= a;\n"]
    write_file shared/ip2/fir.vhd [entity fir "  b <= not a;\n"]
    write_file net/top.edn "(edif top (design top (cellRef top (libraryRef work))))\n"
    write_file net/top_fast.edn "(edif top (design top (cellRef top (libraryRef work))))\n"

    # A core of the user's own: its description, its source and its database.
    write_file ip/ram/ram.cxf [join {
        {<?xml version="1.0"?>}
        {<Component>}
        {  <vendor>brennic.com</vendor><library>cores</library><name>ram</name><version>1.0</version>}
        {  <vendorExtension><coreType>UserIP</coreType><hdlFormat>VHDL</hdlFormat></vendorExtension>}
        {  <hwModel><views><view><name>rtl</name>}
        {    <fileSetRef>HDL_FILESET</fileSetRef><fileSetRef>PALLADOR_FILESET</fileSetRef>}
        {  </view></views></hwModel>}
        {  <fileSets>}
        {    <fileSet fileSetId="HDL_FILESET"><file><name>ram.vhd</name><location>hdl</location></file></fileSet>}
        {    <fileSet fileSetId="PALLADOR_FILESET"><file><name>ram.cdb</name><location>pr</location></file></fileSet>}
        {  </fileSets>}
        {</Component>}
    } \n]\n
    write_file ip/ram/hdl/ram.vhd [entity ram "  b <= a;\n"]
    write_file ip/ram/pr/ram.cdb "database ram\n"

    # The suite's install folder: the cores create_design and
    # configure_user_core name (pll has the configurator's generator).
    write_file suite/data/spirit/fifo.xml [join {
        {<Component><vendor>brennic.com</vendor><library>cores</library><name>fifo</name><version>1.0</version>}
        {</Component>}
    } \n]\n
    write_file suite/data/spirit/pll.xml [join {
        {<Component><vendor>brennic.com</vendor><library>cores</library><name>pll</name><version>2.1</version>}
        {  <componentGenerators><componentGenerator><name>lgi_wizard</name></componentGenerator></componentGenerators>}
        {</Component>}
    } \n]\n

    # The README's profile file, its executables made small tools of the
    # folder's own (each found by its name).
    set profiles {}
    foreach block $blocks {
        lassign $block kind first body
        if {$kind eq "fenced" && [string match "# tools.ini\n*" $body]} { set profiles $body }
    }
    if {$profiles eq ""} {
        puts "the README shows no profile file (a fenced block beginning with \"# tools.ini\")"
        exit 1
    }
    set lines {}
    foreach line [split $profiles \n] {
        if {[regexp {^(\s*Location\s*=\s*)(\S+)\s*$} $line -> key location]} {
            set tool [file join [pwd] tools [file tail $location]]
            write_tool $tool
            set line "$key$tool"
        }
        lappend lines $line
    }
    write_file tools.ini "[join $lines \n]\n"
    write_tool tools/packager

    # The settings the README names; each must stand in it.
    set settings [list IDE_SELECT_FLOW_FILE_FEATURE_ENABLED 1 IDE_VEYRUN_ENABLED 1 IDE_CONSTRAINTS_EDITOR_ENABLED 1 \
        IDE_PACKAGER_LOC [file join [pwd] tools] IDE_PACKAGER_NAME packager IDE_PACKAGER_OPT_BATCH -batch \
        SYNPLIFY_VERSION "synplify -version"]
    set options {}
    foreach {name value} $settings {
        if {[string first $name $text] < 0} {
            puts "the README does not name the setting $name"
            exit 1
        }
        append options "$name = $value\n"
    }
    write_file options $options
    file mkdir tmp
    set env(QUORLANE_OPTIONS) [file join [pwd] options]
    set env(BRENNIC_SW_DIR) [file join [pwd] suite]
    set env(TMPDIR) [file join [pwd] tmp]
    set env(README_SESSION) 1
    exit [catch {exec [info nameofexecutable] [info script] {*}$argv >@ stdout 2>@ stderr}]
}

# --- the examples, in a shell started with the settings ----------------------------------------

set ran 0
set skipped 0
foreach block [readme_blocks $readme] {
    lassign $block kind first body
    switch $kind {
        fenced {}
        terminal - listing { incr skipped }
        tclsh {
            puts "README.md:$first: in a plain tclsh:"
            set script [string map [list /path/to/build/release/lib $libdir] $body]
            puts "  [join [split $script \n] "\n  "]"
            write_file tclsh_example.tcl "$script\nputs \"quorlane \[package present quorlane\] in tclsh\"\n"
            set command [list tclsh8.6 tclsh_example.tcl]
            if {$env(QUORLANE_README_PRELOAD) ne ""} {
                set command [list env LD_PRELOAD=$env(QUORLANE_README_PRELOAD) ASAN_OPTIONS=detect_leaks=0 {*}$command]
            }
            if {[catch {exec {*}$command 2>@1} output]} {
                puts "  failed: $output"
                exit 1
            }
            puts "  $output"
            incr ran
        }
        tcl {
            set lines [split $body \n]
            set command ""
            for {set i 0} {$i < [llength $lines]} {incr i} {
                if {$command eq ""} { set line [expr {$first + $i}] }
                append command [lindex $lines $i] \n
                if {![info complete $command]} continue
                if {[string trim $command] ne ""} {
                    puts "README.md:$line: [string trim $command]"
                    if {[catch {uplevel #0 $command} result]} {
                        puts "  failed: $result"
                        exit 1
                    }
                    if {$result ne ""} { puts "  [join [split $result \n] "\n  "]" }
                    incr ran
                }
                set command ""
            }
        }
    }
}
puts "$ran examples ran, 0 failed; $skipped blocks are terminal commands or listings"
