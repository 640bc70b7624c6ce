#include "kemlet/KemletFileStructure.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <string_view>
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
    const Structure cr = Parse(kProject, "\r");
    for (const char* key : {"SOLVATO", "HDLTechnology", "ActiveRoot"}) EXPECT_EQ(Value(*lf, key), Value(*cr, key));
    for (const char* list : {"REVISIONS", "FileManager", "NewModulesInfo", "ProjectState"}) {
        EXPECT_EQ(ListLines(*lf, list), ListLines(*crlf, list));
        EXPECT_EQ(ListLines(*lf, list), ListLines(*cr, list));
    }
    EXPECT_EQ(cr->Damage(), "");
    // The last line needs no line end; a lone carriage return ends a line
    // within a file of other line ends too.
    const Structure unended = ParseText("LIST A\r\na\rb\r\nENDLIST\r\nKEY Last \"x\"");
    EXPECT_EQ(ListLines(*unended, "A"), (Lines{"a", "b"}));
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
    // What belongs where is no longer known: the text says it is damaged,
    // by the first thing found.
    EXPECT_EQ(broken->Damage(), "the list 'Libraries' has no ENDLIST");
}

// A stray LIST line takes every block after it for its own, a lost LIST line
// leaves its block's lines to nobody: each is damage, and a sound file has
// none.
TEST_F(KemletFileStructureTest, AListWithoutItsEndOrItsStartIsDamage)
{
    const Lines sound = {"KEY SOLVATO \"12.0\"", "LIST FileManager", "a.vhd", "ENDLIST", "LIST Other", "x", "ENDLIST"};
    EXPECT_EQ(Parse(sound)->Damage(), "");
    Lines stray = sound;
    stray.insert(stray.begin() + 1, "LIST Extra");
    const Structure swallowed = Parse(stray);
    EXPECT_EQ(swallowed->Damage(), "the list 'Extra' has no ENDLIST");
    EXPECT_FALSE(swallowed->GetLIST("FileManager", false));
    Lines headless = sound;
    headless.erase(headless.begin() + 1);
    EXPECT_EQ(Parse(headless)->Damage(), "line 3 ends a list that no LIST line opened");
    // A read again starts sound.
    const Structure reread = Parse(stray);
    reread->Parse("test.prj", "KEY A \"1\"\n", "");
    EXPECT_EQ(reread->Damage(), "");
}

TEST_F(KemletFileStructureTest, ManyBlocksWithoutEndsEachEndAtTheNextKey)
{
    // A damaged file of tens of thousands of blocks, none ended: each ends
    // at the KEY after it, with its own lines only.
    constexpr int kBlocks = 40000;
    std::string text;
    for (int block = 0; block < kBlocks; ++block)
        text += "LIST Open\nline\nKEY Between \"" + std::to_string(block) + "\"\n";
    const Structure structure = ParseText(text);
    for (int block = 0; block < kBlocks; ++block) {
        const auto list = structure->GetLIST("Open", true);
        ASSERT_TRUE(list) << block;
        EXPECT_FALSE(list->IsTerminated());
        ASSERT_EQ(list->GetLines(), Lines{"line"});
        ASSERT_EQ(Value(*structure, "Between", true), std::to_string(block));
    }
    EXPECT_FALSE(structure->GetLIST("Open", false));
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

// Random files made of lines that look alike at their start (KEY and KEYS,
// LIST and LISTX, ENDLIST and ENDLISTED, single letters), each with what it
// is known to be, against a plain walk of the block rules: every key and
// list comes back with its lines, in file order.
TEST_F(KemletFileStructureTest, RandomFilesOfLookAlikeLinesReadAsThePlainRulesSay)
{
    enum Kind {
        Key,
        List,
        EndList,
        Other
    };
    struct Sample {
        std::string line;
        Kind kind;
        std::string name;       // a key's or a list's
        std::string delivered;  // a key's value; a block line as delivered
    };
    const std::vector<Sample> samples = {
        {"KEY A \"1\"", Key, "A", "1"},
        {"KEY B plain", Key, "B", "plain"},
        {"KEYS x", Other, "", "KEYS x"},
        {"KEY", Other, "", "KEY"},
        {"K", Other, "", "K"},
        {"LIST A", List, "A", "LIST A"},
        {"LIST B  ", List, "B", "LIST B  "},
        {"LISTX", Other, "", "LISTX"},
        {"L", Other, "", "L"},
        {"ENDLIST", EndList, "", "ENDLIST"},
        {"ENDLISTED", EndList, "", "ENDLISTED"},
        {"ENDFILE", Other, "", "ENDFILE"},
        {"E", Other, "", "E"},
        {"VALUE \"v,hdl\"", Other, "", "v,hdl"},
        {"VALUE \"top\" 13;2", Other, "", "VALUE \"top\" 13;2"},
        {"VALUE=\"Impl1\",NUM=1", Other, "", "VALUE=\"Impl1\",NUM=1"},
        {"", Other, "", ""},
    };
    struct Block {
        Lines lines;
        bool terminated = false;
    };
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        std::vector<const Sample*> file(random() % 40);
        for (const Sample*& line : file) line = &samples[random() % samples.size()];

        std::map<std::string, std::deque<std::string>> keys;
        std::map<std::string, std::deque<Block>> lists;
        std::string openName;
        Block open;
        std::size_t depth = 0;
        const auto close = [&](bool terminated) {
            open.terminated = terminated;
            lists[openName].push_back(std::move(open));
            open = Block{};
            depth = 0;
        };
        std::string text;
        // The last line may have no line end (unless it is empty: then it
        // would be no line at all).
        const bool lastUnended = !file.empty() && !file.back()->line.empty() && random() % 3 == 0;
        for (std::size_t at = 0; at < file.size(); ++at) {
            const Sample* line = file[at];
            text += line->line;
            if (!lastUnended || at + 1 < file.size()) text += random() % 2 ? "\n" : "\r\n";
            if (line->kind == Key) {
                if (depth > 0) close(false);
                keys[line->name].push_back(line->delivered);
            } else if (depth > 0) {
                if (line->kind == EndList && depth == 1) {
                    close(true);
                    continue;
                }
                if (line->kind == List) ++depth;
                if (line->kind == EndList) --depth;
                open.lines.push_back(line->delivered);
            } else if (line->kind == List) {
                openName = line->name;
                depth = 1;
            }
        }
        if (depth > 0) close(false);

        const Structure structure = ParseText(text);
        for (auto& [name, values] : keys)
            for (const std::string& value : values) EXPECT_EQ(Value(*structure, name.c_str(), true), value) << text;
        for (auto& [name, blocks] : lists)
            for (const Block& block : blocks) {
                const auto list = structure->GetLIST(name.c_str(), true);
                ASSERT_TRUE(list) << text;
                // The lines as views, as strings, and as views again once
                // the strings are taken.
                const std::vector<std::string_view> views = list->GetLineViews();
                EXPECT_EQ(Lines(views.begin(), views.end()), block.lines) << text;
                const Lines taken = std::move(list->GetLines());
                EXPECT_EQ(taken, block.lines) << text;
                ASSERT_EQ(list->GetLineCount(), block.lines.size()) << text;
                for (std::size_t i = 0; i < block.lines.size(); ++i) EXPECT_EQ(list->GetLine(i), block.lines[i]);
                EXPECT_EQ(list->IsTerminated(), block.terminated) << text;
            }
        for (const char* name : {"A", "B"}) {
            EXPECT_FALSE(structure->GetKEY(name, false)) << text;
            EXPECT_FALSE(structure->GetLIST(name, false)) << text;
        }
    }
}

}  // namespace
