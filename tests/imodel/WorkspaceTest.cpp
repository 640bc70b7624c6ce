#include "CoreServicesTestSupport.h"
#include "MessageRecorder.h"

#include "imodel/names/ImodelFileName.h"
#include "itool/ItoolModelSimPathOptions.h"

#include <ktwkspace/Catalog.h>
#include <vy/VyBusDefMgr.h>

#include <gtest/gtest.h>

#include <filesystem>
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
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<workspace version=\"1\" name=\"kiltora\" "
              "family=\"ZX7\" die=\"zx7a\" package=\"pq208\" language=\"VHDL\">\n</workspace>\n");
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

TEST_F(WorkspaceTest, AWorkspaceThatCannotBeReadOrCreatedIsReportedAndWhatIsThereKept)
{
    project.Write("kiltora/kiltora.aws", "garbage\n");
    MessageRecorder messages;
    ExpectOpenFails(messages);
    EXPECT_EQ(project.Read("kiltora/kiltora.aws"), "garbage\n");

    // A value the workspace file cannot hold makes the creation refuse its arguments.
    std::filesystem::remove_all(project / "kiltora");
    devices.SetDevice(ImodelDevice("ZX\n7", "", ""));
    messages.Clear();
    model.OpenWorkspace();
    EXPECT_EQ(model.GetWorkspace(), nullptr);
    EXPECT_EQ(messages.WithId("INTERNAL_ERROR_CREATE_WORKSPACE").size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(WorkspaceFile()));
    // The workspace's folder is taken by a file.
    devices.SetDevice(ImodelDevice("ZX7", "zx7a", "pq208"));
    project.Write("kiltora", "in the way");
    messages.Clear();
    ExpectOpenFails(messages);
    EXPECT_EQ(project.Read("kiltora"), "in the way");
}
