#include "ProjectFileBlock.h"
#include "TextLines.h"

#include "imodel/names/ImodelLineText.h"
#include "imodel/views/ImodelFileListIO.h"

#include <gtest/gtest.h>

#include <random>
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

TEST(FileListIO, ARefusedTextIsWhyTheStreamFailedOnceAsked)
{
    // A writer that refuses a text fails its stream; the save that finds the
    // stream failed asks why, once, with the control characters spelled out.
    // A writer of another test in this process may have left its reason:
    // each save takes it first, as this does.
    ImodelTakeRefusedText();
    std::ostringstream out;
    EXPECT_FALSE(ImodelCheckOneLine(out, std::string("1ns\x01\n"), "Resolution"));
    EXPECT_TRUE(out.fail());
    EXPECT_EQ(out.str(), "");
    const std::string reason = ImodelTakeRefusedText();
    EXPECT_EQ(reason.rfind("the Resolution '1ns\\x01\\n' cannot be written to a line of the file", 0), 0u) << reason;
    EXPECT_EQ(ImodelTakeRefusedText(), "");
    std::ostringstream fine;
    EXPECT_TRUE(ImodelCheckQuotable(fine, "a\tb", "file name"));
    EXPECT_EQ(ImodelTakeRefusedText(), "");
}

TEST(FileListIO, ATextIsQuotableWhenNoControlCharacterOrQuoteIsAnywhereInIt)
{
    // The check looks at 16 bytes at a time: texts around that size and its
    // multiples, with a line end, another control character or a quote at
    // every place, against a plain search.
    std::mt19937 random(28);
    const std::string controls = std::string("\n\r\x01\x1a\x1b\v\f") + '\0';
    const std::string bad = controls + '"';
    const std::string good = "ab/._- \t,;'\x7f\x80\xff#!";
    for (std::size_t length = 0; length <= 70; ++length) {
        for (int round = 0; round < 40; ++round) {
            std::string text;
            for (std::size_t i = 0; i < length; ++i) text += good[random() % good.size()];
            if (length > 0 && round % 4 != 0) text[random() % length] = bad[random() % bad.size()];
            const bool clean = text.find_first_of(bad) == std::string::npos;
            EXPECT_EQ(ImodelIsQuotable(text), clean) << length << " " << round;
            EXPECT_EQ(ImodelIsOneLine(text), text.find_first_of(controls) == std::string::npos)
                << length << " " << round;
        }
    }
}
