// The block-design tool manager with a real workspace: cores brought into
// the project (files, the ".gen" file, undefined units, events), the
// consistency check, the engine's callbacks, the workspace's news, the
// device check, and the tool's start.
#include "itool/ItoolVeyrun.h"

#include "DebugCapture.h"
#include "MessageRecorder.h"
#include "RecordingCommandServices.h"
#include "RecordingHost.h"
#include "RecordingView.h"
#include "SpiritCoreProject.h"

#include "icmd/files/IcmdAddFileToModel.h"
#include "ievent/IeventClasses.h"
#include "imodel/model/ImodelCommandServices.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/model/QuorlaneCallBack.h"
#include "itimer/ItimerManager.h"

#include "ConsoleHost.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>
#include <ktcore/ConstraintsEditorDesign.h>
#include <ktwkspace/VyComponent.h>
#include <ktwkspace/Workspace.h>

#include <boost/make_shared.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using Ktwkspace::WorkspaceComponentRecord;
using VyIfaces::ComponentID;
using VyIfaces::IComponent;

class ItoolVeyrunTest : public SpiritCoreProject {
protected:
    ItoolVeyrunTest()
    {
        model.OpenWorkspace();
        tool->StopTool();
    }

    Ktwkspace::Workspace& Workspace() { return *model.GetWorkspace(); }

    // A core in the project's component folder: a log file and, with
    // `unit`, an HDL file that defines the core's unit.
    std::string WriteCore(const std::string& name, bool unit)
    {
        const std::string folder = "component/work/" + name + "/";
        project.Write(folder + name + ".log", "log\n");
        SpiritCoreWriter writer(name);
        writer.File("OTHER_FILESET", "", name + ".log");
        if (unit) {
            project.Write(folder + name + ".v", "module " + name + "; endmodule\n");
            writer.File("HDL_FILESET", "", name + ".v");
        }
        return project.Write(folder + name + ".cxf", writer.Text());
    }
    IComponent* Import(const std::string& path)
    {
        std::string imported;
        EXPECT_TRUE(Workspace().SafeimportCore(path, nullptr, imported, true));
        return Workspace().FindComponent(ComponentID(
            IfileObject(ImodelFileName(path), zorpaFT_OMBRIX_CXF, ImodelFMFull, true, true).GetFileTitleNoExt(), "work",
            ""));
    }
    IComponent* AddRecord(const std::string& name, IComponent::VyModuleType type, const std::string& family = "")
    {
        WorkspaceComponentRecord record;
        record.id = ComponentID(name, "work", "");
        record.type = type;
        record.family = family;
        return Workspace().AddComponent(record);
    }

    // add_file in process, as the project's commands add a source.
    static void AddSource(const IfileObject& file)
    {
        IcmdDoAddFileToModel(file, true, true, false, nullptr, nullptr, true, nullptr, true, false, nullptr);
    }

    ItoolVeyrun* tool = ItoolVeyrun::GetInstance();
    MessageRecorder messages;
};

TEST_F(ItoolVeyrunTest, TheConsistencyCheckAddsAWorkspaceCoreWithItsGenFileAndUndefinedUnit)
{
    ASSERT_NE(tool, nullptr);
    const std::string path = WriteCore("ram", false);
    project.Write("component/work/ram/ram.gen", "generated\n");
    Import(path);
    RecordingView view;
    EXPECT_TRUE(model.CheckNewCores(zorpaFT_OMBRIX_CXF));
    EXPECT_EQ(Members(),
              (std::vector<std::string>{"component/work/ram/ram.cxf ombrix_cxf", "component/work/ram/ram.gen gen",
                                        "component/work/ram/ram.log ???"}));
    EXPECT_TRUE(Entry(project / "component/work/ram/ram.gen")->IsChildOfFile(CoreFile(path), false));
    ImodelModule* ram = ImodelFindModuleInAnyLib("ram", "");
    ASSERT_NE(ram, nullptr);
    EXPECT_EQ(ram->GetModuleType(), zorpaMODULE_UNKNOWN);
    EXPECT_EQ(ram->GetModuleFile(), Entry(path));
    EXPECT_EQ(ram->GetComponent(), Workspace().FindComponent(ComponentID("ram", "work", "")));
    EXPECT_EQ(view.Count("IeventFilePreParse"), 1);
    EXPECT_EQ(view.Count("IeventModuleAdded"), 1);
    EXPECT_EQ(view.Count("IeventFileAndModulePostParse"), 1);

    // The core is the project's now: a second check adds nothing.
    view.Clear();
    model.CheckNewCores(zorpaFT_OMBRIX_CXF);
    EXPECT_TRUE(view.Names().empty());
    EXPECT_EQ(Members().size(), 3u);
}

