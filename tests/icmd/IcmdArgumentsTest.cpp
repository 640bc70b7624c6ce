// The Tcl argument classes beyond what the scenario scripts show: identity
// texts, a device that must be whole, and a command built in code replayed
// from its exported text.
#include "IcmdTestSupport.h"

#include "icmd/args/IcmdComponentIDText.h"

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
