# A Verilog core `name` whose HDL set holds the files `files`: the text of
# its description, as a core tool writes it.
proc core_text {name files} {
    set set ""
    foreach file $files { append set "<file><name>$file</name></file>" }
    return [join [list {<?xml version="1.0"?>} \
        "<Component><vendor>v</vendor><library>l</library><name>$name</name><version>1.0</version>" \
        {<vendorExtension><coreType>UserIP</coreType><hdlFormat>Verilog</hdlFormat></vendorExtension>} \
        {<hwModel><views><view><name>rtl</name><fileSetRef>HDL_FILESET</fileSetRef></view></views></hwModel>} \
        "<fileSets><fileSet fileSetId=\"HDL_FILESET\">$set</fileSet></fileSets></Component>"] \n]\n
}