TEST_F(ItoolVeyrunTest, TheCheckWarnsOncePerComponentUntilTheToolStops)
{
    const std::string path = WriteCore("fifo", true);
    Import(path);
    Import(project.Write("component/work/gone/gone.cxf", SpiritCoreWriter("gone").Text()));
    SysDelete(project / "component/work/gone/gone.cxf");
    DebugCapture debug;
    const auto warnings = [&debug] {
        std::size_t count = 0;
        for (std::size_t at = debug.Text().find("is in workspace but not in IDE project"); at != std::string::npos;
             at = debug.Text().find("is in workspace but not in IDE project", at + 1))
            ++count;
        return count;
    };
    tool->CheckNewCoresCreated();
    EXPECT_EQ(warnings(), 1u);
    ASSERT_TRUE(Entry(path));
    EXPECT_FALSE(Entry(project / "component/work/gone/gone.cxf"));
    ASSERT_NE(ImodelFindModuleInAnyLib("fifo", ""), nullptr);

    // Out of the project again: the component was reported, nothing comes.
    files.RemoveFile(CoreFile(path));
    tool->CheckNewCoresCreated();
    EXPECT_EQ(warnings(), 1u);
    EXPECT_FALSE(Entry(path));
    tool->StopTool();
    tool->CheckNewCoresCreated();
    EXPECT_EQ(warnings(), 2u);
    EXPECT_TRUE(Entry(path));
}

TEST_F(ItoolVeyrunTest, AComponentWithoutDefinitionGetsAUnitWhileAProjectIsRead)
{
    AddRecord("bd", IComponent::Veyrun);
    tool->CheckNewCoresCreated();
    EXPECT_EQ(ImodelFindModuleInAnyLib("bd", ""), nullptr);
    RecordingView view;
    {
        const ImodelSetAndRestoreModelFlagObject reading(Imodel::GetIsReadingProject(), true);
        tool->CheckNewCoresCreated();
    }
    ImodelModule* bd = ImodelFindModuleInAnyLib("bd", "");
    ASSERT_NE(bd, nullptr);
    EXPECT_FALSE(bd->GetModuleFile());
    ASSERT_EQ(view.Count("IeventFileAndModulePostParse"), 1);
    const auto& post = dynamic_cast<const IeventFileAndModulePostParse&>(*view.Events().back());
    EXPECT_EQ(std::vector<boost::shared_ptr<IfileObjectEx>>(post.GetFiles().begin(), post.GetFiles().end()),
              std::vector<boost::shared_ptr<IfileObjectEx>>{nullptr});
}

TEST_F(ItoolVeyrunTest, TheEngineAddsAndRemovesComponents)
{
    RecordingView view;
    RecordingHost host;
    const std::string path = WriteCore("ram", true);
    IComponent* ram = Import(path);
    {
        const ImodelSetAndRestoreModelFlagObject converting(Imodel::GetIsConvertingProject(), true);
        tool->VYAddComponent(ram);
    }
    EXPECT_TRUE(Members().empty());
    EXPECT_TRUE(view.Names().empty());

    tool->VYAddComponent(ram);
    EXPECT_EQ(Members().size(), 3u);
    EXPECT_EQ(view.Count("IeventComponentAdded"), 1);
    // Already in the project: nothing more.
    view.Clear();
    tool->VYAddComponent(ram);
    EXPECT_TRUE(view.Names().empty());

    tool->VYRemoveComponent(ram);
    EXPECT_TRUE(Members().empty());
    EXPECT_EQ(ImodelFindModuleInAnyLib("ram", ""), nullptr);
    EXPECT_EQ(view.Count("IeventComponentRemoved"), 1);

    // An HDL component stands for units of the project: only events.
    const IfileObject source(ImodelFileName(project.Write("hdl/leaf.v", "module leaf; endmodule\n")), zorpaFT_HDL,
                             ImodelFMFull, true, true);
    ASSERT_TRUE(files.AddOrUpdateFile(IfileObjectEx(source, false), false));
    view.Clear();
    TestComponent hdl(IComponent::HDL, "leaf", source.GetFullFileName().GetString());
    tool->VYAddComponent(&hdl);
    EXPECT_EQ(view.Names(), std::vector<std::string>{"IeventComponentAdded"});
    tool->VYModifyComponent(&hdl, true, IDEVeyrunCallBack::InvalidateNothing);
    tool->VYRemoveComponent(&hdl);
    EXPECT_EQ(view.Names(),
              (std::vector<std::string>{"IeventComponentAdded", "IeventComponentModified", "IeventComponentRemoved"}));
    EXPECT_EQ(Members(), std::vector<std::string>{"hdl/leaf.v hdl"});
}

