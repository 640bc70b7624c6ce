// The components of the core workspace as the library uses them: the
// workspace file that keeps them, the editors' state, what the project tells
// the workspace about its files, and the device they depend on.
#include <ktwkspace/Workspace.h>

#include "TempFolder.h"

#include <ndb/BrnDevice.h>
#include <ulv/VlnvCoreId.h>
#include <vy/IComponentVisitor.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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

    // A renamed file is kept under its new name; a file deleted from disk
    // takes the components it defines along, one only out of the project not.
    EXPECT_TRUE(workspace->FileNameChanged(core->GetDefinitionFileName(), project / "moved/core.cxf"));
    EXPECT_EQ(Reopen(*workspace)->FindComponent(ComponentID("fifo_a", "work", ""))->GetDefinitionFileName(),
              project / "moved/core.cxf");
    EXPECT_TRUE(workspace->FileRemoved(project / "MOVED/core.cxf", false));
    EXPECT_NE(workspace->FindComponent(ComponentID("fifo_a", "work", "")), nullptr);
    EXPECT_TRUE(workspace->FileRemoved(project / "MOVED/core.cxf", true));
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

TEST(KtwkspaceComponents, ACoresParametersAreKeptWithItAndARefusedSetChangesNothing)
{
    TempFolder project;
    auto workspace = Create(project.Path());
    const ComponentID fifo("fifo_a", "work", "");
    ASSERT_TRUE(workspace->CreateUniqueCore(VlnvCoreId("v", "l", "fifo", "1.0"), fifo.name).success);
    using Parameters = std::vector<std::pair<std::string, std::string>>;
    const auto parametersOf = [&](const Workspace& from) {
        const auto* core = dynamic_cast<const Ktwkspace::WorkspaceComponent*>(from.FindComponent(fifo));
        return core ? core->GetRecord().parameters : Parameters{{"<no core>", ""}};
    };
    ASSERT_TRUE(workspace->SetCoreParameters(fifo, {{"width", "8"}, {"mode", "a & <b>"}, {"width", "16"}}));
    const Parameters set{{"width", "16"}, {"mode", "a & <b>"}};
    EXPECT_EQ(parametersOf(*workspace), set);
    EXPECT_EQ(parametersOf(*Reopen(*workspace)), set);
    // A later set adds to them, the last value of a name kept.
    ASSERT_TRUE(workspace->SetCoreParameters(ComponentID("FIFO_A", "Work", ""), {{"depth", "4"}, {"mode", "c"}}));
    const Parameters more{{"width", "16"}, {"mode", "c"}, {"depth", "4"}};
    EXPECT_EQ(parametersOf(*Reopen(*workspace)), more);

    // Nothing of a refused set stays: a name missing anywhere in it, a value
    // the file cannot hold, a core that is not there.
    for (const Parameters& refused : {Parameters{{"x", "1"}, {"", "2"}}, Parameters{{"y", "line\nbreak"}}}) {
        EXPECT_FALSE(workspace->SetCoreParameters(fifo, refused));
        EXPECT_EQ(parametersOf(*workspace), more);
        EXPECT_EQ(parametersOf(*Reopen(*workspace)), more);
    }
    EXPECT_FALSE(workspace->SetCoreParameters(ComponentID("none", "work", ""), {{"x", "1"}}));
}

TEST(KtwkspaceComponents, AWorkspaceFileThatCannotBeWrittenKeepsTheComponentsAsItListsThem)
{
    TempFolder project;
    auto workspace = Create(project.Path());
    IComponent* core = workspace->CreateUniqueCore(VlnvCoreId("v", "l", "fifo", "1.0"), "fifo_a").component;
    ASSERT_TRUE(core && workspace->CreateVeyrun("top_bd").success);
    const std::string definition = core->GetDefinitionFileName();
    const std::string table = Table(*workspace);
    const ComponentID fifo("fifo_a", "work", "");

    // A folder in the file's place: no writer, root or not, can replace it.
    const std::string file = workspace->GetFileName();
    std::filesystem::rename(file, file + ".kept");
    std::filesystem::create_directories(file + "/in_the_way");
    EXPECT_FALSE(workspace->RemoveComponent(fifo, true));
    EXPECT_FALSE(workspace->FileRemoved(definition, true));
    EXPECT_FALSE(workspace->FileNameChanged(definition, project / "elsewhere.cxf"));
    EXPECT_EQ(workspace->FindComponent(fifo), core);
    EXPECT_EQ(Table(*workspace), table);
    EXPECT_TRUE(std::filesystem::exists(definition));

    // Written again, the file and the workspace agree, and the removal
    // goes through.
    std::filesystem::remove_all(file);
    std::filesystem::rename(file + ".kept", file);
    EXPECT_EQ(Table(*Reopen(*workspace)), table);
    EXPECT_TRUE(workspace->RemoveComponent(fifo, false));
    EXPECT_EQ(Reopen(*workspace)->FindComponent(fifo), nullptr);
}

