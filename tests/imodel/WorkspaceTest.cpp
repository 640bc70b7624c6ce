#include "CoreServicesTestSupport.h"
#include "MessageRecorder.h"

#include "imodel/model/QuorlaneCallBack.h"
#include "imodel/names/ImodelFileName.h"
#include "itool/ItoolModelSimPathOptions.h"

#include <ktwkspace/Catalog.h>
#include <ndb/NdbWorld.h>
#include <vy/VyBusDefMgr.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace {

class WorkspaceTest : public CoreServicesFixture {
protected:
    std::string WorkspaceFile() const { return project / "kiltora/kiltora.aws"; }

    // IDE_OPEN_MRU_PROJECT as the options database holds it, if it does.
    static std::optional<int> OpenMruProject()
    {
        int value = -1;
        if (DefGetBoolFL("IDE_OPEN_MRU_PROJECT", &value) != 0) return std::nullopt;
        return value;
    }

    // Opens the workspace and expects the failure to be reported.
    void ExpectOpenFails(MessageRecorder& messages)
    {
        model.OpenWorkspace();
        EXPECT_EQ(model.GetWorkspace(), nullptr);
        EXPECT_EQ(messages.WithId("INTERNAL_ERROR_CREATE_WORKSPACE").size(), 1u);
        EXPECT_EQ(OpenMruProject(), 0);
        // The catalogue follows the device even so.
        EXPECT_EQ(model.GetCatalog().GetFamily(), "ZX7");
    }
};

}  // namespace

TEST_F(WorkspaceTest, TheWorkspaceFileLiesInTheCoreFolderOfTheOpenProject)
{
    ImodelFileName name("stale");
    model.GetWorkspaceFileName(name);
    EXPECT_EQ(name.GetString(), WorkspaceFile());

    design.SetProjectFolder(ImodelFileName());
    model.GetWorkspaceFileName(name);
    EXPECT_TRUE(name.empty());
}