TEST_F(ItoolVeyrunTest, ACoreAddedOrReadAgainKeepsItsComponentAndItsFiles)
{
    const std::string path = WriteCore("ram", true);
    IComponent* ram = Import(path);
    model.CheckNewCores(zorpaFT_OMBRIX_CXF);
    const std::vector<std::string> members = Members();
    ASSERT_EQ(members.size(), 3u);

    // As add_file does: the entry there goes first, then the core comes whole.
    RecordingView view;
    EXPECT_TRUE(tool->AddCoreToProject(CoreFile(path)));
    EXPECT_EQ(Members(), members);
    EXPECT_EQ(Workspace().FindComponent(ComponentID("ram", "work", "")), ram);
    // The entry leaves before the description is read again.
    const auto& names = view.Names();
    const auto removed = std::find(names.begin(), names.end(), "IeventFileRemoved");
    const auto read = std::find(names.begin(), names.end(), "IeventFilePreParse");
    ASSERT_NE(read, names.end());
    EXPECT_LT(removed, read);
    const auto& pre = dynamic_cast<const IeventFilePreParse&>(*view.Events()[read - names.begin()]);
    EXPECT_EQ(*pre.GetFiles().at(0), CoreFile(path));

    // The engine asks for a description whose changes are not watched to be
    // read again: it is, and the component is told modified.
    DefSetFL("IDE_IGNORE_CXF_CHANGES_FROM", "component");
    view.Clear();
    tool->VYModifyComponent(ram, true, IDEVeyrunCallBack::InvalidateNothing);
    EXPECT_EQ(view.Count("IeventComponentModified"), 1);
    EXPECT_EQ(Members(), members);
    // A watched description is left to the watcher.
    DefUnset("IDE_IGNORE_CXF_CHANGES_FROM");
    view.Clear();
    tool->VYModifyComponent(ram, true, IDEVeyrunCallBack::InvalidateNothing);
    EXPECT_TRUE(view.Names().empty());
}

TEST_F(ItoolVeyrunTest, WhatTheToolAsksOfTheCommandsGoesThroughTheCommandServices)
{
    const std::string path = WriteCore("ram", true);
    IComponent* ram = Import(path);
    tool->VYAddComponent(ram);
    const std::vector<std::string> members = Members();
    ASSERT_EQ(members.size(), 3u);
    DefSetFL("IDE_IGNORE_CXF_CHANGES_FROM", "component");
    {
        RecordingCommandServices commands;
        // The engine removes the component: delete_files, confirmed by the
        // host, the workspace not asked again.
        tool->VYRemoveComponent(ram);
        ASSERT_EQ(commands.removals.size(), 1u);
        EXPECT_EQ(commands.removals[0].name, "ram.cxf");
        EXPECT_FALSE(commands.removals[0].fromDisk);
        EXPECT_FALSE(commands.removals[0].coreToolCheck);
        EXPECT_TRUE(commands.removals[0].confirm);
        // A changed description not left to the watcher: the project update,
        // the description out and in again.
        tool->VYModifyComponent(ram, true, IDEVeyrunCallBack::InvalidateNothing);
        ASSERT_EQ(commands.updates.size(), 1u);
        EXPECT_EQ(commands.updates[0].first.size(), 1u);
        EXPECT_EQ(commands.updates[0].second.size(), 1u);
        // A core added again: its entry leaves unasked, then the core's HDL
        // file is parsed through add_file.
        commands.removals.clear();
        EXPECT_TRUE(tool->AddCoreToProject(CoreFile(path)));
        ASSERT_EQ(commands.removals.size(), 1u);
        EXPECT_EQ(commands.removals[0].name, "ram.cxf");
        EXPECT_FALSE(commands.removals[0].confirm);
        ASSERT_EQ(commands.adds.size(), 1u);
        EXPECT_EQ(commands.adds[0].name, "ram.v");
        EXPECT_TRUE(commands.adds[0].parse);
    }
    DefUnset("IDE_IGNORE_CXF_CHANGES_FROM");
    // Without the command layer the tool leaves the project as it is.
    ImodelCommandServices* layer = ImodelCommandServices::Install(nullptr);
    tool->VYRemoveComponent(ram);
    ImodelCommandServices::Install(layer);
    EXPECT_EQ(Members(), members);
}

