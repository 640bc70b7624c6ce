// Cores imported into the workspace from their descriptions, one or a
// folder of them; the audit of vanished definitions; cores made from the
// catalogue; and the workspace file's values kept whatever they hold.
#include <ktwkspace/Catalog.h>
#include <ktwkspace/Workspace.h>

#include "SpiritCoreWriter.h"
#include "TempFolder.h"

#include <foundation/Sys.h>
#include <ulv/VlnvCoreId.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using Ktwkspace::Workspace;
using Ktwkspace::WorkspaceComponentRecord;
using VyIfaces::ComponentID;
using VyIfaces::IComponent;

namespace {

std::unique_ptr<Workspace> Create(const std::string& folder, Ktwkspace::CatalogIf* catalog = nullptr)
{
    return std::make_unique<Workspace>("kiltora", folder, "ZX3", "zx3_10", "tq100", "VHDL", false, 0, true, true,
                                       nullptr, catalog);
}

std::unique_ptr<Workspace> Reopen(const Workspace& workspace)
{
    return std::make_unique<Workspace>(workspace.GetFileName(), false, true, false, "", nullptr, nullptr);
}

const WorkspaceComponentRecord& RecordOf(const IComponent* component)
{
    return dynamic_cast<const Ktwkspace::WorkspaceComponent&>(*component).GetRecord();
}

}  // namespace

TEST(KtwkspaceImport, ACoreDescriptionBecomesAComponentDefinedWhereItLies)
{
    TempFolder folder;
    auto workspace = Create(folder.Path());
    const std::string path =
        folder.Write("cores/ram.cxf", SpiritCoreWriter("ram")
                                          .CoreType("userip")
                                          .HdlLibrary("memlib")
                                          .Device("ZX3", "ZX3-25", "FG256")
                                          .Device("ZX7")
                                          .Instance("<instanceName>u1</instanceName><componentRef vendor=\"v\" "
                                                    "library=\"l\" name=\"bank\" version=\"2\"/>")
                                          .Instance("<instanceName>u2</instanceName><moduleName>glue</moduleName>"
                                                    "<library>work</library>")
                                          .Text());
    std::string imported;
    ASSERT_TRUE(workspace->SafeimportCore(path, nullptr, imported, false));
    EXPECT_EQ(imported, path);
    const IComponent* ram = workspace->FindComponent(ComponentID("ram", "memlib", ""));
    ASSERT_NE(ram, nullptr);
    const WorkspaceComponentRecord& record = RecordOf(ram);
    EXPECT_EQ(record.type, IComponent::UserIP);
    EXPECT_EQ(record.state, 0);
    EXPECT_EQ(record.definitionFile, path);
    EXPECT_EQ(record.family + "/" + record.die + "/" + record.package, "ZX3/ZX3-25/FG256");
    ASSERT_EQ(record.instances.size(), 2u);
    EXPECT_EQ(record.instances[0].kind, 3);
    EXPECT_EQ(record.instances[0].core.name, "bank");
    EXPECT_EQ(record.instances[1].kind, 1);
    EXPECT_EQ(record.instances[1].moduleName, "glue");
    // Kept in the workspace file, instances included.
    const auto reopened = Reopen(*workspace);
    const IComponent* again = reopened->FindComponent(ComponentID("ram", "memlib", ""));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(RecordOf(again).instances.size(), 2u);
    EXPECT_EQ(RecordOf(again).instances[0].core.version, "2");

    // The same identity from another file: only when always asked for.
    const std::string other = folder.Write("elsewhere/ram.cxf", SpiritCoreWriter("ram").HdlLibrary("memlib").Text());
    EXPECT_FALSE(workspace->SafeimportCore(other, nullptr, imported, false));
    EXPECT_TRUE(imported.empty());
    EXPECT_EQ(RecordOf(ram).definitionFile, path);
    ASSERT_TRUE(workspace->SafeimportCore(other, nullptr, imported, true));
    EXPECT_EQ(workspace->FindComponent(ComponentID("ram", "memlib", "")), ram);
    EXPECT_EQ(RecordOf(ram).definitionFile, other);
    EXPECT_EQ(RecordOf(ram).type, IComponent::Kiltora);

    // What is no core description changes nothing.
    for (const std::string& bad :
         {std::string("<Component/>"), std::string("<Other><name>x</name></Other>"), std::string("not xml")}) {
        EXPECT_FALSE(workspace->SafeimportCore(folder.Write("bad.cxf", bad), nullptr, imported, true)) << bad;
    }
    EXPECT_FALSE(workspace->SafeimportCore(folder / "missing.cxf", nullptr, imported, true));
    EXPECT_EQ(workspace->GetComponentCollection().size(), 1u);
}

