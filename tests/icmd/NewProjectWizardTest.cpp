// new_project run from the new-project wizard: the files the wizard
// collected (through its own import_files and create_links) come into the
// new project, copied or linked, in the order of the design flow; the
// import commands it ran are its inner commands; a file that cannot come in
// is reported and the project stays created and open.
#include "MessageRecorder.h"
#include "ProjectCommandsTest.h"

#include "icmd/files/IcmdCreateLink.h"
#include "icmd/files/IcmdImportFiles.h"
#include "icmd/project/IcmdNewProject.h"
#include "icmd/project/IcmdOpenProject.h"
#include "ifile/IfileFlowOrder.h"
#include "ifile/IfileManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"

#include <foundation/Sys.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }
AcmdManager& Manager() { return AcmdManager::GetInstance(); }

std::vector<std::string> NamesOf(const std::vector<AcmdBase*>& commands)
{
    std::vector<std::string> names;
    for (const AcmdBase* command : commands) names.push_back(command->GetName());
    return names;
}

class NewProjectWizard : public ProjectCommandsTest {
protected:
    void SetUp() override
    {
        ProjectCommandsTest::SetUp();
        ImodelDesignManager& design = *wizard->GetDesignManager();
        design.SetProjectFolder(ImodelFileName(m_folder / "alu"));
        design.SetProjectName(ImodelFileName("alu"));
        design.SetDefaultVHDL(true);
        ImodelDevice device;
        device.SetMember("ZX3", imodelDeviceFamily);
        device.SetMember("zx3_10", imodelDeviceDie);
        device.SetMember("tq100", imodelDevicePackage);
        wizard->GetDeviceManager()->SetDevice(device);
    }
    void TearDown() override
    {
        Imodel::DestroyNewProjectWizardInstance(wizard);
        ProjectCommandsTest::TearDown();
    }

    // The wizard takes note of the files, written first, as its import
    // dialog does: by import_files (create_links with `asLinks`) on its model.
    void Collect(bool asLinks, const std::vector<std::pair<std::string, zorpaFileManagerTypes>>& files)
    {
        std::unique_ptr<IcmdImportFiles> command = asLinks ? std::make_unique<IcmdCreateLink>(wizard.get())
                                                           : std::make_unique<IcmdImportFiles>(wizard.get(), false);
        for (const auto& [name, type] : files) {
            const std::string path = m_folder.Write(name, Content(name));
            ASSERT_TRUE(command->AddFileObject(IfileObject(ImodelFileName(path), type, ImodelFMFull, true, true)));
        }
        ASSERT_EQ(Manager().Run(command.get(), false), AcmdEnum::Success);
    }
    static std::string Content(const std::string& name)
    {
        const std::string title = name.substr(name.rfind('/') + 1, name.rfind('.') - name.rfind('/') - 1);
        if (name.ends_with(".edn")) return "(edif " + title + " (design " + title + " (cellRef " + title + ")))\n";
        return "entity " + title + " is end;\narchitecture rtl of " + title + " is begin end;\n";
    }

    // The new project from the wizard, kept, so that its commands can be asked.
    IcmdNewProject* NewProject()
    {
        if (!IcmdDoNewProject(true, *wizard)) return nullptr;
        return dynamic_cast<IcmdNewProject*>(Manager().GetHistory().back().get());
    }
    std::string Project(const std::string& name) const { return m_folder / ("alu/" + name); }
    static Entry Member(const std::string& path)
    {
        return Files().GetFile(IfileObject(ImodelFileName(path), zorpaFT_UNKNOWN, ImodelFMFull, true, true));
    }
    static ImodelModule* Unit(const std::string& name)
    {
        return ImodelFindModuleInLib(Design().FindLibraryByName("work"), name, zorpaMODULE_UNKNOWN, "");
    }

    std::unique_ptr<Imodel> wizard = Imodel::CreateNewProjectWizardInstance();
};

// A command that notes whether the project counted as being read while it ran.
class ReadingProbe : public AcmdBase {
public:
    explicit ReadingProbe(std::vector<bool>& seen) : m_seen(seen) {}
    std::string GetName() const override { return "reading_probe"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<ReadingProbe>(m_seen); }
    AcmdEnum::Result execDo() override
    {
        m_seen.push_back(Imodel::GetIsReadingProject());
        return AcmdEnum::Failure;
    }

private:
    std::vector<bool>& m_seen;
};

