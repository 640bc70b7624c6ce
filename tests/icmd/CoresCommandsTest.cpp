// What the scenario scripts cannot reach of the core and design commands:
// the packager script's quoting against Tcl itself, the walk over a block
// design's sub-components, the identity and parameter texts of
// create_design and its choice of creator, the in-process generate_core,
// and the lifetime of the constraints editors' registry.
#include "IcmdTestSupport.h"

#include "icmd/cores/IcmdCreateCore.h"
#include "icmd/cores/IcmdCreateDesign.h"
#include "icmd/cores/IcmdGenerateCore.h"
#include "icmd/cores/IcmdOpenVeyrun.h"
#include "icmd/design/IcmdOpenConstraintsEditor.h"
#include "icmd/project/IcmdCloseProject.h"
#include "itool/ItoolVeyrun.h"

#include <ktcore/ConstraintsEditorDesign.h>
#include <ktwkspace/VyComponent.h>
#include <ktwkspace/Workspace.h>

#include <filesystem>
#include <random>

namespace {

using Ktwkspace::WorkspaceComponentRecord;
using VyIfaces::ComponentID;
using VyIfaces::IComponent;

class CoresCommandsTest : public IcmdWorkspaceTest {
protected:
    // A unit of the design with a workspace component of that kind.
    static ImodelModule* UnitWithComponent(const std::string& name, IComponent::VyModuleType type)
    {
        WorkspaceComponentRecord record;
        record.id = ComponentID(name, "work", "");
        record.type = type;
        record.definitionFile = "/cores/" + name + ".cxf";
        ImodelModule* unit = AddUnit(name);
        unit->SetComponent(Workspace().AddComponent(record));
        return unit;
    }
};

// Texts made of pieces that mean something to Tcl.
std::string RandomText(std::mt19937& random)
{
    static const std::vector<std::string> pieces = {"a", " ", "[", "]",  "$", "\"",  "\\",     "{",    "}",  "\n",
                                                    ";", "#", "é", "\t", "/", "x$y", "[exit]", "\\\"", "\r", "0"};
    std::string text;
    const int length = static_cast<int>(random() % 8);
    for (int i = 0; i < length; ++i) text += pieces[random() % pieces.size()];
    return text;
}

// A field of an identity: anything but a colon.
std::string RandomField(std::mt19937& random)
{
    std::string field = RandomText(random);
    std::erase(field, ':');
    return field;
}

}  // namespace

TEST(IcmdCreateCoreScript, EveryValueIsOneTclWordThatGivesItBackAsItWas)
{
    Tcl_Interp* interp = Tcl_CreateInterp();
    ASSERT_EQ(Tcl_Eval(interp, "proc add_file {args} { set ::words $args }"), TCL_OK);
    std::mt19937 random(20240611);
    for (int round = 0; round < 500; ++round) {
        const std::string value = RandomText(random);
        const std::string line = "add_file -name " + IcmdCreateCore::QuoteValue(value) + " -type \"VHDLSource\"";
        SCOPED_TRACE(line);
        // One line per command: the value never breaks it.
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
        ASSERT_EQ(Tcl_Eval(interp, line.c_str()), TCL_OK) << Tcl_GetStringResult(interp);
        Tcl_Obj* words = Tcl_GetVar2Ex(interp, "words", nullptr, TCL_GLOBAL_ONLY);
        int count = 0;
        ASSERT_EQ(Tcl_ListObjLength(interp, words, &count), TCL_OK);
        ASSERT_EQ(count, 4);
        Tcl_Obj* word = nullptr;
        Tcl_ListObjIndex(interp, words, 1, &word);
        EXPECT_EQ(std::string(Tcl_GetString(word)), value);
    }
    // Plain values keep the form the packager always read.
    EXPECT_EQ(IcmdCreateCore::QuoteValue("HDL_FILESET"), "\"HDL_FILESET\"");
    EXPECT_EQ(IcmdCreateCore::QuoteValue("/p/a b.vhd"), "\"/p/a b.vhd\"");
    Tcl_DeleteInterp(interp);
}

