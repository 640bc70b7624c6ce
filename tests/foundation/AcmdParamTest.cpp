// The typed parameters as the commands use them: Tcl lists, enumerations with
// their message, files and folders (conversion errors and export through the
// manager are in AcmdManagerTest).
#include "AcmdTestCommands.h"
#include "MessageRecorder.h"
#include "TempFolder.h"

#include <foundation/AcmdManager.h>
#include <foundation/AcmdParam.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using acmdtest::Mode;
using acmdtest::ModeParam;
using Texts = std::vector<std::string>;

namespace {

class Holder : public AcmdBase {
public:
    std::string GetName() const override { return "holder"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<Holder>(); }
    AcmdEnum::Result execDo() override { return AcmdEnum::Success; }
};

AcmdEnum::Result Validate(AcmdParam& param)
{
    AcmdEnum::Result result = AcmdEnum::Success;
    param.initAndValidateObject(result);
    return result;
}

}  // namespace

TEST(AcmdParamTest, ListsSplitByTclRulesWithoutLimit)
{
    Holder command;
    AcmdStringParam list("list", &command, AcmdValueType::List(), false, "", "", false);
    list.SetValueFromText("{with blank} \"quoted word\" {} x\\ y");
    EXPECT_EQ(list.GetValueTexts(), (Texts{"with blank", "quoted word", "", "x y"}));

    // Far more words than any fixed room would hold: nothing is cut off.
    std::string many;
    for (int i = 0; i < 5000; ++i) many += "w" + std::to_string(i) + " ";
    list.SetValueFromText(many.c_str());
    ASSERT_EQ(list.GetValueTexts().size(), 5000u);
    EXPECT_EQ(list.GetValueTexts().back(), "w4999");

    MessageRecorder recorder;
    EXPECT_EQ(list.SetValueFromText("a {b c"), AcmdEnum::Failure);
    ASSERT_EQ(recorder.WithId("INVALID_LIST").size(), 1u);
    EXPECT_NE(recorder.Texts().front().find("a {b c"), std::string::npos);
}

TEST(AcmdParamTest, EnumerationKeywordsAndTheirMessage)
{
    Holder command;
    ModeParam mode(&command, AcmdValueType::Single());
    MessageRecorder recorder;
    Mode value = Mode::Add;
    // A keyword that looks like a format is only ever an argument.
    EXPECT_FALSE(mode.GetObjectFromString("%s%d%n", value, true, nullptr));
    EXPECT_NE(recorder.Texts().front().find("'%s%d%n'"), std::string::npos);

    mode.SetCaseSensitive(false);
    EXPECT_TRUE(mode.GetObjectFromString("ADD", value, true, nullptr));
    EXPECT_EQ(value, Mode::Add);

    // A synonym is stored and exported as the value's first keyword.
    AcmdEnumParam<std::string> delay("type", &command, AcmdValueType::Single(), false, "typ", true, "delays");
    delay.AddChoice("typ", "typ", "Typ");
    delay.AddChoice("max", "max", "Max");
    delay.AddChoice("max", "maximum", "");
    delay.SetValueFromText("maximum");
    EXPECT_EQ(Validate(delay), AcmdEnum::Success);
    EXPECT_EQ(delay.GetValueTexts(), Texts{"max"});
}

TEST(AcmdParamTest, FoldersAreMadeFullAndMustExistWhenAsked)
{
    TempFolder folder;
    folder.Write("sub/keep", "");
    AcmdManager::GetInstance().SetCurrentFolder(folder.Path());
    // A missing file refused: simulation_options.tcl.
    Holder command;
    MessageRecorder recorder;
    AcmdFolderNameParam out("out", &command, AcmdValueType::Single(), false, "", "");
    out.SetValueFromText("sub/../new");
    EXPECT_EQ(Validate(out), AcmdEnum::Success);
    EXPECT_EQ(out.GetObject(), folder.Path() + "/new");
    out.SetMayNotExist(false);
    out.Reset();
    out.SetValueFromText("gone");
    EXPECT_EQ(Validate(out), AcmdEnum::Failure);
    ASSERT_EQ(recorder.WithId("FOLDER_DOES_NOT_EXIST").size(), 1u);
    EXPECT_EQ(recorder.WithId("FOLDER_DOES_NOT_EXIST")[0].text,
              "the folder '" + folder.Path() + "/gone' given for -out does not exist.");
    out.Reset();
    out.SetValueTexts({"C:\\work\\x"});
    EXPECT_EQ(out.GetExportTexts(), Texts{"C:/work/x"});
    AcmdManager::GetInstance().SetCurrentFolder("");
}