TEST(KtwkspaceComponents, OnlyAUnitOfSourcesMovesItsDefinitionAndNeverOntoAnotherComponentsFile)
{
    TempFolder project;
    auto workspace = Create(project.Path());
    const auto unit = [&](const std::string& name, IComponent::VyModuleType type, const std::string& file) {
        WorkspaceComponentRecord record;
        record.id = ComponentID(name, "work", "");
        record.type = type;
        record.definitionFile = project / file;
        return workspace->AddComponent(record);
    };
    IComponent* alu = unit("alu", IComponent::HDL, "hdl/alu.v");
    IComponent* sheet = unit("sheet", IComponent::Schematic, "sch/sheet.1");
    IComponent* adder = unit("adder", IComponent::HDL, "hdl/adder.v");
    IComponent* ram = unit("ram", IComponent::UserIP, "lib/ram/ram.cxf");
    ASSERT_TRUE(alu && sheet && adder && ram);

    // A described core stays with its description.
    EXPECT_TRUE(workspace->DefinitionMoved(project / "lib/ram/ram.cxf", project / "lib/rom/rom.cxf"));
    // A file that defines a component already takes no other.
    EXPECT_TRUE(workspace->DefinitionMoved(project / "hdl/alu.v", project / "hdl/adder.v"));
    // Sources move.
    EXPECT_TRUE(workspace->DefinitionMoved(project / "hdl/alu.v", project / "hdl/alu_fast.v"));
    EXPECT_TRUE(workspace->DefinitionMoved(project / "sch/sheet.1", project / "sch/sheet2.1"));
    const auto reopened = Reopen(*workspace);
    for (const Workspace* opened : {workspace.get(), reopened.get()}) {
        EXPECT_EQ(opened->FindComponent(ComponentID("ram", "work", ""))->GetDefinitionFileName(),
                  project / "lib/ram/ram.cxf");
        EXPECT_EQ(opened->FindComponent(ComponentID("adder", "work", ""))->GetDefinitionFileName(),
                  project / "hdl/adder.v");
        EXPECT_EQ(opened->FindComponent(ComponentID("alu", "work", ""))->GetDefinitionFileName(),
                  project / "hdl/alu_fast.v");
        EXPECT_EQ(opened->FindComponent(ComponentID("sheet", "work", ""))->GetDefinitionFileName(),
                  project / "sch/sheet2.1");
    }
}