TEST(IcmdCreateDesignTexts, FourFieldsMakeAnIdentityAndNameValueTextsMakeParameters)
{
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> fields;
        const int count = static_cast<int>(random() % 7);
        for (int i = 0; i < count; ++i) fields.push_back(RandomField(random));
        std::string text;
        for (std::size_t i = 0; i < fields.size(); ++i) text += (i ? ":" : "") + fields[i];
        VlnvCoreId core("kept", "kept", "kept", "kept");
        const bool four = fields.size() == 4;
        SCOPED_TRACE(text);
        ASSERT_EQ(IcmdParseCoreIdentity(text, core), four);
        if (four) {
            EXPECT_EQ(core, VlnvCoreId(fields[0], fields[1], fields[2], fields[3]));
            EXPECT_EQ(core.ToString(), text);
        } else {
            EXPECT_EQ(core, VlnvCoreId("kept", "kept", "kept", "kept"));
        }
    }
    VlnvCoreId core;
    EXPECT_TRUE(IcmdParseCoreIdentity("Vendor::Core:1.0", core));
    EXPECT_EQ(core, VlnvCoreId("Vendor", "", "Core", "1.0"));
    EXPECT_TRUE(IcmdParseCoreIdentity(":::", core));
    EXPECT_EQ(core, VlnvCoreId());
    EXPECT_FALSE(IcmdParseCoreIdentity("a:b:c:d:", core));

    std::vector<std::string> texts;
    std::vector<std::pair<std::string, std::string>> expected;
    for (int i = 0; i < 200; ++i) {
        const std::string name = RandomField(random);
        const std::string value = RandomText(random);  // may hold colons of its own
        texts.push_back(name + ":" + value);
        expected.push_back(name.empty() ? std::make_pair(std::string(), std::string()) : std::make_pair(name, value));
        if (i % 5 == 0) {
            texts.push_back(RandomField(random));  // no colon at all
            expected.emplace_back();
        }
    }
    EXPECT_EQ(IcmdParseCoreParameters(texts), expected);
    EXPECT_EQ(IcmdParseCoreParameters({"width:8", "width", ":8", "a:b:c"}),
              (std::vector<std::pair<std::string, std::string>>{{"width", "8"}, {}, {}, {"a", "b:c"}}));
}

TEST_F(CoresCommandsTest, TheIdentityPicksTheCreatorWhateverItsLetterCaseAndASecondCheckKeepsIt)
{
    LoadOnePartCatalogue();
    ASSERT_TRUE(NewAluProject());
    const auto creatorFor = [](const std::string& id) -> std::string {
        IcmdCreateDesign command;
        command.SetIdParam(id);
        command.SetNameParam("design");
        command.checkParams();
        const DesignCreatorBase* creator = command.GetCreator();
        if (dynamic_cast<const ZandrelDesignCreator*>(creator)) return "block design";
        if (dynamic_cast<const KiltoraDesignCreator*>(creator)) return "core generator";
        if (dynamic_cast<const SpiritDesignCreator*>(creator)) return "spirit";
        return "none";
    };
    EXPECT_EQ(creatorFor("v:Zandrel:Veyrun:1.0"), "block design");
    EXPECT_EQ(creatorFor("v:zANDREL:VEYRUN:"), "block design");
    EXPECT_EQ(creatorFor("v:zandrel:fifo:1.0"), "spirit");
    EXPECT_EQ(creatorFor("v:KILTORA:veyrun:1.0"), "core generator");
    EXPECT_EQ(creatorFor("v:kiltoras:fifo:1.0"), "spirit");
    EXPECT_EQ(creatorFor("v:kiltora:fifo"), "none");

    IcmdCreateDesign command;
    command.SetIdParam(VlnvCoreId("v", "Zandrel", "Veyrun", "1.0"));
    EXPECT_EQ(command.GetIdParam(), "v:Zandrel:Veyrun:1.0");
    command.SetNameParam("bd");
    ASSERT_EQ(command.checkParams(), AcmdEnum::Success);
    command.SetIdParam("v:kiltora:fifo:1.0");
    ASSERT_EQ(command.checkParams(), AcmdEnum::Success);
    EXPECT_NE(dynamic_cast<const ZandrelDesignCreator*>(command.GetCreator()), nullptr);
    EXPECT_EQ(command.GetVLNV(), VlnvCoreId("v", "Zandrel", "Veyrun", "1.0"));
    EXPECT_EQ(command.GetCmdLabel(), "Create Design");
    // The clone starts afresh.
    const std::unique_ptr<AcmdBase> clone = command.Clone();
    EXPECT_EQ(dynamic_cast<IcmdCreateDesign&>(*clone).GetCreator(), nullptr);
}