class ProbedNewProject : public IcmdNewProject {
public:
    using IcmdNewProject::ExecuteImportCmd;
};

}  // namespace

TEST_F(NewProjectWizard, TheWizardsFilesComeInCopiedOrLinkedInFlowOrderAndAreItsInnerCommands)
{
    // In name order the netlist comes before the sources: the flow puts it after them.
    Collect(false,
            {{"picked/alu.edn", zorpaFT_SYN_EDN}, {"picked/alu.vhd", zorpaFT_HDL}, {"picked/adder.vhd", zorpaFT_HDL}});
    Collect(true, {{"shared/common.vhd", zorpaFT_HDL}});
    const MessageRecorder messages;
    IcmdNewProject* made = NewProject();
    ASSERT_NE(made, nullptr);
    ASSERT_TRUE(Design().IsProjectOpen());

    const IprocessFlow& flow = *Imodel::GetInstance().GetProcessManager()->GetFlowForModule(nullptr);
    const IfileSortFilesFlowOrder order(flow.GetFileObjects());
    ASSERT_LT(order.GetFlowPosition(zorpaFT_HDL), order.GetFlowPosition(zorpaFT_SYN_EDN));
    std::vector<std::string> imported;
    for (const IfileObjectEx& file : made->GetImportList()) imported.push_back(file.GetFileTitleAndExt());
    EXPECT_EQ(imported, (std::vector<std::string>{"adder.vhd", "alu.vhd", "alu.edn"}));
    ASSERT_EQ(made->GetLinkList().size(), 1u);
    EXPECT_TRUE(made->GetLinkList().front().ImportAsLink());

    std::vector<AcmdBase*> commands;
    EXPECT_TRUE(made->GetInnerCmds(commands));
    EXPECT_EQ(NamesOf(commands), (std::vector<std::string>{"new_project", "import_files", "create_links"}));
    // Appended to what the caller holds already.
    EXPECT_TRUE(made->GetInnerCmds(commands));
    EXPECT_EQ(commands.size(), 6u);

    // The copies lie in the project's folders of their kinds, parsed.
    for (const char* name : {"hdl/alu.vhd", "hdl/adder.vhd"}) {
        const Entry copy = Member(Project(name));
        ASSERT_TRUE(copy) << name;
        EXPECT_TRUE(copy->IsLocalFile()) << name;
        EXPECT_EQ(m_folder.Read(std::string("alu/") + name), m_folder.Read(std::string("picked/") + (name + 4)));
    }
    const Entry netlist = Member(Project("synthesis/alu.edn"));
    ASSERT_TRUE(netlist);
    EXPECT_EQ(netlist->GetFileSpecificType(), zorpaFT_SYN_EDN);
    EXPECT_NE(Unit("alu"), nullptr);
    EXPECT_NE(Unit("adder"), nullptr);
    // The link stays where it is, outside the project, and its unit is known.
    const Entry link = Member(m_folder / "shared/common.vhd");
    ASSERT_TRUE(link);
    EXPECT_FALSE(link->IsLocalFile());
    EXPECT_FALSE(UtlDoesFileExist(Project("hdl/common.vhd")));
    EXPECT_NE(Unit("common"), nullptr);
    EXPECT_EQ(Files().GetFileCount(), 4);
    EXPECT_TRUE(messages.WithId("FILE_NOT_FOUND").empty());
    EXPECT_EQ(messages.WithId("PROJECT_CREATED").size(), 1u);

    // Saved and opened again, the project holds them all.
    ASSERT_TRUE(IcmdDoCloseProject(false, false));
    ASSERT_TRUE(IcmdDoOpenProject(Project("alu.prj").c_str(), false, false));
    EXPECT_EQ(Files().GetFileCount(), 4);
    ASSERT_TRUE(Member(m_folder / "shared/common.vhd"));
    EXPECT_FALSE(Member(m_folder / "shared/common.vhd")->IsLocalFile());
}