// A host that lists the project's folders for the file watcher as the shell does.
class ScanningHost : public RecordingHost {
public:
    void ScanFiles(bool toBaseline, ItimerManager* watcher) override
    {
        ConsoleHost::GetInstance().ScanFiles(toBaseline, watcher);
    }
};

// The family's constraint kinds are pin (pdc) and timing (sdc) files.
class ConstraintKinds {
public:
    ConstraintKinds()
    {
        for (const auto& [name, value] : {std::pair{"IMPORT_CONSTRAINT_FILES", "PDC SDC"},
                                          {"ALL_IMPORT_CONSTRAINT_FILES", "PDC SDC"},
                                          {"PDC_EXTN", "pdc"},
                                          {"PDC_DISP_NAME", "Pin Constraint File"},
                                          {"SDC_EXTN", "sdc"},
                                          {"SDC_DISP_NAME", "Timing Constraint File"}})
            m_guards.push_back(std::make_unique<DefOverRideGuard>(name, value));
    }

private:
    std::vector<std::unique_ptr<DefOverRideGuard>> m_guards;
};

// The constraint files come in as the file watcher's rescan of the
// constraint folders takes them, by its rules: a kind of the family, not
// known to it before, not to be passed over. A new pin constraint file of a
// unit is then that unit's place-and-route constraint.
TEST_F(ItoolVeyrunTest, ANewConstraintFileComesThroughTheWatchersRescanAndAPinFileGoesToItsUnit)
{
    Import(WriteCore("ram", true));
    tool->CheckNewCoresCreated();
    ImodelModule* ram = ImodelFindModuleInAnyLib("ram", "");
    ASSERT_NE(ram, nullptr);
    const ConstraintKinds kinds;
    ScanningHost host;
    ItimerManager& watcher = *model.GetTimerManager();
    const std::string known = project.Write("constraint/known.pdc", "set_io a 1\n");
    watcher.Reset();
    watcher.Start();

    const std::string pdc = project.Write("constraint/ram.pdc", "set_io\n");
    const std::string other = project.Write("constraint/board.ucf", "NET a LOC=1;\n");
    const std::string skipped = project.Write("constraint/skipped.sdc", "create_clock\n");
    watcher.IgnoreNextChange(
        IfileObjectEx(IfileObject(ImodelFileName(skipped), zorpaFT_SDC, ImodelFMFull, true, true), true));
    tool->NewConstraintFileAdded(pdc, ComponentID("ram", "work", ""));
    const auto entry = Entry(pdc);
    ASSERT_TRUE(entry);
    EXPECT_FALSE(Entry(known));
    EXPECT_FALSE(Entry(other));
    EXPECT_FALSE(Entry(skipped));
    EXPECT_FALSE(entry->IsUsedByAllTools());
    EXPECT_TRUE(entry->IsUsedForTool(idePALLADOR, "", true));
    EXPECT_FALSE(entry->IsUsedForTool(ideSYNTHESIS, "", true));
    ASSERT_EQ(ram->GetAssociatedFileListConst().size(), 1u);
    EXPECT_EQ(ram->GetAssociatedFileListConst().front(), *entry);

    // Another kind of constraint joins the project only; the file passed
    // over once is taken when it changes again. An unknown unit, or a file
    // that is nowhere, is only traced.
    const std::string sdc = project.Write("constraint/ram.sdc", "create_clock\n");
    project.Write("constraint/skipped.sdc", "create_clock -period 5\n");
    DebugCapture debug;
    tool->NewConstraintFileAdded(sdc, ComponentID("ram", "work", ""));
    EXPECT_TRUE(Entry(sdc));
    EXPECT_TRUE(Entry(skipped));
    EXPECT_FALSE(Entry(known));
    EXPECT_EQ(ram->GetAssociatedFileListConst().size(), 1u);
    tool->NewConstraintFileAdded(project / "constraint/none.pdc", ComponentID("nobody", "work", ""));
    EXPECT_TRUE(debug.Holds("Error: Invalid module: nobody::work"));
    EXPECT_TRUE(debug.Holds("Error: Invalid file: " + project / "constraint/none.pdc"));
    watcher.Reset();

    std::vector<std::pair<std::string, std::string>> packages{{"stale", "x"}};
    tool->VYGetUsedPackages(project / "hdl/none.vhd", packages);
    EXPECT_TRUE(packages.empty());
}