TEST_F(CoresCommandsTest, GenerateCoreTakesThreeTextsAndSucceeds)
{
    LoadOnePartCatalogue();
    ASSERT_TRUE(NewAluProject());
    IcmdGenerateCore command;
    command.SetParams("alu", "fifo", "");
    EXPECT_EQ(Manager().Run(&command, false), AcmdEnum::Success);
    EXPECT_EQ(command.GetParams().size(), 3u);
    IcmdGenerateCore missing;
    EXPECT_NE(Manager().Run(&missing, false), AcmdEnum::Success);
}

TEST_F(CoresCommandsTest, ABlockDesignIsPackagedWithItsSubComponentsDeepestFirstEachOnce)
{
    const Ktwkspace::Workspace::CreateResult made = Workspace().CreateVeyrun("bd");
    ASSERT_TRUE(made.success);
    ImodelModule* bd = AddUnit("bd");
    ImodelModule* a = UnitWithComponent("a", IComponent::Kiltora);
    ImodelModule* b = UnitWithComponent("b", IComponent::UserIP);
    ImodelModule* c = UnitWithComponent("c", IComponent::HDL);
    ImodelModule* d = UnitWithComponent("d", IComponent::Veyrun);
    ImodelModule* plain = AddUnit("plain");
    bd->AddSubBlock(a, false);
    bd->AddSubBlock(b, false);
    a->AddSubBlock(d, false);
    a->AddSubBlock(c, false);
    b->AddSubBlock(d, false);   // shared
    b->AddSubBlock(a, false);   // met again
    d->AddSubBlock(bd, false);  // a cycle back to the top
    d->AddSubBlock(plain, false);

    const std::string file = made.component->GetDefinitionFileName();
    const std::string first = "new_core -file " + IcmdCreateCore::QuoteValue(file) + "\n";
    IcmdCreateCore command;
    command.SetFileObject(IfileObject(ImodelFileName(file), zorpaFT_OMBRIX_CXF, ImodelFMFull, true, true));
    EXPECT_EQ(command.GetScript(), first);
    DefSetFL("PACK_ENTIRE_VY_ALLOWED", "1", __FILE__, __LINE__);
    EXPECT_EQ(command.GetScript(), first + "add_sub_component -file \"/cores/d.cxf\"\n"
                                           "add_sub_component -file \"/cores/a.cxf\"\n"
                                           "add_sub_component -file \"/cores/b.cxf\"\n");
    // A core file that is no block design names itself alone.
    IcmdCreateCore core;
    core.SetFileObject(IfileObject(ImodelFileName("/cores/a.cxf"), zorpaFT_OMBRIX_CXF, ImodelFMFull, true, true));
    EXPECT_EQ(core.GetScript(), "new_core -file \"/cores/a.cxf\"\n");
}