TEST(KtwkspaceImport, ADescriptionThatNamesAnotherCoreNowDefinesThatCoreAlone)
{
    TempFolder folder;
    auto workspace = Create(folder.Path());
    const std::string path = folder.Write("cores/ram.cxf", SpiritCoreWriter("ram").Text());
    const std::string other = folder.Write("cores/rom.cxf", SpiritCoreWriter("rom").Text());
    std::string imported;
    ASSERT_TRUE(workspace->SafeimportCore(path, nullptr, imported, true));
    ASSERT_TRUE(workspace->SafeimportCore(other, nullptr, imported, true));
    // The core renamed in its description, imported again: the former
    // identity goes, and the other description's core stays.
    folder.Write("cores/ram.cxf", SpiritCoreWriter("ram2").Text());
    ASSERT_TRUE(workspace->SafeimportCore(path, nullptr, imported, true));
    const auto reopened = Reopen(*workspace);
    for (const Workspace* opened : {workspace.get(), reopened.get()}) {
        EXPECT_EQ(opened->FindComponent(ComponentID("ram", "work", "")), nullptr);
        ASSERT_NE(opened->FindComponent(ComponentID("ram2", "work", "")), nullptr);
        EXPECT_EQ(opened->FindComponent(ComponentID("ram2", "work", ""))->GetDefinitionFileName(), path);
        EXPECT_NE(opened->FindComponent(ComponentID("rom", "work", "")), nullptr);
        EXPECT_EQ(opened->GetComponentCollection().size(), 2u);
    }
    // Back to its first name, the same: one component for the file.
    folder.Write("cores/ram.cxf", SpiritCoreWriter("ram").Text());
    ASSERT_TRUE(workspace->SafeimportCore(path, nullptr, imported, false));
    EXPECT_NE(workspace->FindComponent(ComponentID("ram", "work", "")), nullptr);
    EXPECT_EQ(workspace->FindComponent(ComponentID("ram2", "work", "")), nullptr);
    EXPECT_EQ(Reopen(*workspace)->GetComponentCollection().size(), 2u);
}
TEST(KtwkspaceImport, AFolderOfCoresIsImportedAndTheFailuresNamedAfterwards)
{
    TempFolder folder;
    auto workspace = Create(folder.Path());
    folder.Write("old/a/a.cxf", SpiritCoreWriter("a").Text());
    folder.Write("old/b/deep/B.CXF", SpiritCoreWriter("b").Text());
    folder.Write("old/c.cxf", "<Component>");
    folder.Write("old/notes.txt", "not a core");
    std::filesystem::create_directory_symlink(folder / "old", folder / "old/a/loop");
    try {
        workspace->importDirCores(folder / "old", nullptr, false);
        ADD_FAILURE() << "no failure named";
    } catch (const Ktwkspace::WSImport_except& error) {
        // Named once: the link back to the folder is not walked again.
        const std::string text = error.what();
        EXPECT_NE(text.find("c.cxf"), std::string::npos) << text;
        EXPECT_EQ(text.find("c.cxf"), text.rfind("c.cxf")) << text;
        EXPECT_EQ(text.find("a.cxf"), std::string::npos) << text;
    }
    EXPECT_NE(workspace->FindComponent(ComponentID("a", "work", "")), nullptr);
    EXPECT_NE(workspace->FindComponent(ComponentID("b", "work", "")), nullptr);
    EXPECT_EQ(workspace->GetComponentCollection().size(), 2u);
}

TEST(KtwkspaceImport, TheAuditMarksComponentsWhoseDefinitionIsGone)
{
    TempFolder folder;
    auto workspace = Create(folder.Path());
    std::string imported;
    for (const char* name : {"kept", "gone"})
        ASSERT_TRUE(workspace->SafeimportCore(folder.Write(std::string(name) + ".cxf", SpiritCoreWriter(name).Text()),
                                              nullptr, imported, false));
    SysDelete(folder / "gone.cxf");
    EXPECT_EQ(workspace->auditComponents(nullptr), 1);
    EXPECT_EQ(workspace->auditComponents(nullptr), 0);
    EXPECT_EQ(workspace->FindComponent(ComponentID("kept", "work", ""))->GetState(), 0);
    EXPECT_EQ(Reopen(*workspace)->FindComponent(ComponentID("gone", "work", ""))->GetState(), 2);
}