TEST_F(WorkspaceTest, OpeningOnANewProjectCreatesTheWorkspaceAndOpeningAgainReadsIt)
{
    MessageRecorder messages;
    model.OpenWorkspace();
    Ktwkspace::Workspace* created = model.GetWorkspace();
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(model.GetCurrentWorkspace(), created);
    EXPECT_TRUE(created->ownedByProject);
    EXPECT_EQ(created->GetFileName(), WorkspaceFile());
    EXPECT_EQ(project.Read("kiltora/kiltora.aws"),
              "KILTORA_WORKSPACE 1\nName=kiltora\nFamily=ZX7\nDie=zx7a\nPackage=pq208\nLanguage=VHDL\n");
    EXPECT_EQ(created->GetCatalog(), model.GetCatalog().GetCatalogIf());
    EXPECT_EQ(model.GetCatalog().GetFamily(), "ZX7");
    EXPECT_EQ(Vybusdef::VyBusDefMgr::GetInstance().GetLoadedFamily(), "ZX7");
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(OpenMruProject(), std::nullopt);

    // The second open reads the file: the project's device has moved on,
    // the workspace still records the one it was made for.
    devices.SetDevice(ImodelDevice("QL3", "", ""));
    design.SetDefaultVHDL(false);
    model.OpenWorkspace();
    ASSERT_NE(model.GetWorkspace(), nullptr);
    EXPECT_EQ(model.GetWorkspace()->GetSettings().family, "ZX7");
    EXPECT_EQ(model.GetWorkspace()->GetSettings().language, "VHDL");
    EXPECT_TRUE(model.GetWorkspace()->ownedByProject);
    EXPECT_EQ(model.GetCatalog().GetFamily(), "QL3");
    EXPECT_EQ(Vybusdef::VyBusDefMgr::GetInstance().GetLoadedFamily(), "QL3");
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(WorkspaceTest, AVerilogProjectGetsAVerilogWorkspace)
{
    design.SetDefaultVHDL(false);
    model.OpenWorkspace();
    ASSERT_NE(model.GetWorkspace(), nullptr);
    EXPECT_EQ(model.GetWorkspace()->GetSettings().language, "Verilog");
}

TEST_F(WorkspaceTest, WithoutAProjectOnlyTheOpenWorkspaceIsClaimed)
{
    design.SetProjectFolder(ImodelFileName());
    MessageRecorder messages;
    auto workspace = std::make_unique<Ktwkspace::Workspace>("kiltora", project.Path(), "ZX7", "", "", "VHDL", false, 0,
                                                            true, true, nullptr, nullptr);
    model.SetWorkspace(workspace.release());
    model.GetCatalog().setCatalog("untouched");

    model.OpenWorkspace();
    ASSERT_NE(model.GetWorkspace(), nullptr);
    EXPECT_TRUE(model.GetWorkspace()->ownedByProject);
    EXPECT_EQ(model.GetCatalog().GetFamily(), "untouched");
    EXPECT_TRUE(messages.Messages().empty());
    model.GetCatalog().setCatalog("");
}

TEST_F(WorkspaceTest, AWorkspaceOfAnotherVersionStaysUnopenedWithoutAWord)
{
    project.Write("kiltora/kiltora.aws", "KILTORA_WORKSPACE 7\nName=kiltora\n");
    MessageRecorder messages;
    model.OpenWorkspace();
    EXPECT_EQ(model.GetWorkspace(), nullptr);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(OpenMruProject(), std::nullopt);
    EXPECT_EQ(project.Read("kiltora/kiltora.aws"), "KILTORA_WORKSPACE 7\nName=kiltora\n");
}

TEST_F(WorkspaceTest, AWorkspaceThatCannotBeReadIsReportedAndKept)
{
    project.Write("kiltora/kiltora.aws", "garbage\n");
    MessageRecorder messages;
    ExpectOpenFails(messages);
    EXPECT_EQ(project.Read("kiltora/kiltora.aws"), "garbage\n");
}

TEST_F(WorkspaceTest, AWorkspaceThatCannotBeCreatedIsReported)
{
    // The workspace's folder is taken by a file.
    project.Write("kiltora", "in the way");
    MessageRecorder messages;
    ExpectOpenFails(messages);
    EXPECT_EQ(project.Read("kiltora"), "in the way");
}

TEST_F(WorkspaceTest, ACreationRefusedForItsArgumentsIsReportedToo)
{
    // A value the workspace file cannot hold makes the creation refuse its
    // arguments; that is a failure like any other.
    devices.SetDevice(ImodelDevice("ZX\n7", "", ""));
    MessageRecorder messages;
    model.OpenWorkspace();
    EXPECT_EQ(model.GetWorkspace(), nullptr);
    EXPECT_EQ(messages.WithId("INTERNAL_ERROR_CREATE_WORKSPACE").size(), 1u);
    EXPECT_EQ(OpenMruProject(), 0);
    EXPECT_FALSE(std::filesystem::exists(WorkspaceFile()));
}

TEST_F(WorkspaceTest, SettingAWorkspaceReplacesTheOldOneAndHandsItTheHostsCallback)
{
    QuorlaneCallBack::QuorlaneIIDEObject callback;
    auto make = [this](const std::string& name) {
        return std::make_unique<Ktwkspace::Workspace>(name, project.Path(), "ZX7", "", "", "VHDL", false, 0, true, true,
                                                      nullptr, nullptr)
            .release();
    };
    Ktwkspace::Workspace* first = make("first");
    model.SetWorkspace(first);
    EXPECT_EQ(first->GetIDECallBack(), nullptr);
    // The current workspace again: kept, not deleted.
    model.SetWorkspace(first);
    EXPECT_EQ(model.GetWorkspace(), first);
    EXPECT_EQ(first->GetSettings().name, "first");

    IIDEObjectHost host(&callback);
    Ktwkspace::Workspace* second = make("second");
    model.SetWorkspace(second);
    EXPECT_EQ(model.GetWorkspace(), second);
    EXPECT_EQ(second->GetIDECallBack(), &callback);

    // Opening hands the callback to the bus definitions and the workspace.
    model.OpenWorkspace();
    ASSERT_NE(model.GetWorkspace(), nullptr);
    EXPECT_EQ(model.GetWorkspace()->GetIDECallBack(), &callback);
    EXPECT_EQ(Vybusdef::VyBusDefMgr::GetInstance().GetIDECallBack(), &callback);

    model.SetWorkspace(nullptr);
    EXPECT_EQ(model.GetWorkspace(), nullptr);
    Vybusdef::VyBusDefMgr::GetInstance().SetIDECallBack(nullptr);
}

TEST_F(WorkspaceTest, TheWizardHasNoBusDefinitionsAndMayAlwaysChangeFamily)
{
    EXPECT_EQ(model.GetBusDefManager(), &Vybusdef::VyBusDefMgr::GetInstance());
    Imodel* wizard = Imodel::CreateNewProjectWizardInstance();
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(wizard->GetBusDefManager(), nullptr);
    EXPECT_NE(&wizard->GetCatalog(), &model.GetCatalog());
    EXPECT_EQ(wizard->GetWorkspace(), nullptr);
    EXPECT_TRUE(wizard->CanChangeFamily());
    Imodel::DestroyNewProjectWizardInstance(wizard);
    EXPECT_EQ(wizard, nullptr);
}

TEST_F(WorkspaceTest, TheCatalogueIsLoadedFromTheInstallFolderAtConstruction)
{
    TempFolder install;
    install.Write("data/kiltora_catalog.xml",
                  R"(<kiltora_catalog><core vendor="brennic.com" library="kiltora" name="fifo" version="1.0"/>)"
                  R"(</kiltora_catalog>)");
    const std::string folder = install.Path() + "/\\";
    ASSERT_EQ(setenv("BRENNIC_SW_DIR", folder.c_str(), 1), 0);
    Imodel* wizard = Imodel::CreateNewProjectWizardInstance();
    setenv("BRENNIC_SW_DIR", "", 1);
    ASSERT_NE(wizard, nullptr);
    ASSERT_EQ(wizard->GetCatalog().GetAllCores().size(), 1u);
    EXPECT_EQ(wizard->GetCatalog().GetAllCores()[0].name, "fifo");
    Imodel::DestroyNewProjectWizardInstance(wizard);

    // Without an install folder the catalogue is empty.
    wizard = Imodel::CreateNewProjectWizardInstance();
    EXPECT_TRUE(wizard->GetCatalog().GetAllCores().empty());
    Imodel::DestroyNewProjectWizardInstance(wizard);
}

TEST_F(WorkspaceTest, TheTempWorldIsMadeOnceAndDeletedOnlyOnRequest)
{
    const int before = NdbGetWorldCount();
    EXPECT_EQ(model.GetExistingTempWorld(), nullptr);
    NdbWorld* world = model.GetTempWorld();
    ASSERT_NE(world, nullptr);
    EXPECT_EQ(NdbGetWorldName(world), "temp");
    EXPECT_EQ(model.GetTempWorld(), world);
    EXPECT_EQ(model.GetExistingTempWorld(), world);
    EXPECT_EQ(NdbGetWorldCount(), before + 1);

    model.DeleteTempWorld();
    EXPECT_EQ(model.GetExistingTempWorld(), nullptr);
    EXPECT_EQ(NdbGetWorldCount(), before);
    // Without a world there is only the cell library to free.
    model.DeleteTempWorld();
    EXPECT_EQ(NdbGetWorldCount(), before);
}

TEST_F(WorkspaceTest, EqualSimulatorPathOptionsLeaveTheProjectSaved)
{
    bool saved = false;
    model.SetModelSimPathOptions(ItoolModelSimPathOptions(), saved);
    EXPECT_FALSE(design.GetNeedSave());
}