TEST_F(ItoolVeyrunTest, EveryComponentIsAskedAboutANewDeviceUntilOneRefuses)
{
    AddRecord("generic", IComponent::Kiltora);
    AddRecord("zx3core", IComponent::Kiltora, "ZX3");
    AddRecord("zx3design", IComponent::Veyrun, "zx3");
    const ImodelDevice zx7("ZX7", "zx7_50", "fg256");
    EXPECT_TRUE(ItoolVeyrun::IsNewDeviceCompatible(ImodelDevice("ZX3", "zx3_25", ""), nullptr, nullptr));
    EXPECT_FALSE(ItoolVeyrun::IsNewDeviceCompatible(zx7, nullptr, nullptr));
    ASSERT_EQ(messages.WithId("INCOMPATIBLE_DEVICE_WITH_CORE").size(), 1u);
    // The map is ordered by identity: the core is met, and refuses, first.
    EXPECT_NE(messages.WithId("INCOMPATIBLE_DEVICE_WITH_CORE")[0].text.find("zx3core"), std::string::npos);
    IComponent::VyModuleType skip = IComponent::Kiltora;
    EXPECT_FALSE(ItoolVeyrun::IsNewDeviceCompatible(zx7, nullptr, &skip));
    EXPECT_NE(messages.WithId("INCOMPATIBLE_DEVICE_WITH_CORE")[1].text.find("zx3design"), std::string::npos);
    skip = IComponent::Veyrun;
    Workspace().RemoveComponent(ComponentID("zx3core", "work", ""), false);
    EXPECT_TRUE(ItoolVeyrun::IsNewDeviceCompatible(zx7, nullptr, &skip));
    // The device manager asks the same, after its family rule.
    AddRecord("zx7core", IComponent::Kiltora, "ZX7");
    const ImodelDevice zx3("ZX3", "zx3_25", "");
    EXPECT_FALSE(devices.IsCompatibleWithBlockDesigns(zx3, nullptr, nullptr));
    skip = IComponent::Kiltora;
    EXPECT_TRUE(devices.IsCompatibleWithBlockDesigns(zx3, nullptr, &skip));
}

TEST_F(ItoolVeyrunTest, CoresAreFoundRemovedAndStatedByTheirFiles)
{
    const std::string path = WriteCore("ram", true);
    IComponent* ram = Import(path);
    const IfileObjectEx file(CoreFile(path), false);
    EXPECT_EQ(ItoolVeyrun::FindSingleComponentFromDefFile(file), ram);
    const auto state = tool->GetCoreState(boost::make_shared<IfileObjectEx>(file));
    EXPECT_TRUE(state.first);
    EXPECT_EQ(state.second.code, 0);
    EXPECT_FALSE(tool->GetCoreState(boost::make_shared<IfileObjectEx>(CoreFile(project / "x/other.cxf"), false)).first);
    EXPECT_TRUE(tool->OpenCore(file));
    EXPECT_TRUE(Workspace().IsComponentOpen(ComponentID("ram", "work", "")));
    EXPECT_FALSE(tool->OpenCore(CoreFile(project / "x/other::lib.cxf")));

    // An HDL component is found through one of its design files.
    WorkspaceComponentRecord record;
    record.id = ComponentID("leaf", "work", "");
    record.type = IComponent::HDL;
    record.definitionFile = project / "elsewhere.vhd";
    record.designFiles = {project / "hdl/leaf.v"};
    IComponent* leaf = Workspace().AddComponent(record);
    const IfileObject source(ImodelFileName(project.Write("hdl/leaf.v", "module leaf; endmodule\n")), zorpaFT_HDL,
                             ImodelFMFull, true, true);
    AddSource(source);
    ImodelModule* unit = ImodelFindModuleInAnyLib("leaf", "");
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(ItoolVeyrun::FindComponent(unit), leaf);

    // A file that defines no component still has the workspace drop the
    // identity made of its title.
    AddRecord("loose", IComponent::Kiltora);
    EXPECT_TRUE(tool->RemoveCore(IfileObjectEx(CoreFile(project / "x/loose.cxf"), false), false));
    EXPECT_EQ(Workspace().FindComponent(ComponentID("loose", "work", "")), nullptr);
    EXPECT_TRUE(tool->RemoveCore(file, false));
    EXPECT_EQ(Workspace().FindComponent(ComponentID("ram", "work", "")), nullptr);
}

