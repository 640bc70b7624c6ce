// The Tcl argument classes beyond what the scenario scripts show: identity
// texts, units and views of a design, the keyword of every tool kind, a
// device that must be whole, children converted once, and a command built
// in code replayed from its exported text.
#include "IcmdTestSupport.h"

#include "icmd/IcmdComponentIDText.h"
#include "imodel/views/ImodelContextImpl.h"
#include "itool/ItoolConstraintsManager.h"

#include <set>

namespace {

constexpr const char* kCatalogue = R"(
@choices FAM = ZX3
@choices DIE[QFAM=ZX3] = zx3_10
@ext zx3_10 = ZX3-10
@choices PACKAGE[QFAM=ZX3,QDIE=zx3_10] = tq100
@ext tq100 = TQ100
)";

using IcmdArgumentsTest = IcmdTest;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
        end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

}  // namespace

TEST_F(IcmdArgumentsTest, IdentityTextsCarryLibraryAndPackage)
{
    const auto id = [](const std::string& text) {
        const VyIfaces::ComponentID read = IcmdReadComponentID(text);
        return Texts{read.name, read.library, read.package};
    };
    EXPECT_EQ(id("alu"), (Texts{"alu", "work", ""}));
    EXPECT_EQ(id("alu::lib2"), (Texts{"alu", "lib2", ""}));
    EXPECT_EQ(id("alu::lib2::pkg::more"), (Texts{"alu", "lib2", "pkg::more"}));
    for (const std::string text : {"alu::work", "alu::lib2", "alu::lib2::pkg::more"})
        EXPECT_EQ(IcmdWriteComponentID(IcmdReadComponentID(text)), text);
    EXPECT_EQ(IcmdWriteComponentID(VyIfaces::ComponentID("", "lib2", "pkg")), "");
}

TEST_F(IcmdArgumentsTest, UnitsAreFoundInTheirLibraryAndViewsExactlyInTheirUnitOrTheRoot)
{
    ImodelModule* top = AddUnit("top");
    ASSERT_TRUE(top->GetContext()->AddRevision("Impl1"));
    AddUnit("top", "lib2");
    Design().SetRootId(top->GetComponentID());

    EXPECT_EQ(Eval("echo_args -module TOP::Lib2"), TCL_OK) << result;
    EXPECT_EQ(result, "module: top::lib2");
    EXPECT_EQ(Eval("echo_args -pallador_view Impl1"), TCL_OK) << result;
    EXPECT_EQ(Lines(result), (Texts{"pallador_view: Impl1 of top::work", "module: top::work"}));
    EXPECT_EQ(Eval("echo_args -pallador_view impl1"), TCL_ERROR);
    EXPECT_EQ(result, "echo_args: cannot find pallador view 'impl1'.");
    // The command lists the unit besides the view: still it is said once.
    EXPECT_EQ(Eval("echo_args -module nosuch -pallador_view Impl1"), TCL_ERROR);
    EXPECT_EQ(result, "echo_args: cannot find module 'nosuch'.");

    // In code a view is set only with its unit; after the run the objects
    // go and the texts stay.
    EchoCommand command;
    command.view.SetObject(top->GetContext()->FindRevision("Impl1"));
    EXPECT_TRUE(command.view.GetObjects().empty());
    command.view.SetObject(top, top->GetContext()->FindRevision("Impl1"));
    EXPECT_EQ(Manager().Run(&command, false), AcmdEnum::Success);
    EXPECT_EQ(command.GetResultMsg(), "pallador_view: Impl1 of top::work\nmodule: top::work");
    EXPECT_EQ(command.view.GetModule(), nullptr);
    EXPECT_EQ(command.view.GetValueTexts(), Texts{"Impl1"});

    // Given twice in code, a plain list takes the second text's words.
    command.words.SetValueFromText("a b c");
    command.words.SetValueFromText("d");
    EXPECT_EQ(command.words.GetValueTexts(), Texts{"d"});
}

TEST_F(IcmdArgumentsTest, EveryToolKindHasOneKeywordThatCanBeTyped)
{
    EchoCommand command;
    std::set<std::string> keywords;
    for (int value = 0; value < ideCONSTRAINTSEDITOR; ++value) {
        const auto kind = static_cast<ImodelFunctionType>(value);
        std::string keyword = IcmdToolTypeArg::GetStringForTool(kind);
        EXPECT_EQ(keyword.find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << keyword;
        EXPECT_TRUE(keywords.insert(keyword).second) << keyword;
        for (char& c : keyword) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        ImodelFunctionType read = ideHDLEDITOR;
        EXPECT_TRUE(command.tool.GetObjectFromString(keyword.c_str(), read, false, nullptr)) << keyword;
        EXPECT_EQ(read, kind);
    }
    EXPECT_EQ(IcmdToolTypeArg::GetStringForTool(ideGLIMMOND), "glimmond");
    for (int value = 0; value < ImodelFunctionTypeCount; ++value) {
        const auto kind = static_cast<ImodelFunctionType>(value);
        EXPECT_EQ(IcmdToolTypeArg::OrganizeConstraintsSupported(kind),
                  ItoolConstraintsManager::GetTool(kind) != nullptr);
        EXPECT_FALSE(IcmdToolTypeArg::ProfilesSupported(kind));  // no host, no profiles
    }
}

TEST_F(IcmdArgumentsTest, ADeviceOfLevelThreeNeedsAPackage)
{
    ASSERT_TRUE(DefLoadDefaultsFromText(kCatalogue, nullptr));
    EchoCommand command;
    IcmdTCLDeviceArg whole(&command, imodelDevicePackage);
    EXPECT_TRUE(whole.IsRequired() && whole.GetDieArg().IsRequired() && whole.GetPackageArg().IsRequired());
    whole.SetValueFromText("ZX3");
    whole.GetDieArg().SetValueFromText("ZX3-10");
    AcmdEnum::Result validation = AcmdEnum::Success;
    whole.initAndValidateObject(validation);
    EXPECT_EQ(validation, AcmdEnum::Failure);
    EXPECT_EQ(TextsOf("MISSING_DEVICE_VALUE"), Texts{"Package is required to continue."});
}

TEST_F(IcmdArgumentsTest, ACommandBuiltInCodeIsReplayedFromItsTextToTheSameObjects)
{
    ASSERT_TRUE(DefLoadDefaultsFromText(kCatalogue, nullptr));
    EchoCommand command;
    command.view.GetModuleArg().SetObject(AddUnit("alu"));
    command.files.SetFileObjects(std::vector<IcmdTCLFileArg::File>{AddProjectFile("hdl/top.v")});
    command.device.SetObject(ImodelDevice("ZX3", "zx3_10", "tq100"));
    const std::string text = AcmdManager::ExportCommand(command);
    EXPECT_NE(text.find(" -module alu::work "), std::string::npos) << text;
    EXPECT_NE(text.find(" -family ZX3 -die ZX3-10 -package TQ100 "), std::string::npos) << text;

    ASSERT_EQ(Manager().Run(&command, false), AcmdEnum::Success);
    const Texts inCode = Lines(command.GetResultMsg());
    ASSERT_EQ(inCode.size(), 5u);  // file, module, family, die, package
    EXPECT_EQ(Eval(text), TCL_OK) << result;
    const Texts replayed = Lines(result);
    for (const std::string& line : inCode)
        EXPECT_NE(std::find(replayed.begin(), replayed.end(), line), replayed.end()) << line << "\n" << result;
}