TEST(KtwkspaceImport, AComponentMarkedForAMissingDefinitionTakesItsStateBackWithTheFile)
{
    TempFolder folder;
    auto workspace = Create(folder.Path());
    std::string imported;
    const std::string generated = folder.Write("ram.cxf", SpiritCoreWriter("ram").Text());
    ASSERT_TRUE(workspace->SafeimportCore(generated, nullptr, imported, false));
    const Workspace::CreateResult saved = workspace->CreateUniqueCore(VlnvCoreId("v", "l", "fifo", "1"), "fifo");
    ASSERT_TRUE(saved.success);
    const std::string savedFile = saved.component->GetDefinitionFileName();
    const auto state = [](const Workspace& from, const char* name) {
        return from.FindComponent(ComponentID(name, "work", ""))->GetState();
    };

    // Gone and back, in each session of its own: each time the state the
    // component had, and the workspace file says the same.
    for (int round = 0; round < 2; ++round) {
        std::filesystem::rename(generated, generated + ".away");
        std::filesystem::rename(savedFile, savedFile + ".away");
        auto session = Reopen(*workspace);
        EXPECT_EQ(session->auditComponents(nullptr), 2);
        EXPECT_EQ(state(*Reopen(*session), "ram"), 2);
        EXPECT_EQ(state(*Reopen(*session), "fifo"), 2);
        std::filesystem::rename(generated + ".away", generated);
        std::filesystem::rename(savedFile + ".away", savedFile);
        session = Reopen(*session);
        EXPECT_EQ(session->auditComponents(nullptr), 0);
        EXPECT_EQ(state(*session, "ram"), 0);
        EXPECT_EQ(state(*session, "fifo"), 1);
        workspace = Reopen(*session);
        EXPECT_EQ(state(*workspace, "ram"), 0);
        EXPECT_EQ(state(*workspace, "fifo"), 1);
    }

    // A component out of date that the audit did not mark stays so.
    std::string edited;
    ASSERT_TRUE(SysReadFile(workspace->GetFileName(), edited));
    const std::string from = "state=\"1\"";
    edited.replace(edited.find(from), from.size(), "state=\"2\"");
    ASSERT_TRUE(SysWriteFileAtomically(workspace->GetFileName(), edited));
    workspace = Reopen(*workspace);
    EXPECT_EQ(workspace->auditComponents(nullptr), 0);
    EXPECT_EQ(state(*workspace, "fifo"), 2);
}

TEST(KtwkspaceImport, CoresAreMadeFromTheCatalogueUnderNamesNotTaken)
{
    TempFolder folder;
    Ktwkspace::Catalog catalog;
    ASSERT_TRUE(catalog.load(folder.Write("catalog.xml", "<kiltora_catalog><core vendor=\"brennic.com\" "
                                                         "library=\"kiltora\" name=\"fifo\" version=\"1.0\">"
                                                         "<description>A FIFO</description></core>"
                                                         "</kiltora_catalog>")));
    auto workspace = Create(folder.Path(), catalog.GetCatalogIf());
    EXPECT_EQ(catalog.getCoreDescription("KILTORA", "Fifo", "1.0"), "A FIFO");
    EXPECT_EQ(catalog.getCoreDescription("kiltora", "fifo", "2.0"), "");
    for (const char* expected : {"newCore", "newCore_1", "newCore_2"}) {
        const Workspace::CreateResult made = workspace->CreateCore("kiltora", "fifo", "1.0", "newCore", true);
        ASSERT_TRUE(made.success);
        EXPECT_EQ(made.component->GetComponentID().name, expected);
    }
    EXPECT_FALSE(workspace->CreateCore("kiltora", "fifo", "1.0", "newCore", false).success);
    EXPECT_FALSE(workspace->CreateCore("kiltora", "nothing", "1.0", "x", true).success);
}

