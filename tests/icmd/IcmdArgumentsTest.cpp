// The Tcl argument classes: design units, views, components, devices, HDL
// and tool kinds turned from texts into model objects and back, children
// converted once and first, and commands built in code replayed from their
// exported text.
#include "IcmdTestSupport.h"

#include "icmd/IcmdComponentIDText.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/views/ImodelContextImpl.h"
#include "itool/ItoolConstraintsManager.h"

#include <set>
#include <sstream>

namespace {

using Texts = std::vector<std::string>;

// Three families, ZX7 asking for a whole device.
constexpr const char* kCatalogue = R"(
@choices FAM = ZX3 ZX7
@choices DIE[QFAM=ZX3] = zx3_10
@choices DIE[QFAM=ZX7] = zx7_50
@ext zx3_10 = ZX3-10
@ext zx7_50 = ZX7-50
@choices PACKAGE[QFAM=ZX3,QDIE=zx3_10] = tq100
@choices PACKAGE[QFAM=ZX7,QDIE=zx7_50] = fg256
@ext tq100 = TQ100
@ext fg256 = FG256
IS_DEVICE_SELECTION_MANDATORY = 0
IS_DEVICE_SELECTION_MANDATORY[QFAM=ZX7] = 1
)";

class IcmdArgumentsTest : public IcmdTest {
protected:
    void SetUp() override
    {
        IcmdTest::SetUp();
        std::string error;
        ASSERT_TRUE(DefLoadDefaultsFromText(kCatalogue, &error)) << error;
    }

    // The lines of the echo's answer.
    Texts Lines()
    {
        Texts lines;
        std::istringstream stream(Result());
        for (std::string line; std::getline(stream, line);) lines.push_back(line);
        return lines;
    }
};

}  // namespace

TEST_F(IcmdArgumentsTest, IdentityTextsReadAndWriteLibraryAndPackage)
{
    const auto id = [](const std::string& text) {
        const VyIfaces::ComponentID read = IcmdReadComponentID(text);
        return Texts{read.name, read.library, read.package};
    };
    EXPECT_EQ(id("alu"), (Texts{"alu", "work", ""}));
    EXPECT_EQ(id("alu::lib2"), (Texts{"alu", "lib2", ""}));
    EXPECT_EQ(id("alu::lib2::pkg::more"), (Texts{"alu", "lib2", "pkg::more"}));
    EXPECT_EQ(id("::lib2"), (Texts{"", "lib2", ""}));
    for (const std::string text : {"alu::work", "alu::lib2", "alu::lib2::pkg::more"})
        EXPECT_EQ(IcmdWriteComponentID(IcmdReadComponentID(text)), text);
    EXPECT_EQ(IcmdWriteComponentID(IcmdReadComponentID("alu")), "alu::work");
    EXPECT_EQ(IcmdWriteComponentID(VyIfaces::ComponentID("", "lib2", "pkg")), "");
}

TEST_F(IcmdArgumentsTest, UnitsAreFoundInTheirLibraryAndWrittenWithIt)
{
    AddUnit("alu");
    AddUnit("alu", "lib2");
    EXPECT_EQ(Eval("echo_args -module alu"), TCL_OK) << Result();
    EXPECT_EQ(Result(), "module: alu::work");
    EXPECT_EQ(Eval("echo_args -module ALU::Lib2"), TCL_OK) << Result();
    EXPECT_EQ(Result(), "module: alu::lib2");
    EXPECT_EQ(Eval("echo_args -module alu::lib3"), TCL_ERROR);
    EXPECT_EQ(Result(), "echo_args: cannot find module 'alu::lib3'.");
}

