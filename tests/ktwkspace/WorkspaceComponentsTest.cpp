// The components of the core workspace: creation and the workspace file
// that keeps them, the editors' state, and what the project tells the
// workspace about its files.
#include <ktwkspace/Workspace.h>

#include "TempFolder.h"

#include <ndb/BrnDevice.h>
#include <ulv/VlnvCoreId.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using Ktwkspace::Workspace;
using Ktwkspace::WorkspaceComponentRecord;
using VyIfaces::ComponentID;
using VyIfaces::IComponent;

namespace {

std::unique_ptr<Workspace> Create(const std::string& projectFolder)
{
    return std::make_unique<Workspace>("kiltora", projectFolder, "ZX7", "zx7a", "pq208", "VHDL", false, 0, true, true,
                                       nullptr, nullptr);
}

std::unique_ptr<Workspace> Reopen(const Workspace& workspace)
{
    return std::make_unique<Workspace>(workspace.GetFileName(), false, true, false, "", nullptr, nullptr);
}

// Every component of the table: identity, kind, state, files, device, open.
std::string Table(const Workspace& workspace)
{
    std::string text;
    for (const Workspace::DesignEntry& entry : workspace.GetDesignTable()) {
        const IComponent& component = *entry.component;
        const auto& record = dynamic_cast<const Ktwkspace::WorkspaceComponent&>(component).GetRecord();
        text += component.GetComponentID().ToString() + " " + std::to_string(component.GetModuleType()) + " " +
                std::to_string(component.GetState()) + " " + component.GetDefinitionFileName() + " " +
                component.GetIXFFileName() + " " + record.family + "/" + record.die + (entry.open ? " open" : "") +
                "\n";
    }
    return text;
}

}  // namespace

TEST(KtwkspaceComponents, CreatedCoresAndBlockDesignsAreKeptInTheWorkspaceFile)
{
    TempFolder project;
    auto workspace = Create(project.Path());
    const Workspace::CreateResult core =
        workspace->CreateUniqueCore(VlnvCoreId("brennic.com", "kiltora", "fifo", "1.0"), "fifo_a");
    ASSERT_TRUE(core.success);
    ASSERT_TRUE(workspace->CreateVeyrun("top_bd").success);
    EXPECT_EQ(project.Read("kiltora/fifo_a/fifo_a.cxf"),
              "KILTORA_COMPONENT 1\nName=fifo_a\nKind=Kiltora\nCore=brennic.com:kiltora:fifo:1.0\n");

    // Taken names, and names that are no folder name, create nothing.
    for (const std::string name : {"FIFO_A", "", "a/b", "..", "a\tb"}) {
        EXPECT_FALSE(workspace->CreateVeyrun(name).success) << name;
        EXPECT_EQ(workspace->CreateVeyrun(name).component, nullptr);
    }
    const std::string folder = project / "kiltora";
    const std::string expected = "fifo_a::work 0 1 " + folder + "/fifo_a/fifo_a.cxf " + folder +
                                 "/fifo_a/fifo_a.ixf ZX7/zx7a\n" + "top_bd::work 6 1 " + folder +
                                 "/top_bd/top_bd.cxf " + folder + "/top_bd/top_bd.ixf ZX7/zx7a\n";
    EXPECT_EQ(Table(*workspace), expected);
    EXPECT_EQ(workspace->FindComponent(ComponentID("FIFO_A", "WORK", "")), core.component);
    EXPECT_EQ(workspace->GetComponentCollection().size(), 2u);

    // Files below the workspace's folder are written relative to it.
    EXPECT_NE(project.Read("kiltora/kiltora.aws").find("Component=0\t1\tfifo_a\twork\t\tfifo_a/fifo_a.cxf\t"),
              std::string::npos);
    auto reopened = Reopen(*workspace);
    EXPECT_EQ(Table(*reopened), expected);

    // A removed core leaves the file; from disk, its files go too. Whoever
    // still holds it holds a live component.
    EXPECT_TRUE(reopened->RemoveComponent(ComponentID("fifo_a", "work", ""), true));
    EXPECT_FALSE(reopened->RemoveComponent(ComponentID("fifo_a", "work", ""), true));
    EXPECT_FALSE(std::filesystem::exists(folder + "/fifo_a/fifo_a.cxf"));
    EXPECT_EQ(core.component->GetComponentID().name, "fifo_a");
    EXPECT_EQ(Table(*Reopen(*reopened)),
              "top_bd::work 6 1 " + folder + "/top_bd/top_bd.cxf " + folder + "/top_bd/top_bd.ixf ZX7/zx7a\n");
}

