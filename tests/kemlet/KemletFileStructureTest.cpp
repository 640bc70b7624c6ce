#include "kemlet/KemletFileStructure.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

struct StructureDeleter {
    void operator()(KemletFileStructure* structure) const { KemletFileDeleteStructure(structure); }
};
using Structure = std::unique_ptr<KemletFileStructure, StructureDeleter>;

class KemletFileStructureTest : public ::testing::Test {
protected:
    // A structure parsed from the lines, each ended by `eol`.
    Structure Parse(const Lines& lines, const std::string& eol = "\n", const std::string& stop = std::string())
    {
        std::string text;
        for (const std::string& line : lines) text += line + eol;
        return ParseText(text, stop);
    }

    Structure ParseText(const std::string& text, const std::string& stop = std::string())
    {
        Structure structure(KemletFileGetNewStructure());
        structure->Parse("test.prj", text, stop);
        return structure;
    }

    static std::string Value(KemletFileStructure& structure, const char* name, bool take = false)
    {
        const auto key = structure.GetKEY(name, take);
        return key ? key->GetValue() : "<none>";
    }

    static Lines ListLines(KemletFileStructure& structure, const char* name, bool take = false)
    {
        const auto list = structure.GetLIST(name, take);
        return list ? list->GetLines() : Lines{"<none>"};
    }

    TempFolder m_folder;
};

const Lines kProject = {
    "KEY SOLVATO \"8.4\"",
    "KEY HDLTechnology \"VHDL\"",
    "LIST REVISIONS",
    "VALUE=\"Impl1\",NUM=1",
    "CURREV=1",
    "ENDLIST",
    "LIST FileManager",
    "VALUE \"<project>/hdl/top.vhd,hdl\"",
    "STATE=\"utd\"",
    "ENDFILE",
    "ENDLIST",
    "LIST NewModulesInfo",
    "LIST \"top::work\"",
    "LIST ProjectState5.1",
    "LIST Impl1",
    "Used_File_List",
    "VALUE \"<project>/hdl/top.vhd,hdl\"",
    "ENDUsed_File_List",
    "ENDLIST",
    "ENDLIST",
    "ENDLIST",
    "ENDLIST",
    "LIST ProjectState",
    "VALUE \"top::work\" 13;2",
    "ENDLIST",
    "KEY ActiveRoot \"top::work\"",
};

TEST_F(KemletFileStructureTest, KeysAndListsOfAProjectFile)
{
    const Structure project = Parse(kProject);
    EXPECT_EQ(Value(*project, "SOLVATO"), "8.4");
    EXPECT_EQ(Value(*project, "ActiveRoot"), "top::work");
    EXPECT_EQ(Value(*project, "solvato"), "<none>");  // names are exact

    EXPECT_EQ(ListLines(*project, "REVISIONS"), (Lines{"VALUE=\"Impl1\",NUM=1", "CURREV=1"}));
    // A file's VALUE line arrives as its quoted text; the older state line,
    // with more after its quote, arrives as written.
    EXPECT_EQ(ListLines(*project, "FileManager"), (Lines{"<project>/hdl/top.vhd,hdl", "STATE=\"utd\"", "ENDFILE"}));
    EXPECT_EQ(ListLines(*project, "ProjectState"), (Lines{"VALUE \"top::work\" 13;2"}));

    // Nested blocks belong to their parent, whole, and are not found by name.
    EXPECT_EQ(ListLines(*project, "NewModulesInfo"),
              (Lines{"LIST \"top::work\"", "LIST ProjectState5.1", "LIST Impl1", "Used_File_List",
                     "<project>/hdl/top.vhd,hdl", "ENDUsed_File_List", "ENDLIST", "ENDLIST", "ENDLIST"}));
    EXPECT_EQ(ListLines(*project, "ProjectState5.1"), Lines{"<none>"});
    EXPECT_EQ(ListLines(*project, "Impl1"), Lines{"<none>"});
    EXPECT_TRUE(project->GetLIST("NewModulesInfo", false)->IsTerminated());
}