TEST_F(IcmdArgumentsTest, AViewIsLookedForExactlyInTheGivenUnitOrTheRoot)
{
    ImodelModule* top = AddUnit("top");
    ASSERT_TRUE(top->GetContext()->AddRevision("Impl1"));
    AddUnit("other");
    Design().SetRootId(top->GetComponentID());

    EXPECT_EQ(Eval("echo_args -pallador_view Impl1"), TCL_OK) << Result();
    EXPECT_EQ(Lines(), (Texts{"pallador_view: Impl1 of top::work", "module: top::work"}));
    EXPECT_EQ(Eval("echo_args -pallador_view impl1"), TCL_ERROR);
    EXPECT_EQ(Result(), "echo_args: cannot find pallador view 'impl1'.");
    EXPECT_EQ(Eval("echo_args -module other -pallador_view Impl1"), TCL_ERROR);
    EXPECT_EQ(Result(), "echo_args: cannot find pallador view 'Impl1'.");
    // A unit that is not found is said once, although the command lists
    // it besides the view; the view is then not looked for.
    EXPECT_EQ(Eval("echo_args -module nosuch -pallador_view Impl1"), TCL_ERROR);
    EXPECT_EQ(Result(), "echo_args: cannot find module 'nosuch'.");

    // Set in code, the view comes with its unit; alone it is not taken.
    EchoCommand command;
    command.view.SetObject(top->GetContext()->FindRevision("Impl1"));
    EXPECT_TRUE(command.view.GetObjects().empty());
    command.view.SetObject(top, top->GetContext()->FindRevision("Impl1"));
    EXPECT_EQ(command.view.GetValueTexts(), Texts{"Impl1"});
    EXPECT_EQ(command.view.GetModule(), top);

    // Released after the run: the objects go, the texts stay.
    AcmdEnum::Result result = AcmdEnum::Success;
    command.view.initAndValidateObject(result);
    EXPECT_TRUE(command.view.isSetAndValid());
    command.view.exitObject();
    EXPECT_TRUE(command.view.GetObjects().empty());
    EXPECT_EQ(command.view.GetModule(), nullptr);
    EXPECT_EQ(command.view.GetModuleArg().GetValueTexts(), Texts{"top::work"});
}

TEST_F(IcmdArgumentsTest, ListsAccumulateRepeatedOptionsAndReportEveryBadText)
{
    // One Tcl list for a plain list, one option per value for a repeated one.
    EXPECT_EQ(Eval("echo_args -words {a b {c d}}"), TCL_OK) << Result();
    EXPECT_EQ(Result(), "words: (3) a b {c d}");
    EXPECT_EQ(Eval("echo_args -words a -words b"), TCL_ERROR);
    EXPECT_EQ(Eval("echo_args -file a.v -file {b c.v}"), TCL_OK) << Result();
    EXPECT_EQ(Lines().size(), 2u);

    // Given twice in code, a plain list takes the second text's words.
    EchoCommand command;
    command.words.SetValueFromText("a b c");
    command.words.SetValueFromText("d");
    EXPECT_EQ(command.words.GetValueTexts(), Texts{"d"});
    command.files.SetValueFromText("a.v");
    command.files.SetValueFromText("b c.v");
    EXPECT_EQ(command.files.GetValueTexts(), (Texts{"a.v", "b c.v"}));

    // Two texts that name nothing: two messages, one failure.
    command.components.SetValueFromText("one");
    command.components.SetValueFromText("two::lib");
    EXPECT_EQ(Manager().Run(&command, false), AcmdEnum::Failure);
    EXPECT_EQ(TextsOf("ARG_NOT_FOUND"),
              (Texts{"echo_args: cannot find component 'one'.", "echo_args: cannot find component 'two::lib'."}));
}