TEST(KtwkspaceComponents, AProjectCopiedOrMovedKeepsItsOwnCores)
{
    TempFolder place;
    const std::string original = place / "alu";
    auto workspace = Create(original);
    WorkspaceComponentRecord fifo;
    fifo.id = ComponentID("fifo", "work", "");
    fifo.type = IComponent::UserIP;
    fifo.definitionFile = place.Write("alu/component/work/fifo/fifo.cxf", "fifo\n");
    fifo.designFiles = {place.Write("alu/component/work/fifo/fifo.v", "module fifo; endmodule\n")};
    WorkspaceComponentRecord ram;
    ram.id = ComponentID("ram", "work", "");
    ram.type = IComponent::UserIP;
    ram.definitionFile = place.Write("lib/ram/ram.cxf", "ram\n");
    ASSERT_TRUE(workspace->AddComponent(fifo) && workspace->AddComponent(ram));
    ASSERT_TRUE(workspace->CreateVeyrun("top_bd").success);
    const std::string text = place.Read("alu/kiltora/kiltora.aws");
    EXPECT_NE(text.find("definition=\"../component/work/fifo/fifo.cxf\""), std::string::npos) << text;
    EXPECT_NE(text.find("<designFile>../component/work/fifo/fifo.v</designFile>"), std::string::npos) << text;
    EXPECT_NE(text.find("definition=\"top_bd/top_bd.cxf\""), std::string::npos) << text;
    EXPECT_NE(text.find("definition=\"" + (place / "lib/ram/ram.cxf") + "\""), std::string::npos) << text;

    // The copy's workspace names the copy's files; what lies outside the
    // project is the same file for both.
    std::filesystem::copy(original, place / "copy", std::filesystem::copy_options::recursive);
    const auto definitionIn = [](const Workspace& opened, const std::string& name) {
        const IComponent* component = opened.FindComponent(ComponentID(name, "work", ""));
        return component ? component->GetDefinitionFileName() : "<none>";
    };
    Workspace copy(place / "copy/kiltora/kiltora.aws", false, true, false, "", nullptr, nullptr);
    EXPECT_EQ(definitionIn(copy, "fifo"), place / "copy/component/work/fifo/fifo.cxf");
    EXPECT_EQ(definitionIn(copy, "top_bd"), place / "copy/kiltora/top_bd/top_bd.cxf");
    EXPECT_EQ(definitionIn(copy, "ram"), place / "lib/ram/ram.cxf");

    // A workspace written when the names were kept in full: the copy takes
    // its own files once told where the project came from, and keeps them.
    std::string old = text;
    for (std::size_t at; (at = old.find("../")) != std::string::npos;) old.replace(at, 3, original + "/");
    place.Write("copy/kiltora/kiltora.aws", old);
    std::filesystem::remove(place / "copy/component/work/fifo/fifo.v");
    Workspace moved(place / "copy/kiltora/kiltora.aws", false, true, false, "", nullptr, nullptr);
    EXPECT_EQ(definitionIn(moved, "fifo"), original + "/component/work/fifo/fifo.cxf");
    EXPECT_TRUE(moved.FollowMovedFolder(original, place / "copy"));
    const auto movedAgain = Reopen(moved);
    for (const Workspace* opened : {&moved, movedAgain.get()}) {
        EXPECT_EQ(definitionIn(*opened, "fifo"), place / "copy/component/work/fifo/fifo.cxf");
        EXPECT_EQ(definitionIn(*opened, "ram"), place / "lib/ram/ram.cxf");
        // A file the copy lacks stays the original's.
        const auto* component =
            dynamic_cast<const Ktwkspace::WorkspaceComponent*>(opened->FindComponent(ComponentID("fifo", "work", "")));
        ASSERT_NE(component, nullptr);
        EXPECT_EQ(component->GetRecord().designFiles,
                  std::vector<std::string>{original + "/component/work/fifo/fifo.v"});
    }
}

TEST(KtwkspaceComponents, ANewComponentTakesNoFileThatWasThereAndItsRemovalLeavesTheUsersFiles)
{
    TempFolder project;
    auto workspace = Create(project.Path());
    // The files a component of each name would call its own, already on
    // disk: the user's, left where a component of that name once was.
    project.Write("kiltora/old_bd/old_bd.cxf", "the user's block design\n");
    project.Write("kiltora/old_core/old_core.ixf", "the user's netlist\n");
    project.Write("kiltora/old_core/notes.txt", "notes\n");
    EXPECT_FALSE(workspace->CreateVeyrun("old_bd").success);
    EXPECT_FALSE(workspace->CreateVeyrun("old_core").success);
    EXPECT_FALSE(workspace->CreateUniqueCore(VlnvCoreId("v", "l", "fifo", "1.0"), "old_core").success);
    EXPECT_EQ(Table(*Reopen(*workspace)), "");
    EXPECT_EQ(project.Read("kiltora/old_bd/old_bd.cxf"), "the user's block design\n");
    EXPECT_EQ(project.Read("kiltora/old_core/old_core.ixf"), "the user's netlist\n");
    EXPECT_FALSE(std::filesystem::exists(project / "kiltora/old_core/old_core.cxf"));

    // A component made in a folder of the user's goes with only its own file.
    ASSERT_TRUE(workspace->CreateVeyrun("notes_bd").success);
    project.Write("kiltora/notes_bd/notes.txt", "notes\n");
    EXPECT_TRUE(workspace->RemoveComponent(ComponentID("notes_bd", "work", ""), true));
    EXPECT_FALSE(std::filesystem::exists(project / "kiltora/notes_bd/notes_bd.cxf"));
    EXPECT_EQ(project.Read("kiltora/notes_bd/notes.txt"), "notes\n");
}

