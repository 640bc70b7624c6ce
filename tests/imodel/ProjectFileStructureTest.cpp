#include "Golden.h"
#include "MessageRecorder.h"
#include "TempFolder.h"

#include "iconvert/Iconvert.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelProjectFileStructure.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// A project folder for the process-wide model, put back afterwards.
class ProjectFileStructureTest : public ::testing::Test {
protected:
    // The files present enter the open project through the add-file command.
    ProjectFileStructureTest() : m_oldFolder(Design().GetProjectFolder())
    {
        Design().SetProjectFolder(m_folder.Path());
        Design().SetProjectOpen(true);
    }
    ~ProjectFileStructureTest() override
    {
        Imodel::GetInstance().GetFileManager()->RemoveAllFiles();
        Design().Reset();
        Design().SetProjectOpen(false);
        Design().SetProjectFolder(m_oldFolder);
    }

    static ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

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

}  // namespace