TEST_F(IcmdArgumentsTest, HdlAndToolKeywordsIgnoreCaseAndAreWrittenBackInTheirOwnForm)
{
    EchoCommand command;
    command.hdl.SetValueFromText("verilog");
    command.tool.SetValueFromText("SIMULATION");
    EXPECT_EQ(Manager().Run(&command, false), AcmdEnum::Success);
    EXPECT_EQ(command.GetResultMsg(), "hdl: Verilog\ntool: simulation (kind 1)");
    EXPECT_EQ(command.hdl.GetValueTexts(), Texts{"VERILOG"});
    EXPECT_EQ(command.tool.GetValueTexts(), Texts{"simulation"});

    // Every kind the table names has one keyword a user can type, which
    // gives the kind back in any letter case.
    std::set<std::string> keywords;
    for (int value = 0; value < ideCONSTRAINTSEDITOR; ++value) {
        const auto kind = static_cast<ImodelFunctionType>(value);
        std::string keyword = IcmdToolTypeArg::GetStringForTool(kind);
        EXPECT_FALSE(keyword.empty()) << value;
        EXPECT_EQ(keyword.find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << keyword;
        EXPECT_TRUE(keywords.insert(keyword).second) << keyword;
        ImodelFunctionType read = ideHDLEDITOR;
        for (char& c : keyword) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(command.tool.GetObjectFromString(keyword.c_str(), read, false, nullptr)) << keyword;
        EXPECT_EQ(read, kind);
    }
    EXPECT_EQ(IcmdToolTypeArg::GetStringForTool(ideGLIMMOND), "glimmond");
    EXPECT_EQ(IcmdToolTypeArg::GetStringForTool(ideCONSTRAINTSEDITOR), "statenoresult");

    // The filters: the sources' tools, the tools with constraints, the
    // user's profiles (none without a host).
    for (int value = 0; value < ImodelFunctionTypeCount; ++value) {
        const auto kind = static_cast<ImodelFunctionType>(value);
        EXPECT_EQ(IcmdToolTypeArg::OrganizeSourcesSupported(kind), kind == ideSYNTHESIS || kind == ideSIMULATION);
        EXPECT_EQ(IcmdToolTypeArg::OrganizeConstraintsSupported(kind),
                  ItoolConstraintsManager::GetTool(kind) != nullptr);
        EXPECT_FALSE(IcmdToolTypeArg::ProfilesSupported(kind));
    }
    EXPECT_EQ(Eval("echo_project_args -tool PalLaDor"), TCL_ERROR);
    EXPECT_EQ(Result(),
              "echo_project_args: invalid value 'PalLaDor' for -tool (tool type): expected synthesis or simulation.");
}

TEST_F(IcmdArgumentsTest, ADeviceIsCheckedAsFarAsItsLevelOrItsFamilyAsks)
{
    EXPECT_EQ(Eval("echo_args -family ZX3 -die zx3-10 -package TQ100"), TCL_OK) << Result();
    EXPECT_EQ(Lines(), (Texts{"family: family ZX3, die zx3_10, package tq100", "die: zx3-10", "package: TQ100"}));
    EXPECT_EQ(Eval("echo_args -family ZX3"), TCL_OK) << Result();
    EXPECT_EQ(Eval("echo_args -family ZX9"), TCL_ERROR);
    EXPECT_EQ(Eval("echo_args -family ZX7 -die ZX7-50"), TCL_ERROR);
    EXPECT_EQ(Result(), "Package is required to continue.");

    // An argument that needs a whole device, given no package.
    EchoCommand command;
    IcmdTCLDeviceArg whole(&command, imodelDevicePackage);
    EXPECT_TRUE(whole.IsRequired() && whole.GetDieArg().IsRequired() && whole.GetPackageArg().IsRequired());
    whole.SetValueFromText("ZX3");
    whole.GetDieArg().SetValueFromText("ZX3-10");
    AcmdEnum::Result result = AcmdEnum::Success;
    whole.initAndValidateObject(result);
    EXPECT_EQ(result, AcmdEnum::Failure);
    EXPECT_EQ(TextsOf("MISSING_DEVICE_VALUE"), Texts{"Package is required to continue."});
}

TEST_F(IcmdArgumentsTest, ACommandBuiltInCodeIsReplayedFromItsTextToTheSameObjects)
{
    ImodelModule* alu = AddUnit("alu");
    const boost::shared_ptr<IfileObjectEx> top = AddProjectFile("hdl/top.v");
    ASSERT_NE(top, nullptr);
    EchoCommand command;
    command.view.GetModuleArg().SetObject(alu);
    command.files.SetFileObjects(std::vector<IcmdTCLFileArg::File>{top});
    command.device.SetObject(ImodelDevice("ZX3", "zx3_10", "tq100"));
    const std::string text = AcmdManager::ExportCommand(command);
    EXPECT_NE(text.find(" -module alu::work "), std::string::npos) << text;
    EXPECT_NE(text.find(" -family ZX3 -die ZX3-10 -package TQ100 "), std::string::npos) << text;

    ASSERT_EQ(Manager().Run(&command, false), AcmdEnum::Success);
    const Texts inCode = [&] {
        Texts lines;
        std::istringstream stream(command.GetResultMsg());
        for (std::string line; std::getline(stream, line);) lines.push_back(line);
        return lines;
    }();
    ASSERT_EQ(inCode.size(), 5u);
    EXPECT_EQ(Eval(text), TCL_OK) << Result();
    const Texts replayed = Lines();
    for (const std::string& line : inCode)
        EXPECT_NE(std::find(replayed.begin(), replayed.end(), line), replayed.end()) << line << "\n" << Result();
}
