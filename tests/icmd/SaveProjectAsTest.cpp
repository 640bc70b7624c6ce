// save_project_as in process: what the copy holds as the host made it,
// before the copy is opened; a failed copy that leaves the old project open
// and no half copy; the folder rule of the copy tool, which knows a file by
// the model's file-name key however it is spelled.
#include "MessageRecorder.h"
#include "TempFolder.h"

#include "ConsoleHost.h"
#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdNewProject.h"
#include "icmd/project/IcmdSaveProject.h"
#include "icmd/project/IcmdSaveProjectAs.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelCopyDirTool.h"
#include "imodel/names/imodelUtl.h"
#include "src/icmd/project/ImodelCopyProjectDirTool.h"

#include <foundation/AcmdManager.h>
#include <foundation/Def.h>
#include <ktwkspace/Workspace.h>

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <random>
#include <set>
#include <string>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }
IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }

// The files below a folder, and its empty folders with a trailing "/".
std::set<std::string> Tree(const std::string& folder)
{
    std::set<std::string> entries;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
        const std::string name = std::filesystem::relative(entry.path(), folder).string();
        if (!entry.is_directory()) {
            entries.insert(name);
        } else if (std::filesystem::is_empty(entry.path())) {
            entries.insert(name + "/");
        }
    }
    return entries;
}

// The console host's copy, with a look at the copy before it is opened.
class SnapshotHost : public ConsoleHost {
public:
    bool CopyFolder(ImodelCopyDirTool& tool, bool flag) override
    {
        const bool copied = ConsoleHost::CopyFolder(tool, flag);
        snapshot = Tree(tool.GetTargetFolder());
        return copied && !failAfterCopy;
    }
    std::set<std::string> snapshot;
    // The copy is made, then reported as failed (a disk that filled up).
    bool failAfterCopy = false;
};

class SaveProjectAs : public ::testing::Test {
protected:
    void SetUp() override
    {
        DefReset();
        DefLoadDefaultsFromText("IDE_MAJOR = 8\nIDE_MINOR = 4\n@choices FAM = ZX3\n@choices DIE[QFAM=ZX3] = zx3_10\n"
                                "@choices PACKAGE[QFAM=ZX3,QDIE=zx3_10] = tq100\n");
        AcmdManager::GetInstance().SetCurrentFolder(m_folder.Path());
        Imodel::GetInstance().SetHost(&m_host);
        ASSERT_TRUE(IcmdDoNewProject(false, "alu", m_folder / "alu", true, "ZX3", "zx3_10", "tq100"));
        for (const char* name : {"alu/hdl/alu.vhd", "alu/synthesis/alu.edn", "shared/common.vhd"}) Member(name);
        for (const char* name : {"alu/hdl/scratch.vhd", "alu/simulation/modelsim.ini", "alu/simulation/meminit.dat",
                                 "alu/viewdraw/viewdraw.ini", "alu/viewdraw/vf/project.lst", "alu/viewdraw2/x.sch",
                                 "alu/pallador/impl1/alu.adb"})
            m_folder.Write(name, name);
        ASSERT_TRUE(IcmdDoSaveProject(false, nullptr));
    }
    void TearDown() override
    {
        if (Design().IsProjectOpen()) IcmdDoCloseProject(false, false);
        Imodel::GetInstance().SetHost(m_previousHost);
        AcmdManager::GetInstance().SetCurrentFolder(std::string());
        DefReset();
    }

    void Member(const std::string& name)
    {
        const std::string path = m_folder.Write(name, name);
        const zorpaFileManagerTypes type = name.ends_with(".edn") ? zorpaFT_SYN_EDN : zorpaFT_HDL;
        ASSERT_TRUE(Files().AddOrUpdateFile(
            IfileObjectEx(IfileObject(ImodelFileName(path), type, ImodelFMFull, true, true), false), true));
    }

    TempFolder m_folder;
    MessageRecorder m_messages;
    ImodelHost* m_previousHost = Imodel::GetInstance().GetHost();
    SnapshotHost m_host;
};

}  // namespace