TEST_F(NewProjectWizard, WithoutWizardFilesNoImportRunsAndTheCommandIsItsOnlyOne)
{
    const std::size_t history = Manager().GetHistory().size();
    ASSERT_TRUE(IcmdDoNewProject(true, "alu", m_folder / "alu", true, "ZX3", "zx3_10", "tq100"));
    ASSERT_EQ(Manager().GetHistory().size(), history + 1);
    auto* made = dynamic_cast<IcmdNewProject*>(Manager().GetHistory().back().get());
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->GetImportList().empty());
    EXPECT_TRUE(made->GetLinkList().empty());
    std::vector<AcmdBase*> commands;
    EXPECT_TRUE(made->GetInnerCmds(commands));
    EXPECT_EQ(NamesOf(commands), std::vector<std::string>{"new_project"});
    EXPECT_EQ(Files().GetFileCount(), 0);

    // Nothing is taken from no wizard.
    IcmdNewProject command;
    command.SetParams(nullptr);
    EXPECT_TRUE(command.location.GetObject().empty());
    EXPECT_TRUE(command.GetImportList().empty());
}

TEST_F(NewProjectWizard, FilesThatCannotComeInAreReportedAndTheProjectStaysCreatedAndOpen)
{
    Collect(false, {{"picked/alu.vhd", zorpaFT_HDL}, {"picked/gone.vhd", zorpaFT_HDL}});
    Collect(true, {{"shared/lost.vhd", zorpaFT_HDL}});
    // A file of a kind no import takes, noted by the wizard all the same.
    IfileObjectEx notes(
        IfileObject(ImodelFileName(m_folder.Write("picked/notes.txt", "x\n")), zorpaFT_TXT, ImodelFMFull, true, true),
        true);
    wizard->GetFileManager()->AddOrUpdateFile(notes, false);
    ASSERT_TRUE(std::filesystem::remove(m_folder / "picked/gone.vhd"));
    ASSERT_TRUE(std::filesystem::remove(m_folder / "shared/lost.vhd"));
    const MessageRecorder messages;

    IcmdNewProject* made = NewProject();
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(Design().IsProjectOpen());
    EXPECT_TRUE(UtlDoesFileExist(Project("alu.prj")));
    std::vector<AcmdBase*> commands;
    made->GetInnerCmds(commands);
    EXPECT_EQ(NamesOf(commands), (std::vector<std::string>{"new_project", "import_files", "create_links"}));
    // The file that is there came in; each of the others is named.
    EXPECT_TRUE(Member(Project("hdl/alu.vhd")));
    EXPECT_EQ(Files().GetFileCount(), 1);
    std::vector<std::string> missing;
    for (const MdbMessage& message : messages.WithId("FILE_NOT_FOUND")) missing.push_back(message.text);
    EXPECT_EQ(missing, (std::vector<std::string>{"Unable to find the file '" + (m_folder / "picked/gone.vhd") + "'.",
                                                 "Unable to find the file '" + (m_folder / "shared/lost.vhd") + "'."}));
    ASSERT_EQ(messages.WithId("IMPORT_NOT_SUPPORTED").size(), 1u);
    EXPECT_NE(messages.WithId("IMPORT_NOT_SUPPORTED").front().text.find("'notes.txt'"), std::string::npos);
}

TEST_F(NewProjectWizard, AnImportCommandRunsWithTheProjectNotBeingReadAndIsKept)
{
    ProbedNewProject command;
    std::vector<bool> seen;
    {
        const ImodelSetAndRestoreModelFlagObject reading(Imodel::GetIsReadingProject(), true);
        command.ExecuteImportCmd(std::make_unique<ReadingProbe>(seen));
        // The flag is back for the rest of the creation.
        EXPECT_TRUE(Imodel::GetIsReadingProject());
        command.ExecuteImportCmd(nullptr);
    }
    EXPECT_EQ(seen, std::vector<bool>{false});
    std::vector<AcmdBase*> commands;
    command.GetInnerCmds(commands);
    // Kept even though it failed.
    EXPECT_EQ(NamesOf(commands), (std::vector<std::string>{"new_project", "reading_probe"}));
}