TEST_F(ItoolVeyrunTest, StartingTheToolAuditsTheWorkspaceAndPublishesItsSettings)
{
    const std::string path = WriteCore("ram", false);
    Import(path);
    SysDelete(path);
    EXPECT_TRUE(tool->StartTool(true));
    EXPECT_EQ(Workspace().FindComponent(ComponentID("ram", "work", ""))->GetState(), 0);
    EXPECT_TRUE(tool->StartTool(false));
    EXPECT_EQ(Workspace().FindComponent(ComponentID("ram", "work", ""))->GetState(), 2);
    std::string value;
    DefGetStrFL("DESDIR", value);
    EXPECT_EQ(value, project / "kiltora");
    DefGetStrFL("OMBRIXU_OUTPUT_TYPE_PREF", value);
    EXPECT_EQ(value, "Verilog");

    // Without a project there is no workspace to start with.
    model.SetWorkspace(nullptr);
    design.SetProjectFolder(ImodelFileName());
    EXPECT_FALSE(tool->StartTool(false));
}

TEST_F(ItoolVeyrunTest, TheWorkspaceHearsOfLibrariesAndOfThePackagesFilesDeclare)
{
    design.AddLibrary("mylib", true);
    EXPECT_EQ(Workspace().GetLibraries(), std::vector<std::string>{"mylib"});
    design.SetDefaultVHDL(true);
    const IfileObject package(ImodelFileName(project.Write("hdl/p.vhd", "package p is end package;\n")), zorpaFT_HDL,
                              ImodelFMFull, true, true);
    AddSource(package);
    ASSERT_EQ(Workspace().GetDeclaredPackages().size(), 1u);
    EXPECT_EQ(Workspace().GetDeclaredPackages()[0].name, "p");
    EXPECT_EQ(Workspace().GetDeclaredPackages()[0].fileName, package.GetFullFileName().GetString());
    // Parsed again, the file declares what it declares then.
    project.Write("hdl/p.vhd", "entity e is end;\n");
    AddSource(package);
    EXPECT_TRUE(Workspace().GetDeclaredPackages().empty());
    design.RenameLibrary("mylib", "other");
    EXPECT_EQ(Workspace().GetLibraries(), std::vector<std::string>{"other"});
}

// The engine asks which packages a file uses: each package the project
// declares, by its name, with the file that declares it; a package the
// project does not have is left out.
TEST_F(ItoolVeyrunTest, TheEngineLearnsThePackagesAFileUsesByTheirNames)
{
    design.SetDefaultVHDL(true);
    const std::string types = project.Write("hdl/types.vhd", "package types is end package;\n");
    const std::string widths = project.Write("hdl/widths.vhd", "package Widths is end package;\n");
    const std::string top = project.Write("hdl/top.vhd", "library work;\nuse work.types.all;\nuse work.missing.all;\n"
                                                         "use WORK.widths.all;\nentity top is end top;\n");
    for (const std::string& file : {types, widths, top})
        AddSource(IfileObject(ImodelFileName(file), zorpaFT_HDL, ImodelFMFull, true, true));
    std::vector<std::pair<std::string, std::string>> packages{{"stale", "x"}};
    tool->VYGetUsedPackages(top, packages);
    EXPECT_EQ(packages, (std::vector<std::pair<std::string, std::string>>{{"types", types}, {"Widths", widths}}));
    tool->VYGetUsedPackages(types, packages);
    EXPECT_TRUE(packages.empty());
}

// The environment's side of the block-design engine, taking note of what
// the engine tells it.
class EngineWitness : public IDEVeyrunCallBack {
public:
    void VYModifyComponent(IComponent* component, bool reparse, InvalidateMessage message) override
    {
        told.push_back("modify " + component->GetComponentID().name + (reparse ? " to read again" : "") +
                       " invalidating " + std::to_string(message));
    }
    void VYAddComponent(IComponent* component) override { told.push_back("add " + component->GetComponentID().name); }
    void VYRemoveComponent(IComponent* component) override
    {
        told.push_back("remove " + component->GetComponentID().name);
    }
    void VYGetUsedPackages(const std::string& fileName,
                           std::vector<std::pair<std::string, std::string>>& found) override
    {
        told.push_back("packages of " + Title(fileName));
        found = packages;
    }
    void NewConstraintFileAdded(const std::string& fileName, const ComponentID& id) override
    {
        told.push_back("constraint file " + Title(fileName) + " of " + (id.name.empty() ? "no unit" : id.name));
    }