TEST_F(SaveProjectAs, AllOfACopyIsEveryFileOnceThoughALinkLeadsBackUp)
{
    std::filesystem::create_directory_symlink(m_folder / "alu", m_folder / "alu/hdl/loop");
    ASSERT_TRUE(IcmdDoSaveProjectAs(false, "copy", "all", false, IcmdSaveAsAllFiles, IcmdSaveAsAllImpls));
    const std::set<std::string>& copied = m_host.snapshot;
    EXPECT_TRUE(copied.count("all.prj") && copied.count("hdl/scratch.vhd") && copied.count("viewdraw2/x.sch"));
    EXPECT_FALSE(copied.count("alu.prj"));
    EXPECT_TRUE(std::none_of(copied.begin(), copied.end(),
                             [](const std::string& name) { return name.starts_with("hdl/loop"); }));
}

TEST_F(SaveProjectAs, AFailedCopyIsRemovedAndTheOldProjectIsOpenAgain)
{
    const std::string oldFile = Design().GetProjectFileName().GetString();
    const std::string oldText = m_folder.Read("alu/alu.prj");
    m_host.failAfterCopy = true;
    EXPECT_FALSE(IcmdDoSaveProjectAs(false, "copy", "all", false, IcmdSaveAsAllFiles, IcmdSaveAsAllImpls));
    EXPECT_TRUE(m_host.snapshot.count("all.prj"));  // the copy was made before the failure
    EXPECT_FALSE(UtlDoesDiskObjectExist(m_folder / "copy"));
    ASSERT_TRUE(Design().IsProjectOpen());
    EXPECT_EQ(Design().GetProjectFileName().GetString(), oldFile);
    EXPECT_EQ(m_folder.Read("alu/alu.prj"), oldText);
    // Nothing is left in the way of the next try.
    m_host.failAfterCopy = false;
    EXPECT_TRUE(IcmdDoSaveProjectAs(false, "copy", "all", false, IcmdSaveAsAllFiles, IcmdSaveAsAllImpls));
    EXPECT_TRUE(UtlDoesFileExist(m_folder / "copy/all.prj"));
}

TEST_F(SaveProjectAs, ACoreDescriptionBringsItsFolderAndTheOwnFileOfItsComponent)
{
    const std::string description = m_folder.Write("alu/cores/c/c.cxf", "<Component><name>c</name></Component>\n");
    m_folder.Write("alu/cores/c/c.v", "module c; endmodule\n");
    m_folder.Write("alu/generated/c.ixf", "generated\n");
    m_folder.Write("alu/generated/other.txt", "not the component's\n");
    ASSERT_TRUE(Files().AddOrUpdateFile(
        IfileObjectEx(IfileObject(ImodelFileName(description), zorpaFT_OMBRIX_CXF, ImodelFMFull, true, true), false),
        true));
    Ktwkspace::WorkspaceComponentRecord record;
    record.id = VyIfaces::ComponentID("c", "work", "");
    record.definitionFile = description;
    record.ixfFile = m_folder / "alu/generated/c.ixf";
    ASSERT_NE(Imodel::GetInstance().GetWorkspace()->AddComponent(record), nullptr);
    ASSERT_TRUE(IcmdDoSaveProjectAs(false, "copy", "core", false, IcmdSaveAsProjectFiles, IcmdSaveAsNoImpls));
    const std::set<std::string>& copied = m_host.snapshot;
    EXPECT_TRUE(copied.count("cores/c/c.cxf") && copied.count("cores/c/c.v"));
    EXPECT_TRUE(copied.count("generated/c.ixf"));
    EXPECT_FALSE(copied.count("generated/other.txt"));
    EXPECT_TRUE(copied.count("kiltora/kiltora.aws"));
}