TEST(IcmdConstraintsEditorRegistry, AComponentLeavesTheRegistryWhenItsEditorClosesOrTheRegistryForgetsIt)
{
    TempFolder project;
    const auto editor = [&](Ktwkspace::Workspace& workspace, const std::string& name) {
        auto design = std::make_unique<Brndesign::ConstraintsEditorDesign>(
            project / (name + ".ce"), project / name, ComponentID(project / name, "", ""), false, BrnDevice());
        design->InitNoPortList();
        return std::make_unique<Ktwkspace::VyComponent>(&workspace, std::move(design), std::string());
    };
    const auto workspaceIn = [&](const std::string& folder) {
        return std::make_unique<Ktwkspace::Workspace>("kiltora", project / folder, "ZX3", "zx3_10", "tq100", "VHDL",
                                                      false, 0, true, true, nullptr, nullptr);
    };

    // Closing an open editor: the workspace hands the component to the
    // registry, which lets it go.
    {
        auto workspace = workspaceIn("one");
        IcmdOpenConstraintsEditor::Collection registry;
        auto component = editor(*workspace, "pins.pdc");
        registry.Add(component.get());
        IComponent* pins = workspace->AdoptEditorComponent(std::move(component));
        ASSERT_TRUE(pins->Open());
        EXPECT_EQ(project.Read("pins.pdc.ce"),
                  "CONSTRAINTS_EDITOR 1\nConstraints=" + project / "pins.pdc" + "\nOutside=0\nUnit=\n");
        EXPECT_TRUE(workspace->IsComponentOpen(ComponentID(project / "pins.pdc", "", "")));
        EXPECT_EQ(registry.GetComponents().size(), 1u);
        EXPECT_TRUE(workspace->CloseEditor(pins));
        EXPECT_TRUE(registry.GetComponents().empty());
        EXPECT_TRUE(workspace->GetEditorComponents().empty());

        // A workspace that goes hands its components over too.
        auto other = editor(*workspace, "other.pdc");
        registry.Add(other.get());
        workspace->AdoptEditorComponent(std::move(other));
        workspace.reset();
        EXPECT_TRUE(registry.GetComponents().empty());
    }
    // A registry that forgets its components, or goes first, is no longer
    // theirs: the workspace deletes them itself.
    {
        auto workspace = workspaceIn("two");
        {
            IcmdOpenConstraintsEditor::Collection registry;
            auto forgotten = editor(*workspace, "a.pdc");
            auto outlived = editor(*workspace, "b.pdc");
            registry.Add(forgotten.get());
            IComponent* a = workspace->AdoptEditorComponent(std::move(forgotten));
            registry.Forget();
            EXPECT_EQ(a->GetDeleteHelper(), nullptr);
            registry.Add(outlived.get());
            workspace->AdoptEditorComponent(std::move(outlived));
        }
        for (IComponent* component : workspace->GetEditorComponents()) EXPECT_EQ(component->GetDeleteHelper(), nullptr);
        EXPECT_EQ(workspace->GetEditorComponents().size(), 2u);
    }
}

class OpenVeyrunTest : public IcmdTest {};

TEST_F(OpenVeyrunTest, InProcessOpensTheNamedBlockDesignOfTheProjectsWorkspaceAndTellsWhatItCannot)
{
    EXPECT_FALSE(IcmdDoOpenVeyrun("bus", false));  // no project, no workspace
    LoadOnePartCatalogue();
    ASSERT_TRUE(NewAluProject());
    const auto active = [] {
        const IComponent* design = Imodel::GetInstance().GetWorkspace()->GetActiveVeyrun();
        return design ? design->GetComponentID().name : std::string("(none)");
    };
    EXPECT_FALSE(IcmdDoOpenVeyrun("bus", false));
    EXPECT_EQ(TextsOf("DESIGN_NOT_OPENED"), Texts{"Unable to open the block design 'bus'."});
    ASSERT_TRUE(ItoolVeyrun::GetInstance()->CreateNewVeyrun("bus").first);
    ASSERT_TRUE(ItoolVeyrun::GetInstance()->CreateNewVeyrun("dma").first);
    // Each opens in turn, by its name in any letter case; the last is in front.
    for (const auto& [asked, shown] : {std::pair{"DMA", "dma"}, {"bus", "bus"}, {"dma", "dma"}}) {
        EXPECT_TRUE(IcmdDoOpenVeyrun(asked, false)) << asked;
        EXPECT_EQ(active(), shown);
    }
    EXPECT_FALSE(IcmdDoOpenVeyrun("", false));
    EXPECT_EQ(active(), "dma");
    // A design whose file went has nothing to open.
    const IComponent* bus =
        Imodel::GetInstance().GetWorkspace()->FindComponent(VyIfaces::ComponentID("bus", "work", ""));
    ASSERT_NE(bus, nullptr);
    ASSERT_TRUE(std::filesystem::remove(bus->GetDefinitionFileName()));
    messages.Clear();
    EXPECT_FALSE(IcmdDoOpenVeyrun("bus", false));
    EXPECT_EQ(TextsOf("DESIGN_NOT_OPENED"), Texts{"Unable to open the block design 'bus'."});
    EXPECT_EQ(active(), "dma");
    ASSERT_TRUE(IcmdDoCloseProject(false, true));
    EXPECT_FALSE(IcmdDoOpenVeyrun("bus", false));
}
