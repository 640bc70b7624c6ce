// The components of the core workspace as the library uses them: the
// workspace file that keeps them, the editors' state, what the project tells
// the workspace about its files, and the device they depend on.
#include <ktwkspace/Workspace.h>

#include "TempFolder.h"

#include <ndb/BrnDevice.h>
#include <ulv/VlnvCoreId.h>

#include <gtest/gtest.h>

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

TEST(KtwkspaceComponents, ComponentsAreKeptInTheWorkspaceFileAndFollowTheirFiles)
{
    TempFolder project;
    auto workspace = Create(project.Path());
    IComponent* core =
        workspace->CreateUniqueCore(VlnvCoreId("brennic.com", "kiltora", "fifo", "1.0"), "fifo_a").component;
    IComponent* design = workspace->CreateVeyrun("top_bd").component;
    ASSERT_TRUE(core && design);
    const std::string folder = project / "kiltora";
    const std::string expected = "fifo_a::work 0 1 " + folder + "/fifo_a/fifo_a.cxf " + folder +
                                 "/fifo_a/fifo_a.ixf ZX7/zx7a\n" + "top_bd::work 6 1 " + folder +
                                 "/top_bd/top_bd.cxf " + folder + "/top_bd/top_bd.ixf ZX7/zx7a\n";
    EXPECT_EQ(Table(*workspace), expected);
    EXPECT_EQ(Table(*Reopen(*workspace)), expected);
    EXPECT_EQ(workspace->FindComponent(ComponentID("FIFO_A", "WORK", "")), core);
    EXPECT_EQ(workspace->GetComponentCollection().size(), 2u);

    // A moved definition is kept where it went; a file deleted from disk
    // takes the components it defines along, one only out of the project not.
    workspace->DefinitionMoved(core->GetDefinitionFileName(), project / "moved/core.cxf");
    EXPECT_EQ(Reopen(*workspace)->FindComponent(ComponentID("fifo_a", "work", ""))->GetDefinitionFileName(),
              project / "moved/core.cxf");
    workspace->FileRemoved(project / "MOVED/core.cxf", false);
    EXPECT_NE(workspace->FindComponent(ComponentID("fifo_a", "work", "")), nullptr);
    workspace->FileRemoved(project / "MOVED/core.cxf", true);
    EXPECT_EQ(workspace->FindComponent(ComponentID("fifo_a", "work", "")), nullptr);
    EXPECT_EQ(Table(*Reopen(*workspace)),
              "top_bd::work 6 1 " + folder + "/top_bd/top_bd.cxf " + folder + "/top_bd/top_bd.ixf ZX7/zx7a\n");
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
    EXPECT_TRUE(other->RemoveComponent(ComponentID("dropped", "work", ""), false));
    workspace->Update();
    EXPECT_EQ(workspace->FindComponent(ComponentID("kept", "work", "")), kept);
    EXPECT_TRUE(workspace->IsComponentOpen(ComponentID("kept", "work", "")));
    EXPECT_EQ(workspace->FindComponent(ComponentID("dropped", "work", "")), nullptr);
    ASSERT_NE(workspace->FindComponent(ComponentID("added", "work", "")), nullptr);
    EXPECT_EQ(workspace->FindComponent(ComponentID("added", "work", ""))->GetState(), 0);
    EXPECT_TRUE(workspace->CloseEditor(kept));

    // Made for ZX7 zx7a: another die or family needs it made again; a
    // component made for no device depends on none.
    EXPECT_FALSE(kept->DependsOnDevice(BrnDevice("zx7", "ZX7A", "other")));
    EXPECT_TRUE(kept->DependsOnDevice(BrnDevice("ZX7", "zx7b", "pq208")));
    EXPECT_TRUE(kept->DependsOnDevice(BrnDevice("ZX3", "zx7a", "pq208")));
    EXPECT_FALSE(workspace->FindComponent(ComponentID("added", "work", ""))->DependsOnDevice(BrnDevice()));
}