TEST_F(SaveProjectAs, ACoreDescriptionInTheProjectFolderOrAboveBringsTheFilesItListsNotTheProject)
{
    // Member descriptions beside the project file and in the folder that
    // holds the project, each listing files of kinds that no source filter
    // keeps; and one in a folder of its own.
    const auto description = [this](const std::string& name) {
        const std::string path = m_folder.Write(name, "<Component><name>c</name></Component>\n");
        EXPECT_TRUE(Files().AddOrUpdateFile(
            IfileObjectEx(IfileObject(ImodelFileName(path), zorpaFT_OMBRIX_CXF, ImodelFMFull, true, true), false),
            true));
        return IfileObject(ImodelFileName(path), zorpaFT_OMBRIX_CXF, ImodelFMFull, true, true);
    };
    const auto listed = [this](const std::string& name, zorpaFileManagerTypes type, const IfileObject& by) {
        IfileObjectEx entry(IfileObject(ImodelFileName(m_folder.Write(name, name)), type, ImodelFMFull, true, true),
                            false);
        entry.AddParentFile(by);
        EXPECT_TRUE(Files().AddOrUpdateFile(entry, true));
    };
    const IfileObject loose = description("alu/loose.cxf");
    listed("alu/loose.v", zorpaFT_HDL, loose);
    listed("alu/loose.gen", zorpaFT_GEN, loose);
    listed("alu/netlists/loose.edn", zorpaFT_SYN_EDN, loose);
    const IfileObject above = description("above.cxf");
    listed("alu/hdl/above.v", zorpaFT_HDL, above);
    listed("alu/synthesis/above.edn", zorpaFT_SYN_EDN, above);
    description("alu/cores/c/c.cxf");
    m_folder.Write("alu/cores/c/c.doc", "in the core's folder\n");
    m_folder.Write("alu/notes.txt", "the user's\n");

    // The copy tool of each filter over the open project, walked as the
    // command's copy walks it.
    const std::string project = Design().GetProjectFolder().GetString();
    for (const IcmdSaveAsFileFilter filter : {IcmdSaveAsSourceFiles, IcmdSaveAsProjectFiles}) {
        const std::string name = filter == IcmdSaveAsSourceFiles ? "sources" : "project";
        SCOPED_TRACE(name);
        const std::string oldFile = Design().GetProjectFileName().GetString();
        ImodelCopyProjectDirTool tool(project.c_str(), (m_folder / name).c_str(), oldFile.c_str(),
                                      (m_folder / (name + "/c.prj")).c_str(), filter, IcmdSaveAsNoImpls);
        ASSERT_TRUE(m_host.CopyFolder(tool, true));
        const std::set<std::string> copied = Tree(m_folder / name);
        for (const char* file : {"loose.cxf", "loose.v", "loose.gen", "netlists/loose.edn", "hdl/above.v",
                                 "synthesis/above.edn", "cores/c/c.cxf", "cores/c/c.doc", "hdl/alu.vhd"})
            EXPECT_TRUE(copied.count(file)) << file;
        // Neither description takes the folder it lies in whole.
        for (const char* file : {"notes.txt", "hdl/scratch.vhd", "viewdraw2/x.sch", "pallador/impl1/alu.adb"})
            EXPECT_FALSE(copied.count(file)) << file;
        // The source filter leaves a member of a later stage that no core lists.
        EXPECT_EQ(copied.count("synthesis/alu.edn") != 0, filter == IcmdSaveAsProjectFiles);
    }
}

TEST_F(SaveProjectAs, TheWorkspacesDesignsInTheProjectGoWithItsFilesThoughNoMembers)
{
    Ktwkspace::Workspace& workspace = *Imodel::GetInstance().GetWorkspace();
    ASSERT_TRUE(workspace.CreateVeyrun("bus").success);
    m_folder.Write("alu/kiltora/bus/bus.bdf", "the design's own data\n");
    // One kept in the project folder itself, one outside the project.
    Ktwkspace::WorkspaceComponentRecord record;
    record.id = VyIfaces::ComponentID("loose", "work", "");
    record.definitionFile = m_folder.Write("alu/loose.cxf", "<Component><name>loose</name></Component>\n");
    ASSERT_NE(workspace.AddComponent(record), nullptr);
    record.id = VyIfaces::ComponentID("far", "work", "");
    record.definitionFile = m_folder.Write("lib/far/far.cxf", "<Component><name>far</name></Component>\n");
    ASSERT_NE(workspace.AddComponent(record), nullptr);
    ASSERT_TRUE(IcmdDoSaveProjectAs(false, "copy", "c", false, IcmdSaveAsSourceFiles, IcmdSaveAsNoImpls));
    const std::set<std::string>& copied = m_host.snapshot;
    EXPECT_TRUE(copied.count("kiltora/bus/bus.cxf") && copied.count("kiltora/bus/bus.bdf"));
    EXPECT_TRUE(copied.count("loose.cxf"));
    // The design in the project folder brings its own file, not the folder.
    EXPECT_FALSE(copied.count("hdl/scratch.vhd"));
    EXPECT_FALSE(copied.count("far.cxf") || copied.count("lib/far/far.cxf"));
    // The copy's workspace finds the design it holds and opens it.
    EXPECT_TRUE(Imodel::GetInstance().GetWorkspace()->OpenVeyrun("bus"));
}

