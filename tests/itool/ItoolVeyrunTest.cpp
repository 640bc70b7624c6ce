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

#include <foundation/Def.h>
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

TEST_F(ItoolVeyrunTest, ANewPlaceAndRouteConstraintIsAssociatedWithItsUnit)
{
    Import(WriteCore("ram", true));
    tool->CheckNewCoresCreated();
    ImodelModule* ram = ImodelFindModuleInAnyLib("ram", "");
    ASSERT_NE(ram, nullptr);
    const std::string pdc = project.Write("constraint/ram.pdc", "set_io\n");
    tool->NewConstraintFileAdded(pdc, ComponentID("ram", "work", ""));
    const auto entry = Entry(pdc);
    ASSERT_TRUE(entry);
    EXPECT_FALSE(entry->IsUsedByAllTools());
    EXPECT_TRUE(entry->IsUsedForTool(idePALLADOR, "", true));
    EXPECT_FALSE(entry->IsUsedForTool(ideSYNTHESIS, "", true));
    ASSERT_EQ(ram->GetAssociatedFileListConst().size(), 1u);
    EXPECT_EQ(ram->GetAssociatedFileListConst().front(), *entry);

    // Another kind of constraint joins the project only; an unknown unit,
    // or a file that is nowhere, is only traced.
    const std::string sdc = project.Write("constraint/ram.sdc", "create_clock\n");
    DebugCapture debug;
    tool->NewConstraintFileAdded(sdc, ComponentID("ram", "work", ""));
    EXPECT_TRUE(Entry(sdc));
    EXPECT_EQ(ram->GetAssociatedFileListConst().size(), 1u);
    tool->NewConstraintFileAdded(project / "constraint/none.pdc", ComponentID("nobody", "work", ""));
    EXPECT_TRUE(debug.Holds("Error: Invalid module: nobody::work"));
    EXPECT_TRUE(debug.Holds("Error: Invalid file: " + project / "constraint/none.pdc"));

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

}  // namespace
