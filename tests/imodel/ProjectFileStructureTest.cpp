#include "Golden.h"
#include "MessageRecorder.h"
#include "TempFolder.h"

#include "iconvert/Iconvert.h"
#include "ifile/IfileObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelProjectFileStructure.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// A converter of an older project that moved one file.
class MovingConverter : public Iconvert {
public:
    MovingConverter(std::string from, std::string to) : m_from(std::move(from)), m_to(std::move(to)) {}

    bool FileNeedsImport(const std::string&) override { return true; }
    void FoundNewProjectFile(ImodelFileName&, std::string&) override {}
    bool IsOldStrType(const std::string&, zorpaFileManagerTypes&) override { return false; }
    void ConvertObjectFromProjectFile(IfileObject& file) override
    {
        if (file.GetFullFileName() == m_from) file.SetFileName(m_to, ImodelFMFull, true);
    }

private:
    std::string m_from;
    std::string m_to;
};

// A project folder for the process-wide model, put back afterwards.
class ProjectFileStructureTest : public ::testing::Test {
protected:
    ProjectFileStructureTest() : m_oldFolder(Design().GetProjectFolder())
    {
        Design().SetProjectFolder(m_folder.Path());
    }
    ~ProjectFileStructureTest() override { Design().SetProjectFolder(m_oldFolder); }

    static ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

    static void Parse(ImodelProjectFileStructure& structure, const Lines& lines)
    {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        structure.Parse("test.prj", text, "");
    }

    static int Count(const Lines& lines)
    {
        ImodelProjectFileStructure structure;
        Parse(structure, lines);
        int count = -1;
        structure.GetFileListCount(count);
        return count;
    }

    TempFolder m_folder;
    ImodelFileName m_oldFolder;
    std::vector<Iconvert*> m_noConverters;
};

TEST_F(ProjectFileStructureTest, TheSectionsOfOlderFileListsMatchTheGoldenFile)
{
    const ImodelProjectFileStructure structure;
    std::string dump;
    for (const auto& [name, type] : structure.GetSections()) dump += name + " " + std::to_string(type) + "\n";
    ExpectMatchesGolden("project_file_sections.txt", dump);
}

TEST_F(ProjectFileStructureTest, EatingTheRestOfABlock)
{
    Lines lines = {"LIST Nested", "plain", "ENDLIST", "ENDLIST", "further"};
    EXPECT_TRUE(ImodelProjectFileStructure::EatCurrentLIST(lines));
    EXPECT_EQ(lines, Lines{"further"});

    // Without its closing line the block takes what is left, and no more.
    Lines unterminated = {"LIST A", "LIST B", "ENDLIST", "x"};
    EXPECT_TRUE(ImodelProjectFileStructure::EatCurrentLIST(unterminated));
    EXPECT_TRUE(unterminated.empty());
    EXPECT_TRUE(ImodelProjectFileStructure::EatCurrentLIST(unterminated));

    // "LIST" needs its blank to open a block; any "ENDLIST..." closes one.
    Lines forms = {"LISTING", "ENDLIST_OF_A", "after"};
    ImodelProjectFileStructure::EatCurrentLIST(forms);
    EXPECT_EQ(forms, Lines{"after"});
}

TEST_F(ProjectFileStructureTest, CountingTheFilesOfTheLists)
{
    EXPECT_EQ(Count({"KEY SOLVATO \"8.4\"", "LIST REVISIONS", "CURREV=1", "ENDLIST"}), 0);
    EXPECT_EQ(
        Count({"LIST HDLFiles", "a.vhd", "b.vhd", "ENDLIST", "LIST Schematics", "top.sch", "ENDLIST", "LIST HDLFiles",
               "not counted: a second block of a name", "ENDLIST", "LIST OtherList", "x", "ENDLIST"}),
        3);
    // The file manager counts the files of its own block.
    EXPECT_EQ(Count({"LIST FileManager", "<project>/a.vhd,hdl", "STATE=\"utd\"", "ENDFILE", "<project>/b.vhd,hdl",
                     "ENDFILE", "ENDLIST", "LIST HDLFiles", "c.vhd", "ENDLIST"}),
              2);
}

TEST_F(ProjectFileStructureTest, FilesThatExistAreReadAndMissingOnesMarkedOnce)
{
    MessageRecorder messages;
    ImodelProjectFileStructure structure;
    const std::string top = m_folder.Write("hdl/top.vhd", "entity top is end;\n");
    const std::string layout = m_folder.Write("pallador/impl1/top.adb", "");
    EXPECT_TRUE(structure.AddFilePresent(top, zorpaFT_HDL, false, m_noConverters, false));
    EXPECT_TRUE(structure.AddFilePresent(layout, zorpaFT_GROUP_PALLADOR, false, m_noConverters, true));
    EXPECT_EQ(structure.GetFilesRead(), (ImodelProjectFileStructure::FileList{{"top.vhd", zorpaFT_HDL}}));
    EXPECT_EQ(structure.GetPalladorFilesRead().size(), 1u);
    // A file named twice (in any spelling) and missing is marked once, and
    // told when the files are deleted.
    const std::string missing = m_folder / "hdl/gone.vhd";
    EXPECT_FALSE(structure.AddFilePresent(missing, zorpaFT_HDL, false, m_noConverters, false));
    EXPECT_FALSE(
        structure.AddFilePresent(m_folder.Path() + "\\HDL\\Gone.vhd", zorpaFT_HDL, false, m_noConverters, false));
    structure.AddFileToDelete("<project>/hdl/gone.vhd", zorpaFT_HDL);
    EXPECT_EQ(structure.GetFilesToDelete(), (ImodelProjectFileStructure::FileList{{missing, zorpaFT_HDL}}));
    EXPECT_TRUE(messages.Messages().empty());
    structure.DeleteFiles();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Unable to find the file '" + missing + "'."});
    EXPECT_TRUE(structure.GetFilesToDelete().empty());
}

TEST_F(ProjectFileStructureTest, ConvertersAdjustTheFileFirst)
{
    const std::string moved = m_folder.Write("hdl/new/top.vhd", "");
    MovingConverter converter(m_folder / "hdl/top.vhd", moved);
    const std::vector<Iconvert*> converters = {&converter};
    ImodelProjectFileStructure structure;
    EXPECT_TRUE(structure.AddFilePresent(m_folder / "hdl/top.vhd", zorpaFT_HDL, false, converters, false));
    EXPECT_FALSE(structure.AddFilePresent(m_folder / "hdl/other.vhd", zorpaFT_HDL, false, converters, false));
    EXPECT_EQ(structure.GetFilesRead(), (ImodelProjectFileStructure::FileList{{"top.vhd", zorpaFT_HDL}}));
    EXPECT_EQ(structure.GetFilesToDelete(),
              (ImodelProjectFileStructure::FileList{{m_folder / "hdl/other.vhd", zorpaFT_HDL}}));
}

}  // namespace