TEST(CopyProjectDirTool, AFolderHoldsWhatLiesBelowItsLastNameOnly)
{
    using Tool = ImodelCopyProjectDirTool;
    EXPECT_TRUE(Tool::IsObjectInFolder("/w/alu/pallador/impl1", "/w/alu/pallador/impl1"));
    EXPECT_TRUE(Tool::IsObjectInFolder("/w/alu/pallador/impl1/a.adb", "/w/alu/pallador/impl1/"));
    EXPECT_TRUE(Tool::IsObjectInFolder("/w/alu/pallador\\impl1\\sub", "/w/alu/pallador/impl1"));
    EXPECT_FALSE(Tool::IsObjectInFolder("/w/alu/pallador/IMPL1/sub", "/w/alu/pallador/impl1"));
    EXPECT_FALSE(Tool::IsObjectInFolder("/w/alu/pallador/impl10", "/w/alu/pallador/impl1"));
    EXPECT_FALSE(Tool::IsObjectInFolder("/w/alu/viewdraw2/x.sch", "/w/alu/viewdraw"));
    EXPECT_FALSE(Tool::IsObjectInFolder("/w/alu", "/w/alu/pallador"));
    EXPECT_FALSE(Tool::IsObjectInFolder("/w/alu", ""));
}

TEST_F(SaveProjectAs, TheCopyToolKnowsAFileHoweverItIsSpelledButNotInOtherLetters)
{
    using Tool = ImodelCopyProjectDirTool;
    const std::string project = Design().GetProjectFolder().GetString();
    std::mt19937 random(712);
    // The same name with "<project>" or the folder, either separator and,
    // for a folder, a trailing one.
    const auto spell = [&](const std::string& inside, bool trailing) {
        std::string text = random() % 2 ? std::string(ImodelProjectToken) : project;
        for (const char c : "/" + inside) text += c == '/' && random() % 2 ? '\\' : c;
        if (trailing && random() % 2) text += '/';
        return ImodelFileName(text);
    };
    // The disk the copy walks tells letter cases apart: "HDL/Top.vhd" is
    // another file than "hdl/top.vhd".
    const auto upper = [](ImodelFileName name) {
        std::string text = name.GetString();
        const std::size_t end = text.find_last_not_of("/\\") + 1;
        const std::size_t last = text.find_last_of("/\\", end - 1);
        for (std::size_t i = last == std::string::npos ? 0 : last + 1; i < end; ++i)
            text[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])));
        return ImodelFileName(text);
    };
    for (int round = 0; round < 200; ++round) {
        const std::string folder = random() % 2 ? "pallador/impl1" : "hdl";
        const ImodelFileName a = spell(folder, true);
        const ImodelFileName b = spell(folder, true);
        SCOPED_TRACE(a.GetString() + " | " + b.GetString());
        EXPECT_TRUE(Tool::IsObjectInFolder(a, b) && Tool::IsObjectInFolder(b, a));
        EXPECT_TRUE(Tool::IsObjectInFolder(spell(folder + "/top.vhd", false), b));
        EXPECT_FALSE(Tool::IsObjectInFolder(spell(folder + "0/top.vhd", false), b));
        EXPECT_FALSE(Tool::IsObjectInFolder(b, spell(folder + "/top.vhd", false)));
        const ImodelFileName file = spell(folder + "/top.vhd", false);
        EXPECT_TRUE(Tool::IsObjectInFolder(file, spell(folder + "/top.vhd", false)));
        EXPECT_FALSE(Tool::IsObjectInFolder(upper(file), file));
        EXPECT_FALSE(Tool::IsObjectInFolder(spell(folder + "/top.vhd", false), upper(b)));
    }
}