TEST_F(KemletFileStructureTest, CrlfAndLfReadAlike)
{
    const Structure lf = Parse(kProject, "\n");
    const Structure crlf = Parse(kProject, "\r\n");
    for (const char* key : {"SOLVATO", "HDLTechnology", "ActiveRoot"}) EXPECT_EQ(Value(*lf, key), Value(*crlf, key));
    for (const char* list : {"REVISIONS", "FileManager", "NewModulesInfo", "ProjectState"})
        EXPECT_EQ(ListLines(*lf, list), ListLines(*crlf, list));
    // The last line needs no line end; a lone carriage return inside a line stays.
    const Structure unended = ParseText("LIST A\r\na\rb\r\nENDLIST\r\nKEY Last \"x\"");
    EXPECT_EQ(ListLines(*unended, "A"), Lines{"a\rb"});
    EXPECT_EQ(Value(*unended, "Last"), "x");
}

TEST_F(KemletFileStructureTest, UnterminatedBlocksSwallowNothingAfterThem)
{
    const Structure broken = Parse({
        "LIST Libraries",
        "lib1",
        "LIST Nested",
        "inner",
        "ENDLIST",  // closes Nested only: Libraries has lost its ENDLIST
        "KEY After \"kept\"",
        "LIST Next",
        "n",
        "ENDLIST",
        "ENDLIST",  // stray: ignored
        "LIST Tail",
        "t",
    });
    const auto libraries = broken->GetLIST("Libraries", false);
    ASSERT_TRUE(libraries);
    EXPECT_FALSE(libraries->IsTerminated());
    EXPECT_EQ(libraries->GetLines(), (Lines{"lib1", "LIST Nested", "inner", "ENDLIST"}));
    EXPECT_EQ(Value(*broken, "After"), "kept");
    EXPECT_EQ(ListLines(*broken, "Next"), Lines{"n"});
    EXPECT_TRUE(broken->GetLIST("Next", false)->IsTerminated());

    const auto tail = broken->GetLIST("Tail", false);
    ASSERT_TRUE(tail);
    EXPECT_FALSE(tail->IsTerminated());
    EXPECT_EQ(tail->GetLines(), Lines{"t"});
}

TEST_F(KemletFileStructureTest, HeaderReadStopsAfterTheStopLine)
{
    const Structure header = Parse(kProject, "\r\n", "KEY HDLTechnology ");
    EXPECT_EQ(Value(*header, "SOLVATO"), "8.4");
    EXPECT_EQ(Value(*header, "HDLTechnology"), "VHDL");
    EXPECT_EQ(ListLines(*header, "REVISIONS"), Lines{"<none>"});
    EXPECT_EQ(Value(*header, "ActiveRoot"), "<none>");

    // The stop text inside a block does not stop the read.
    const Structure inside = Parse({"LIST A", "KEYS x", "ENDLIST", "KEY B \"b\""}, "\n", "KEYS");
    EXPECT_EQ(ListLines(*inside, "A"), Lines{"KEYS x"});
    EXPECT_EQ(Value(*inside, "B"), "b");
}

TEST_F(KemletFileStructureTest, ReadingReplacesAndAFailedReadKeeps)
{
    Structure structure(KemletFileGetNewStructure());
    ASSERT_TRUE(structure->Read(m_folder.Write("a.prj", "KEY A \"1\"\n").c_str(), ""));
    EXPECT_FALSE(structure->Read((m_folder / "missing.prj").c_str(), ""));
    EXPECT_FALSE(structure->Read(nullptr, ""));
    EXPECT_EQ(Value(*structure, "A"), "1");
    ASSERT_TRUE(structure->Read(m_folder.Write("b.prj", "KEY B \"2\"\n").c_str(), ""));
    EXPECT_EQ(Value(*structure, "A"), "<none>");
}

}  // namespace