namespace {

// An editor's component: an identity and whom it is handed to when it goes.
class EditorComponent : public IComponent {
public:
    EditorComponent(const std::string& name, std::vector<std::string>& deleted) : m_id(name, "", ""), m_deleted(deleted)
    {
    }
    ~EditorComponent() override { m_deleted.push_back(m_id.name); }
    const ComponentID& GetComponentID() const override { return m_id; }
    VyModuleType GetModuleType() const override { return Veyrun; }
    std::string GetDefinitionFileName() const override { return std::string(); }
    void Accept(VyIfaces::IComponentVisitor&) override {}
    void SetDeleteHelper(DeleteHelper* helper) override { m_helper = helper; }
    DeleteHelper* GetDeleteHelper() const override { return m_helper; }

private:
    ComponentID m_id;
    std::vector<std::string>& m_deleted;
    DeleteHelper* m_helper = nullptr;
};

// A deleter that notes what it was handed before it deletes it.
class NotingDeleter : public IComponent::DeleteHelper {
public:
    void DoDelete(std::unique_ptr<IComponent> component) override
    {
        handed.push_back(component->GetComponentID().name);
    }
    std::vector<std::string> handed;
};

}  // namespace

TEST(KtwkspaceComponents, EditorComponentsLiveWhileTheirEditorMayOpenAndGoToTheirDeleter)
{
    TempFolder project;
    std::vector<std::string> deleted;
    NotingDeleter deleter;
    {
        auto workspace = Create(project.Path());
        IComponent* design = workspace->CreateVeyrun("bd").component;
        IComponent* pins = workspace->AdoptEditorComponent(std::make_unique<EditorComponent>("/p/pins.pdc", deleted));
        IComponent* more = workspace->AdoptEditorComponent(std::make_unique<EditorComponent>("/p/more.pdc", deleted));
        IComponent* free = workspace->AdoptEditorComponent(std::make_unique<EditorComponent>("/p/free.pdc", deleted));
        pins->SetDeleteHelper(&deleter);
        more->SetDeleteHelper(&deleter);
        EXPECT_EQ(workspace->AdoptEditorComponent(nullptr), nullptr);
        EXPECT_EQ(workspace->GetEditorComponents(), (std::vector<IComponent*>{pins, more, free}));
        // Editors are no part of the workspace file nor of its collection.
        EXPECT_EQ(workspace->GetComponentCollection().size(), 1u);
        EXPECT_EQ(Reopen(*workspace)->GetDesignTable().size(), 1u);

        const ComponentID pinsId("/P/PINS.PDC", "", "");
        EXPECT_FALSE(workspace->IsComponentOpen(pinsId));
        EXPECT_FALSE(workspace->ActivateComponent(pinsId));
        ASSERT_TRUE(workspace->OpenEditor(pins));
        EXPECT_TRUE(workspace->IsComponentOpen(pinsId));
        EXPECT_EQ(workspace->GetActiveVeyrun(), pins);
        ASSERT_TRUE(workspace->OpenVeyrun("bd"));
        EXPECT_EQ(workspace->GetActiveVeyrun(), design);
        EXPECT_TRUE(workspace->ActivateComponent(pinsId));
        EXPECT_EQ(workspace->GetActiveVeyrun(), pins);

        // Closing the editor lets the component go, to its deleter.
        EXPECT_TRUE(workspace->CloseEditor(pins));
        EXPECT_EQ(deleter.handed, (std::vector<std::string>{"/p/pins.pdc"}));
        EXPECT_EQ(deleted, (std::vector<std::string>{"/p/pins.pdc"}));
        EXPECT_EQ(workspace->GetActiveVeyrun(), nullptr);
        EXPECT_FALSE(workspace->IsComponentOpen(pinsId));
        EXPECT_FALSE(workspace->CloseEditor(pins));
        EXPECT_FALSE(workspace->OpenEditor(pins));
        EXPECT_EQ(workspace->GetEditorComponents(), (std::vector<IComponent*>{more, free}));
    }
    // The workspace that goes lets the others go too: each to its deleter,
    // or deleted by the workspace when it has none.
    EXPECT_EQ(deleter.handed, (std::vector<std::string>{"/p/pins.pdc", "/p/more.pdc"}));
    std::sort(deleted.begin(), deleted.end());
    EXPECT_EQ(deleted, (std::vector<std::string>{"/p/free.pdc", "/p/more.pdc", "/p/pins.pdc"}));
}
