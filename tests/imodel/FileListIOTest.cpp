#include "ProjectFileBlock.h"
#include "TextLines.h"

#include "imodel/views/ImodelFileListIO.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

TEST(FileListIO, AListEndsAtItsOwnClosingLineOrBeforeAnotherBlock)
{
    Lines lines = TextLines("a.vhd\nb.vhd\nENDLIST\nafter");
    Lines names;
    ImodelReadFileList(lines, {}, {}, false, &names);
    EXPECT_EQ(names, (Lines{"a.vhd", "b.vhd"}));
    EXPECT_EQ(lines, (Lines{"after"}));

    // A list whose closing line is missing leaves the next block to its reader.
    lines = TextLines("a.vhd\nLIST FlowOptions\nUseSynth=TRUE\nENDLIST");
    names.clear();
    ImodelReadFileList(lines, {}, {}, false, &names);
    EXPECT_EQ(names, (Lines{"a.vhd"}));
    EXPECT_EQ(lines.front(), "LIST FlowOptions");

    // Without an output the names are read and dropped; an unterminated
    // list at the end takes everything.
    lines = TextLines("a.vhd\nb.vhd");
    ImodelReadFileList(lines, {}, {}, true, nullptr);
    EXPECT_TRUE(lines.empty());
}

TEST(FileListIO, AWrittenListReadsBackThroughTheProjectFileReader)
{
    // A name the parser would take for a line of its own goes out quoted.
    const std::vector<ImodelFileName> names{"<project>/hdl/top.vhd", "KEY x.v"};
    std::ostringstream stream;
    ImodelWriteFileList(&stream, &names, "Files Out Of Date");
    EXPECT_EQ(stream.str().substr(0, 24), "LIST Files Out Of Date\nV");

    Lines lines = ProjectFileBlock(stream.str(), "Files Out Of Date");
    Lines read;
    ImodelReadFileList(lines, {}, {}, false, &read);
    EXPECT_EQ(read, (Lines{"<project>/hdl/top.vhd", "KEY x.v"}));

    // Nothing for an empty list, a null list or a null stream.
    std::ostringstream empty;
    const std::vector<ImodelFileName> none;
    ImodelWriteFileList(&empty, &none, "Files Up To Date");
    ImodelWriteFileList(&empty, nullptr, "Files Up To Date");
    ImodelWriteFileList(nullptr, &names, "Files Up To Date");
    EXPECT_EQ(empty.str(), "");
}