TEST(KtwkspaceImport, EveryValueTheFileCanHoldReadsBackAsItWas)
{
    const std::vector<std::string> pieces = {"a", "Z", "&", "<", ">",  "\"",  "'",     "\t",
                                             " ", "é", "€", "/", "::", "]]>", "&amp;", "0"};
    std::mt19937 random(20240611);
    const auto text = [&] {
        std::string value;
        const int length = static_cast<int>(random() % 6);
        for (int i = 0; i < length; ++i) value += pieces[random() % pieces.size()];
        return value;
    };
    for (int round = 0; round < 200; ++round) {
        Ktwkspace::WorkspaceSettings settings{text(), text(), text(), text(), text(), {}};
        const int count = static_cast<int>(random() % 3);
        for (int i = 0; i < count; ++i) {
            WorkspaceComponentRecord record;
            record.id = ComponentID("c" + std::to_string(i) + text(), text(), text());
            record.type = static_cast<IComponent::VyModuleType>(random() % 13);
            record.state = static_cast<int>(random() % 3);
            record.definitionFile = text();
            record.ixfFile = text();
            record.family = text();
            record.designFiles = {text(), text()};
            VyIfaces::ComponentInstance instance;
            instance.kind = static_cast<int>(random() % 4);
            instance.instanceName = text();
            instance.core.version = text();
            record.instances = {instance};
            if (random() % 2) record.parameters = {{"p" + text(), text()}, {"q" + text(), text()}};
            settings.components.push_back(record);
        }
        const std::string written = Ktwkspace::KtwkspaceFormatWorkspace(settings);
        const Ktwkspace::WorkspaceSettings read = Ktwkspace::KtwkspaceParseWorkspace(written, "round.aws");
        ASSERT_EQ(Ktwkspace::KtwkspaceFormatWorkspace(read), written);
        ASSERT_EQ(read.name, settings.name);
        ASSERT_EQ(read.components.size(), settings.components.size());
        for (std::size_t i = 0; i < read.components.size(); ++i) {
            ASSERT_EQ(read.components[i].id.library, settings.components[i].id.library);
            ASSERT_EQ(read.components[i].designFiles, settings.components[i].designFiles);
            ASSERT_EQ(read.components[i].instances[0].instanceName, settings.components[i].instances[0].instanceName);
            ASSERT_EQ(read.components[i].parameters, settings.components[i].parameters);
        }
    }
    // What the file cannot give back is refused when written.
    for (const std::string& bad :
         {std::string("a\nb"), std::string("a\rb"), std::string("\x01"), std::string("\xff\xfe")}) {
        Ktwkspace::WorkspaceSettings settings;
        settings.family = bad;
        EXPECT_THROW(Ktwkspace::KtwkspaceFormatWorkspace(settings), std::invalid_argument);
    }
}

TEST(KtwkspaceImport, AComponentNameIsWrittenOnlyWhenTheFileReadsBackWithIt)
{
    // Characters at the edges of what XML allows, among them U+FFFE and
    // U+FFFF, which no XML file may hold.
    for (const std::string& odd :
         {std::string("\uD7FF"), std::string("\uE000"), std::string("\uFFFD"), std::string("\uFFFE"),
          std::string("\uFFFF"), std::string("\U00010000"), std::string("\U0010FFFD"), std::string("\u0085")}) {
        Ktwkspace::WorkspaceSettings settings;
        WorkspaceComponentRecord record;
        record.id = ComponentID("bd" + odd, "work", "");
        record.definitionFile = "bd" + odd + "/bd" + odd + ".cxf";
        settings.components.push_back(record);
        std::string written;
        try {
            written = Ktwkspace::KtwkspaceFormatWorkspace(settings);
        } catch (const std::invalid_argument&) {
            continue;
        }
        const Ktwkspace::WorkspaceSettings read = Ktwkspace::KtwkspaceParseWorkspace(written, "odd.aws");
        ASSERT_EQ(read.components.size(), 1u);
        EXPECT_EQ(read.components[0].id.name, record.id.name);
        EXPECT_EQ(read.components[0].definitionFile, record.definitionFile);
    }
    for (const char* noncharacter : {"\uFFFE", "\uFFFF"}) {
        Ktwkspace::WorkspaceSettings settings;
        settings.name = std::string("kiltora") + noncharacter;
        EXPECT_THROW(Ktwkspace::KtwkspaceFormatWorkspace(settings), std::invalid_argument);
    }
}