    std::vector<std::string> Take() { return std::exchange(told, {}); }

    std::vector<std::string> told;
    std::vector<std::pair<std::string, std::string>> packages;

private:
    static std::string Title(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }
};

class WitnessEnvironment : public QuorlaneCallBack::QuorlaneIIDEObject {
public:
    IDEVeyrunCallBack* GetVYCallBack() override { return &witness; }
    EngineWitness witness;
};

using Told = std::vector<std::string>;

// The engine tells the environment of what it does of its own accord:
// components made, configured, taken out, their files changed, and what
// another writer of the workspace file changed there; not of the cores the
// environment imports itself, nor of what changes nothing.
TEST_F(ItoolVeyrunTest, TheEngineTellsTheEnvironmentOfTheChangesItMakes)
{
    WitnessEnvironment environment;
    EngineWitness& witness = environment.witness;
    Workspace().SetIDECallBack(&environment);

    const auto bus = Workspace().CreateVeyrun("bus");
    const auto dma = Workspace().CreateVeyrun("dma");
    const auto tuned = Workspace().CreateVeyrun("tuned");
    ASSERT_TRUE(bus.success && dma.success && tuned.success);
    EXPECT_EQ(witness.Take(), (Told{"add bus", "add dma", "add tuned"}));
    EXPECT_FALSE(Workspace().CreateVeyrun("bus").success);
    Import(WriteCore("ram", true));
    EXPECT_TRUE(witness.Take().empty());

    EXPECT_TRUE(Workspace().SetCoreParameters(tuned.component->GetComponentID(), {{"width", "8"}}));
    EXPECT_FALSE(Workspace().SetCoreParameters(tuned.component->GetComponentID(), {{"", "8"}}));
    EXPECT_EQ(witness.Take(), Told{"modify tuned to read again invalidating 3"});
    Workspace().FileChanged(dma.component->GetDefinitionFileName(), "cxf");
    Workspace().FileChanged(project / "hdl/unrelated.vhd", "vhd");
    EXPECT_EQ(witness.Take(), Told{"modify dma to read again invalidating 3"});

    // Another writer of the workspace file (the block-design tool of
    // another session): one design goes, one is configured, one loses its
    // file, one comes.
    const std::string dmaFile = dma.component->GetDefinitionFileName();
    {
        Ktwkspace::Workspace other(Workspace().GetFileName(), false, true, false, std::string(), nullptr, nullptr);
        EXPECT_TRUE(other.RemoveComponent(bus.component->GetComponentID(), false));
        EXPECT_TRUE(other.SetCoreParameters(tuned.component->GetComponentID(), {{"width", "16"}}));
        SysDelete(dmaFile);
        EXPECT_EQ(other.auditComponents(nullptr), 1);
        EXPECT_TRUE(other.CreateVeyrun("came").success);
    }
    EXPECT_TRUE(witness.Take().empty());
    Workspace().FileChanged(Workspace().GetFileName(), "aws");
    EXPECT_EQ(witness.Take(),
              (Told{"remove bus", "modify dma invalidating 0", "modify tuned invalidating 3", "add came"}));
    // Read again unchanged, it tells nothing.
    Workspace().FileChanged(Workspace().GetFileName(), "aws");
    EXPECT_TRUE(witness.Take().empty());

    // Taken out by itself, or with its file deleted from disk; a file only
    // taken out of the project leaves its component where it is.
    const auto came = Workspace().FindComponent(ComponentID("came", "work", ""));
    ASSERT_NE(came, nullptr);
    EXPECT_TRUE(Workspace().FileRemoved(came->GetDefinitionFileName(), false));
    EXPECT_TRUE(witness.Take().empty());
    EXPECT_TRUE(Workspace().FileRemoved(came->GetDefinitionFileName(), true));
    EXPECT_TRUE(Workspace().RemoveComponent(tuned.component->GetComponentID(), true));
    EXPECT_FALSE(Workspace().RemoveComponent(tuned.component->GetComponentID(), true));
    EXPECT_EQ(witness.Take(), (Told{"remove came", "remove tuned"}));

    // Without the environment's object the engine tells nobody.
    Workspace().SetIDECallBack(nullptr);
    EXPECT_TRUE(Workspace().CreateVeyrun("alone").success);
    EXPECT_TRUE(Workspace().RemoveComponent(ComponentID("alone", "work", ""), true));
    EXPECT_TRUE(witness.told.empty());
}

