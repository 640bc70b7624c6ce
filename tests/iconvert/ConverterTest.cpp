// The converters of older projects on a project folder of their own: the
// moves with their free names, messages, meter and record, the renaming of
// moved files read from the project file, and what each kind leaves out.
#include "MessageRecorder.h"
#include "ProjectFolderScope.h"
#include "TempFolder.h"

#include "ConsoleHost.h"
#include "iconvert/IconvertAddOldCoresToWS.h"
#include "iconvert/IconvertFunctions.h"
#include "iconvert/IconvertOmbrix.h"
#include "iconvert/IconvertPackages.h"
#include "iconvert/IconvertPowerFiles.h"
#include "ifile/IfileObject.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelProjectFileStructure.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<unsigned int>& MeterPositions()
{
    static std::vector<unsigned int> positions;
    return positions;
}

void RecordMeter(unsigned int position) { MeterPositions().push_back(position); }

class Converters : public ::testing::Test {
protected:
    Converters() : m_project(m_folder.Path())
    {
        Imodel::GetInstance().SetHost(&m_host);
        MeterPositions().clear();
    }
    ~Converters() override { Imodel::GetInstance().SetHost(m_previousHost); }

    std::string Write(const std::string& name) { return m_folder.Write(name, name + "\n"); }
    bool Exists(const std::string& name) const { return UtlDoesDiskObjectExist(m_folder / name); }
    std::vector<std::string> Texts(const char* id) const
    {
        std::vector<std::string> texts;
        for (const MdbMessage& message : m_messages.WithId(id)) texts.push_back(message.text);
        return texts;
    }
    IfileObject Stored(const std::string& name) const
    {
        return IfileObject(ImodelFileName(name), zorpaFT_HDL, ImodelFMInternal, true, false);
    }

    TempFolder m_folder;
    ProjectFolderScope m_project;
    MessageRecorder m_messages;
    ImodelHost* m_previousHost = Imodel::GetInstance().GetHost();
    ConsoleHost m_host;
};

}  // namespace

TEST_F(Converters, PackagesMoveToFreeNamesAndTheProjectFileFollowsThem)
{
    Write("hdl/a.vhd");
    Write("hdl/a_1.vhd");
    Write("package/a.vhd");
    Write("package/b.vhd");
    IconvertPackages packages;
    packages.SetTimerInfo(0, 100, &RecordMeter);
    ASSERT_TRUE(packages.PreOpenConvert());

    const std::string p = m_folder.Path();
    EXPECT_EQ(Texts("MOVED"), (std::vector<std::string>{
                                  "Moved Package File: \"" + p + "/package/a.vhd\" to \"" + p + "/hdl/a_2.vhd\".",
                                  "Moved Package File: \"" + p + "/package/b.vhd\" to \"" + p + "/hdl/b.vhd\".",
                              }));
    EXPECT_EQ(m_messages.WithId("MOVED").front().severity, MdbNOTICE);
    EXPECT_EQ(m_folder.Read("hdl/a_2.vhd"), "package/a.vhd\n");
    EXPECT_EQ(m_folder.Read("hdl/a.vhd"), "hdl/a.vhd\n");
    // Start, after the first of two files (the second reaches the end), end.
    EXPECT_EQ(MeterPositions(), (std::vector<unsigned int>{0, 50, 100}));

    IfileObject read = Stored("<project>/package/a.vhd");
    packages.ConvertObjectFromProjectFile(read);
    EXPECT_EQ(read.GetInternalFileName(), "<project>/hdl/a_2.vhd");
    IfileObject untouched = Stored("<project>/hdl/a.vhd");
    packages.ConvertObjectFromProjectFile(untouched);
    EXPECT_EQ(untouched.GetInternalFileName(), "<project>/hdl/a.vhd");

    // The emptied folder goes once the project is open.
    ASSERT_TRUE(Exists("package"));
    packages.PostOpenConvert();
    EXPECT_FALSE(Exists("package"));
}

TEST_F(Converters, AFailedMoveIsToldAndTheFileKeepsItsPlaceAndName)
{
    Write("package/a.vhd");
    Write("hdl");  // a file where the folder should be
    IconvertPackages packages;
    ASSERT_TRUE(packages.PreOpenConvert());
    const std::string p = m_folder.Path();
    EXPECT_EQ(Texts("FAILED_TO_MOVE"),
              (std::vector<std::string>{"Unable to move the file '" + p + "/package/a.vhd' to '" + p +
                                        "/hdl/a.vhd'. You may need to re-import the file."}));
    ASSERT_EQ(packages.GetMovedFiles().size(), 1u);
    EXPECT_FALSE(packages.GetMovedFiles()[0].moved);
    EXPECT_EQ(packages.GetMovedFiles()[0].newFile, packages.GetMovedFiles()[0].oldFile);

    IfileObject read = Stored("<project>/package/a.vhd");
    packages.ConvertObjectFromProjectFile(read);
    EXPECT_EQ(read.GetInternalFileName(), "<project>/package/a.vhd");
    packages.PostOpenConvert();
    EXPECT_TRUE(Exists("package/a.vhd"));
}

TEST_F(Converters, OldCoresAreFoundInTheFileListAndKeepTheirNamesWhenTheWorkspaceTakesNone)
{
    ImodelProjectFileStructure project;
    project.Parse("old.prj",
                  "LIST FileManager\nVALUE \"<project>/cores/fifo.cxf,block_cxf\"\nENDFILE\n"
                  "VALUE \"<project>/arm/cpu.qvp,arm\"\nENDFILE\nVALUE \"<project>/arm/cpu.lib,arm\"\nENDFILE\n"
                  "VALUE \"<project>/hdl/top.vhd,hdl\"\nENDFILE\nENDLIST\n",
                  "");
    IconvertAddOldCoresToWS cores;
    cores.ConvertWorkspace(project);
    std::vector<std::string> converted;
    for (const auto& [keyword, name] : cores.GetConvertedFiles()) converted.push_back(keyword + " " + name.GetString());
    // The ARM library is no core of its own.
    EXPECT_EQ(converted, (std::vector<std::string>{"block_cxf <project>/cores/fifo.cxf", "arm <project>/arm/cpu.qvp"}));
    EXPECT_TRUE(cores.GetFolderPairs().empty());
    IfileObject read = Stored("<project>/cores/fifo.cxf");
    cores.ConvertObjectFromProjectFile(read);
    EXPECT_EQ(read.GetInternalFileName(), "<project>/cores/fifo.cxf");
}
