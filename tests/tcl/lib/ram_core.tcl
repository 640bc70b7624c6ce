# The sessions of the core ram (tests/tcl/cores_*_on_disk.tcl): the
# core's description, its files and a project that uses it, and what the
# sessions print of it.
# The core ram: its source ram_impl.v and two place-and-route databases.
proc ram_text {} {
    return [join [list {<?xml version="1.0"?>} \
        {<Component><vendor>v</vendor><library>l</library><name>ram</name><version>1.0</version>} \
        {<vendorExtension><coreType>UserIP</coreType><hdlFormat>Verilog</hdlFormat></vendorExtension>} \
        {<hwModel><views><view><name>rtl</name><fileSetRef>HDL_FILESET</fileSetRef>} \
        {<fileSetRef>PALLADOR_FILESET</fileSetRef></view></views></hwModel><fileSets>} \
        {<fileSet fileSetId="HDL_FILESET"><file><name>ram_impl.v</name></file></fileSet>} \
        {<fileSet fileSetId="PALLADOR_FILESET"><file><name>a.cdb</name></file><file><name>b.cdb</name></file></fileSet>} \
        {</fileSets></Component>}] \n]\n
}
# Writes the source anew, its time moved ahead as an editor's save would,
# and lets the watcher take it.
proc edit_source {text} {
    write_file lib/ram/ram_impl.v $text
    file mtime lib/ram/ram_impl.v [expr {[clock seconds] + [incr ::ahead 3]}]
    wait_for_checks 200
}
# The design, and the root, the files associated with ram and the order
# of its databases as the saved file holds them.
proc show {} {
    puts [dump_all_modules -tree true]
    save_project
    set text [read_file alu/alu.prj]
    regexp {KEY ActiveRoot "([^"]*)"} $text -> root
    puts "  the root: $root"
    puts -nonewline "  ram's test bench is tb.v: "
    try {test_associate_stimulus -module ram -file alu/stimulus/tb.v}
    set lines [split $text \n]
    set block [lsearch -exact $lines {LIST "ram::work"}]
    # ram's block ends where the next unit's or the next list's begins.
    set end [lsearch -exact -start $block $lines {LIST AssociatedStimulus}]
    set next [lsearch -glob -start [expr {$block + 1}] $lines {LIST "*}]
    if {$next >= 0 && $next < $end} { set end $next }
    foreach list {Other_Association CDBOrder} {
        set first [lsearch -exact -start $block $lines "LIST $list"]
        if {$first < 0 || $first > $end} { puts "  $list: none"; continue }
        set last [lsearch -exact -start $first $lines ENDLIST]
        puts "  $list: [join [lrange $lines [expr {$first + 1}] [expr {$last - 1}]] {, }]"
    }
}
# Saves, closes, opens and saves again: whether the two saves wrote the
# same bytes and the design is the same.
proc round_trip {} {
    save_project
    set saved [read_file alu/alu.prj]
    set design [dump_all_modules -tree true]
    close_project
    open_project alu/alu.prj
    save_project
    puts "  saved, opened and saved again: [expr {$saved eq [read_file alu/alu.prj] ? {the same file} : {a different file}}]"
    puts "  the design after the open: [expr {$design eq [dump_all_modules -tree true] ? {the same} : {different}}]"
}
# The project alu: top uses the core ram (its source ram_impl.v, its
# databases a.cdb and b.cdb); ram is the root, with the test bench tb.v and
# its databases in the order b, a.
proc make_ram_project {} {
    write_file lib/ram/ram.cxf [ram_text]
    write_file lib/ram/ram_impl.v "module ram_impl; endmodule\n"
    write_file lib/ram/a.cdb "database a\n"
    write_file lib/ram/b.cdb "database b\n"
    write_file src/top.v "module top; ram u(); endmodule\n"
    write_file src/tb.v "module tb; ram dut(); endmodule\n"
    new_project -location alu -name alu -hdl VERILOG -family ZX3 -die zx3_10 -package tq100
    try {import_files -cxf lib/ram/ram.cxf}
    try {import_files -hdl_source src/top.v}
    try {import_files -stimulus src/tb.v}
    try {set_root ram}
    try {associate_stimulus -module ram -file alu/stimulus/tb.v}
    try {organize_cdbs -module ram -file lib/ram/b.cdb -file lib/ram/a.cdb}
}