// What the engine tells reaches the project: a design made comes in, one
// taken out goes; one the project takes out itself (delete_files) is not
// taken out a second time from under it.
TEST_F(ItoolVeyrunTest, TheEnginesNewsReachTheProject)
{
    RecordingView view;
    QuorlaneCallBack::QuorlaneIIDEObject environment;
    Workspace().SetIDECallBack(&environment);
    const auto bus = Workspace().CreateVeyrun("bus");
    ASSERT_TRUE(bus.success);
    const std::string description = bus.component->GetDefinitionFileName();
    EXPECT_TRUE(Entry(description));
    EXPECT_EQ(view.Count("IeventComponentAdded"), 1);

    view.Clear();
    EXPECT_TRUE(Workspace().RemoveComponent(bus.component->GetComponentID(), true));
    EXPECT_FALSE(Entry(description));
    EXPECT_EQ(view.Count("IeventComponentRemoved"), 1);

    const auto dma = Workspace().CreateVeyrun("dma");
    ASSERT_TRUE(dma.success);
    const auto entry = Entry(dma.component->GetDefinitionFileName());
    ASSERT_TRUE(entry);
    view.Clear();
    {
        RecordingCommandServices services(true);
        EXPECT_TRUE(tool->RemoveCore(*entry, false));
        EXPECT_TRUE(services.removals.empty());
    }
    EXPECT_EQ(Workspace().FindComponent(ComponentID("dma", "work", "")), nullptr);
    EXPECT_EQ(view.Count("IeventComponentRemoved"), 1);
    // The component goes with the project's own removal, whose work it is.
    EXPECT_TRUE(Entry(dma.component->GetDefinitionFileName()));
    Workspace().SetIDECallBack(nullptr);
}

// The constraints editor makes the constraint file it is opened on when it
// is not there yet, and tells the environment of the unit's new file; it
// shows the packages its unit's source uses, as the environment tells them.
TEST_F(ItoolVeyrunTest, TheConstraintsEditorTellsOfTheFileItMakesAndAsksForThePackagesOfItsSource)
{
    WitnessEnvironment environment;
    EngineWitness& witness = environment.witness;
    Workspace().SetIDECallBack(&environment);
    witness.packages = {{"types", project / "hdl/types.vhd"}};
    const std::string source =
        project.Write("hdl/top.vhd", "use work.types.all;\nentity top is port (a : in bit); end top;\n");
    const std::string pins = project / "constraint/top.pdc";
    project.Write("constraint/readme.txt", "the unit's constraints\n");
    const auto open = [&](const std::string& constraints, bool withSource) {
        auto design = std::make_unique<Brndesign::ConstraintsEditorDesign>(
            constraints + ".ce", constraints, ComponentID(constraints, "", ""), false, BrnDevice());
        if (withSource) {
            EXPECT_TRUE(design->InitFromSourceFile(ComponentID("top", "work", ""), source, 1));
        }
        auto component = std::make_unique<Ktwkspace::VyComponent>(&Workspace(), std::move(design), std::string());
        VyIfaces::IComponent* adopted = Workspace().AdoptEditorComponent(std::move(component));
        EXPECT_TRUE(adopted->Open());
        std::string text;
        SysReadFile(constraints + ".ce", text);
        return text;
    };

    const std::string shown = open(pins, true);
    EXPECT_TRUE(UtlDoesFileExist(pins));
    EXPECT_EQ(witness.Take(), (Told{"packages of top.vhd", "constraint file top.pdc of top"}));
    EXPECT_NE(shown.find("Port=IN a\nPackage=types " + project / "hdl/types.vhd\n"), std::string::npos) << shown;
    // There already: nothing made, nothing told but the packages.
    project.Write("constraint/top.pdc", "set_io a 1\n");
    open(pins, true);
    EXPECT_EQ(witness.Take(), Told{"packages of top.vhd"});
    std::string kept;
    SysReadFile(pins, kept);
    EXPECT_EQ(kept, "set_io a 1\n");
    // Without a unit's source there are no packages to ask for; a file
    // made for no unit is told of all the same.
    witness.packages.clear();
    const std::string shownAlone = open(project / "constraint/alone.pdc", false);
    EXPECT_EQ(witness.Take(), Told{"constraint file alone.pdc of no unit"});
    EXPECT_EQ(shownAlone.find("Package="), std::string::npos);
    std::string made;
    SysReadFile(project / "constraint/alone.pdc", made);
    EXPECT_EQ(made, "# Constraints of no unit\n");
    Workspace().SetIDECallBack(nullptr);
}

}  // namespace
