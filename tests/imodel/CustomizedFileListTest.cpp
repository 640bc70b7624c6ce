#include "MessageRecorder.h"
#include "ModuleTestSupport.h"
#include "TextLines.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using Module = std::unique_ptr<ImodelModule>;
using Lines = std::vector<std::string>;

std::string Written(const ImodelModule& unit)
{
    std::ostringstream stream;
    EXPECT_TRUE(unit.WriteCustomizedSourceFileList(&stream));
    return stream.str();
}

// Reads one unit's block from `lines`, whose front is its opening line
// (LIST "<name>").
Module ReadBlock(Lines& lines)
{
    std::string name = lines.empty() ? "" : lines.front();
    if (name.rfind("LIST \"", 0) == 0 && name.size() > 7) name = name.substr(6, name.size() - 7);
    Module unit = MakeModule(name);
    if (!lines.empty()) lines.erase(lines.begin());
    unit->ReadCustomizedSourceFileList(lines, {});
    return unit;
}

class ImodelCustomizedFileList : public ModuleFixture {
protected:
    const boost::shared_ptr<IfileObjectEx> top = MakeFile("/d/top.vhd");
    const boost::shared_ptr<IfileObjectEx> pkg = MakeFile("/d/pkg.vhd");
    const boost::shared_ptr<IfileObjectEx> tb = MakeFile("/d/tb.vhd", zorpaFT_TB_HDL);
};

}  // namespace

TEST_F(ImodelCustomizedFileList, TheListsInUseGoToTheProjectFileAndComeBackEqual)
{
    const Module unit = MakeModule("top");
    EXPECT_EQ(Written(*unit), "");  // no lists: no block

    unit->SetCustomizedFileList(true, ideSIMULATION, {pkg, top, tb});
    unit->SetCustomizedFileList(false, ideSYNTHESIS, {top});
    const std::string text = Written(*unit);
    EXPECT_EQ(text, "LIST \"top\"\n"
                    "LIST \"ideSIMULATION\"\n"
                    "USE_LIST=TRUE\n"
                    "FILELIST\n"
                    "VALUE \"/d/pkg.vhd,hdl\"\n"
                    "VALUE \"/d/top.vhd,hdl\"\n"
                    "VALUE \"/d/tb.vhd,tb_hdl\"\n"
                    "ENDFILELIST\n"
                    "ENDLIST\n"
                    "ENDLIST\n");

    Lines lines = TextLines(text);
    const Module read = ReadBlock(lines);
    EXPECT_TRUE(lines.empty());
    ASSERT_EQ(read->GetCustomizedFileLists().size(), 1u);
    EXPECT_TRUE(read->GetCustomizedFileLists()[0] == unit->GetCustomizedFileLists()[0]);
    EXPECT_EQ(Written(*read), text);

    // Lists out of use leave an empty block.
    unit->SetUseCustomizedFileList(ideSIMULATION, false);
    EXPECT_EQ(Written(*unit), "LIST \"top\"\nENDLIST\n");
}

TEST_F(ImodelCustomizedFileList, AMalformedBlockDoesNotSwallowTheNextUnitsBlock)
{
    // "first" lacks the end of its list and its own end; "second" follows.
    Lines lines{"LIST \"first\"",
                "LIST \"ideSIMULATION\"",
                "USE_LIST=TRUE",
                "FILELIST",
                "VALUE \"/d/top.vhd,hdl\"",
                "LIST \"second\"",
                "LIST \"ideSYNTHESIS\"",
                "USE_LIST=TRUE",
                "FILELIST",
                "VALUE \"/d/pkg.vhd,hdl\"",
                "ENDFILELIST",
                "ENDLIST",
                "ENDLIST"};
    const Module first = ReadBlock(lines);
    ASSERT_EQ(first->GetCustomizedFileLists().size(), 1u);
    // The file list ran to the end of its list, nothing lost.
    EXPECT_TRUE(first->GetCustomizedFileLists()[0] == ImodelModule::typeUserFileList(true, ideSIMULATION, {top}));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "LIST \"second\"");

    const Module second = ReadBlock(lines);
    EXPECT_TRUE(lines.empty());
    ASSERT_EQ(second->GetCustomizedFileLists().size(), 1u);
    EXPECT_TRUE(second->GetCustomizedFileLists()[0] == ImodelModule::typeUserFileList(true, ideSYNTHESIS, {pkg}));

    // A list without file block or use line gives an empty list out of use;
    // stray lines are dropped; a block cut short ends with the lines.
    Lines cut{"LIST \"ideSIMULATION\"", "stray", "ENDLIST", "noise", "LIST \"ideSTIMULUS\"", "USE_LIST=TRUE"};
    const Module third = MakeModule("third");
    third->ReadCustomizedSourceFileList(cut, {});
    EXPECT_TRUE(cut.empty());
    ASSERT_EQ(third->GetCustomizedFileLists().size(), 2u);
    EXPECT_TRUE(third->GetCustomizedFileLists()[0] == ImodelModule::typeUserFileList(ideSIMULATION));
    EXPECT_TRUE(third->GetCustomizedFileLists()[1] == ImodelModule::typeUserFileList(true, ideSTIMULUS, {}));
}

TEST_F(ImodelCustomizedFileList, AUnitNameTheLineFormatCannotHoldIsNotWritten)
{
    MessageRecorder messages;
    const Module unit = MakeModule("odd\"name");
    unit->SetCustomizedFileList(true, ideSIMULATION, {top});
    std::ostringstream stream;
    EXPECT_FALSE(unit->WriteCustomizedSourceFileList(&stream));
    EXPECT_EQ(stream.str(), "");
    EXPECT_EQ(messages.WithId("INVALID_NAME_CHAR").size(), 1u);
    EXPECT_FALSE(unit->WriteCustomizedSourceFileList(nullptr));
}