TEST(KtwkspaceComponents, EditorsOpenCloseAndComeToTheFrontAndKeepTheirFilesInThePlace)
{
    TempFolder project;
    auto workspace = Create(project.Path());
    IComponent* design = workspace->CreateVeyrun("bd").component;
    IComponent* core = workspace->CreateUniqueCore(VlnvCoreId("v", "l", "n", "1"), "core").component;
    const ComponentID bd("bd", "work", "");
    EXPECT_FALSE(workspace->ActivateComponent(bd));
    EXPECT_FALSE(workspace->OpenVeyrun("core"));  // a core is no block design
    EXPECT_FALSE(workspace->OpenVeyrun("nosuch"));
    EXPECT_TRUE(workspace->OpenVeyrun("bd"));
    EXPECT_TRUE(workspace->IsComponentOpen(bd));
    EXPECT_TRUE(workspace->ActivateComponent(bd));
    EXPECT_EQ(workspace->GetActiveVeyrun(), design);

    // A file that defines an open design cannot go.
    const std::string file = design->GetDefinitionFileName();
    EXPECT_FALSE(workspace->CanRemoveFile(file, false));
    EXPECT_TRUE(workspace->CanRemoveFile(core->GetDefinitionFileName(), true));
    EXPECT_TRUE(workspace->CloseEditor(design));
    EXPECT_FALSE(workspace->IsComponentOpen(bd));
    EXPECT_EQ(workspace->GetActiveVeyrun(), nullptr);
    EXPECT_TRUE(workspace->CanRemoveFile(file, false));

    // Renamed and moved files, the module's place; another identity's place is refused.
    workspace->FileNameChanged(file, project / "elsewhere/bd.cxf");
    workspace->DefinitionMoved(core->GetDefinitionFileName(), project / "moved/core.cxf");
    WorkspaceComponentRecord twin;
    twin.id = ComponentID("core", "lib2", "");
    ASSERT_NE(workspace->AddComponent(twin), nullptr);
    EXPECT_FALSE(workspace->SetComponentLibraryAndPackage(core, "LIB2", ""));
    EXPECT_FALSE(workspace->SetComponentLibraryAndPackage(nullptr, "lib1", ""));
    EXPECT_TRUE(workspace->SetComponentLibraryAndPackage(core, "lib1", "pkg"));
    EXPECT_EQ(workspace->FindComponent(ComponentID("core", "lib1", "pkg")), core);
    EXPECT_EQ(workspace->FindComponent(ComponentID("core", "work", "")), nullptr);
    auto reopened = Reopen(*workspace);
    EXPECT_EQ(reopened->FindComponent(ComponentID("bd", "work", ""))->GetDefinitionFileName(),
              project / "elsewhere/bd.cxf");
    EXPECT_EQ(reopened->FindComponent(ComponentID("core", "lib1", "pkg"))->GetDefinitionFileName(),
              project / "moved/core.cxf");

    // A removed file takes the components it defines along.
    workspace->FileRemoved(project / "MOVED/core.cxf", false);
    EXPECT_EQ(workspace->GetComponentCollection().size(), 2u);
    EXPECT_EQ(workspace->FindComponent(ComponentID("core", "lib1", "pkg")), nullptr);
}

TEST(KtwkspaceComponents, UpdateReadsTheFileAgainAndComponentsDependOnTheirDevice)
{
    TempFolder project;
    auto workspace = Create(project.Path());
    IComponent* kept = workspace->CreateVeyrun("kept").component;
    workspace->CreateVeyrun("dropped");
    ASSERT_TRUE(workspace->OpenVeyrun("kept"));

    // Another writer of the file: one component more, one less, a new state.
    auto other = Reopen(*workspace);
    WorkspaceComponentRecord added;
    added.id = ComponentID("added", "work", "");
    added.state = 0;
    ASSERT_NE(other->AddComponent(added), nullptr);
    EXPECT_EQ(other->AddComponent(added), nullptr);  // the identity is taken
    EXPECT_TRUE(other->RemoveComponent(ComponentID("dropped", "work", ""), false));
    workspace->Update();
    EXPECT_EQ(workspace->FindComponent(ComponentID("kept", "work", "")), kept);
    EXPECT_TRUE(workspace->IsComponentOpen(ComponentID("kept", "work", "")));
    EXPECT_EQ(workspace->FindComponent(ComponentID("dropped", "work", "")), nullptr);
    ASSERT_NE(workspace->FindComponent(ComponentID("added", "work", "")), nullptr);
    EXPECT_EQ(workspace->FindComponent(ComponentID("added", "work", ""))->GetState(), 0);

    // Made for ZX7 zx7a: another die or family needs it made again; a
    // component made for no device depends on none.
    EXPECT_FALSE(kept->DependsOnDevice(BrnDevice("zx7", "ZX7A", "other")));
    EXPECT_TRUE(kept->DependsOnDevice(BrnDevice("ZX7", "zx7b", "pq208")));
    EXPECT_TRUE(kept->DependsOnDevice(BrnDevice("ZX3", "zx7a", "pq208")));
    EXPECT_FALSE(workspace->FindComponent(ComponentID("added", "work", ""))->DependsOnDevice(BrnDevice()));
}
