// The typed parameters as the commands use them: text intake and Tcl lists,
// conversion and validation with their messages, export, enumerations,
// booleans, files and folders.
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

// Records what a parameter hands to the sink, one "operation name value" line per call.
class RecordingSink : public AcmdExportSink {
public:
    void ExportText(const char* name, std::string value) override { Add("text", name, value); }
    void ExportFolderPath(const char* name, std::string value) override { Add("folder", name, value); }
    void ExportFilePath(const char* name, std::string value) override { Add("file", name, value); }
    void ExportFlag(const char* name) override { Add("flag", name, ""); }
    void ExportBool(const char* name, bool value) override { Add("bool", name, value ? "1" : "0"); }
    void ExportTextList(const char* name, const std::vector<std::string>& values) override
    {
        std::string joined;
        for (const std::string& value : values) joined += "<" + value + ">";
        Add("list", name, joined);
    }

    Texts calls;

private:
    void Add(const char* op, const char* name, const std::string& value)
    {
        calls.push_back(std::string(op) + " " + name + " " + value);
    }
};

Texts Export(AcmdParam& param)
{
    RecordingSink sink;
    param.ExportValue(sink);
    return sink.calls;
}

AcmdEnum::Result Validate(AcmdParam& param)
{
    AcmdEnum::Result result = AcmdEnum::Success;
    param.initAndValidateObject(result);
    return result;
}

}  // namespace

TEST(AcmdParamTest, SingleValuesEmptyTextsAndReset)
{
    Holder command;
    AcmdStringParam plain("plain", &command, AcmdValueType::Single(), false, "", "dflt", false);
    plain.SetAcceptsEmptyText(false);
    EXPECT_EQ(plain.SetValueFromText(""), AcmdEnum::Success);
    EXPECT_TRUE(plain.GetValueTexts().empty());
    EXPECT_EQ(Validate(plain), AcmdEnum::Success);
    EXPECT_EQ(plain.GetObject(), "dflt");
    EXPECT_FALSE(plain.isSetAndValid());

    // Accepting empty texts with an empty default: the reject-default flag decides.
    AcmdStringParam rejecting("rejecting", &command, AcmdValueType::Single(), false, "", "", true);
    rejecting.SetValueFromText("");
    EXPECT_TRUE(rejecting.GetValueTexts().empty());
    AcmdStringParam keeping("keeping", &command, AcmdValueType::Single(), false, "", "", false);
    keeping.SetValueFromText("");
    EXPECT_EQ(Validate(keeping), AcmdEnum::Success);
    EXPECT_TRUE(keeping.isSetAndValid());

    // A later occurrence replaces a single value; Reset forgets texts and values.
    plain.SetValueFromText("one");
    plain.SetValueFromText("two");
    EXPECT_EQ(Validate(plain), AcmdEnum::Success);
    EXPECT_EQ(plain.GetObject(), "two");
    plain.Reset();
    EXPECT_TRUE(plain.GetValueTexts().empty());
    EXPECT_EQ(plain.GetObject(), "dflt");
    EXPECT_EQ(command.FindParam("keeping"), &keeping);
}

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

    AcmdStringParam repeat("repeat", &command, AcmdValueType::RepeatList(), false, "", "", false);
    repeat.SetValueFromText("x");
    repeat.SetValueFromText("y z");
    EXPECT_EQ(Validate(repeat), AcmdEnum::Success);
    EXPECT_EQ(repeat.GetObjects(), (Texts{"x", "y z"}));
}

TEST(AcmdParamTest, ListConversionReportsEveryBadTextAndValuesSetInCodeWin)
{
    Holder command;
    ModeParam modes(&command, AcmdValueType::List());
    MessageRecorder recorder;
    modes.SetValueFromText("add nope remove bad");
    EXPECT_EQ(Validate(modes), AcmdEnum::Failure);
    EXPECT_EQ(recorder.WithId("ARG_INVALID").size(), 2u);
    EXPECT_EQ(modes.GetObjects(), (std::vector<Mode>{Mode::Add, Mode::Remove}));

    recorder.Clear();
    modes.SetObjects({Mode::Remove, Mode::New});
    EXPECT_EQ(modes.GetValueTexts(), (Texts{"remove", "new"}));
    EXPECT_EQ(Validate(modes), AcmdEnum::Success);
    modes.SetObject(Mode::Add);  // ignored on a list
    EXPECT_EQ(modes.GetObjects(), (std::vector<Mode>{Mode::Remove, Mode::New}));
    EXPECT_TRUE(recorder.Messages().empty());
}

TEST(AcmdParamTest, RejectDefaultAndValuesAfterTheRun)
{
    Holder command;
    AcmdStringParam list("list", &command, AcmdValueType::List(), false, "", "dflt", true);
    list.SetObjects({"dflt", "other"});
    EXPECT_FALSE(list.isSetAndValid());
    list.SetObjects({"other"});
    EXPECT_TRUE(list.isSetAndValid());

    // Without export bindings the values go after the run; texts stay.
    ModeParam mode(&command, AcmdValueType::Single());
    mode.SetValueFromText("add");
    AcmdEnum::Result result = AcmdEnum::Success;
    AcmdBase::initAndValidateAll({&list, &mode}, result);
    EXPECT_EQ(result, AcmdEnum::Success);
    AcmdBase::exitAll({&list, &mode});
    EXPECT_TRUE(mode.GetObjects().empty());
    EXPECT_EQ(mode.GetValueTexts(), Texts{"add"});
    EXPECT_EQ(list.GetObjects(), Texts{"other"});

    // Copying takes the first value or all of them, and nothing from an empty source.
    AcmdStringParam from("from", &command, AcmdValueType::List(), false, "", "", false);
    AcmdStringParam to("to", &command, AcmdValueType::Single(), false, "", "keep", false);
    to.SetValueFromText("old");
    EXPECT_EQ(to.CopyValue(from, true), AcmdEnum::Failure);
    EXPECT_EQ(to.GetValueTexts(), Texts{"old"});
    from.SetValueFromText("p q");
    EXPECT_EQ(to.CopyValue(from, true), AcmdEnum::Success);
    EXPECT_EQ(to.GetValueTexts(), Texts{"p"});
}

TEST(AcmdParamTest, ExportThroughBindingsAndTexts)
{
    Holder command;
    AcmdStringParam single("single", &command, AcmdValueType::Single(), false, "", "dflt", false);
    EXPECT_EQ(Export(single), Texts{"text single dflt"});
    AcmdStringParam list("list", &command, AcmdValueType::List(), false, "", "", false);
    list.SetObjects({"a", "b c"});
    EXPECT_EQ(Export(list), Texts{"list list <a><b c>"});
    AcmdStringParam repeat("repeat", &command, AcmdValueType::RepeatList(), false, "", "", false);
    repeat.SetObjects({"a", "b c"});
    EXPECT_EQ(Export(repeat), (Texts{"text repeat a", "text repeat b c"}));
    repeat.SetObjects({});
    EXPECT_TRUE(Export(repeat).empty());  // a repeated option without values is not given at all

    // Enumerations have no bindings: their texts go out, a list as one Tcl list.
    ModeParam modes(&command, AcmdValueType::List());
    modes.SetObjects({Mode::Add, Mode::Remove});
    EXPECT_EQ(Export(modes), Texts{"text mode add remove"});
    ModeParam unset(&command, AcmdValueType::Single());
    unset.SetFileKind(true);
    EXPECT_EQ(Export(unset), Texts{"file mode new"});

    AcmdFileNameParam files("files", &command, AcmdValueType::List(), false, "", "");
    EXPECT_TRUE(files.IsRepeat());
    files.SetValueFromText("a b.v");
    files.SetValueFromText("c.v");
    EXPECT_EQ(Validate(files), AcmdEnum::Success);
    EXPECT_EQ(Export(files), (Texts{"file files a b.v", "file files c.v"}));

    AcmdStringParam optional("optional", &command, AcmdValueType::Single(), false, "", "", false);
    optional.SetExportOnlyWhenSet(true);
    EXPECT_FALSE(optional.ExportParam());
    optional.SetObject("x");
    EXPECT_TRUE(optional.ExportParam());
    AcmdFileNameParam required("required", &command, AcmdValueType::Single(), true, "", "");
    required.SetExportOnlyWhenSet(true);
    EXPECT_TRUE(required.ExportParam());
}

TEST(AcmdParamTest, EnumerationKeywordsAndTheirMessage)
{
    Holder command;
    ModeParam mode(&command, AcmdValueType::Single());
    MessageRecorder recorder;
    Mode value = Mode::Add;
    EXPECT_FALSE(mode.GetObjectFromString("ADD", value, true, nullptr));
    EXPECT_EQ(value, Mode::Add);
    ASSERT_EQ(recorder.WithId("ARG_INVALID").size(), 1u);
    const MdbMessage message = recorder.WithId("ARG_INVALID").front();
    EXPECT_EQ(message.catalogue, "Acmd");
    EXPECT_EQ(message.severity, MdbERROR);
    EXPECT_EQ(message.text, "invalid value 'ADD' for -mode (modify mode): expected new, add or remove.");

    // A keyword that looks like a format is only ever an argument.
    recorder.Clear();
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

TEST(AcmdParamTest, BooleanKeywordsAndStyles)
{
    Holder command;
    AcmdBoolParam flag("flag", &command, AcmdValueType::Single(), false, false, "");
    flag.SetValueFromText("1");
    EXPECT_EQ(Validate(flag), AcmdEnum::Success);
    EXPECT_TRUE(flag.GetObject());
    EXPECT_EQ(flag.GetValueTexts(), Texts{"TRUE"});

    MessageRecorder recorder;
    bool value = false;
    EXPECT_FALSE(flag.GetObjectFromString("True", value, true, nullptr));
    ASSERT_EQ(recorder.Texts().size(), 1u);
    EXPECT_NE(recorder.Texts()[0].find("expected TRUE, 1, true, FALSE, 0 or false."), std::string::npos);

    const std::vector<std::pair<int, Texts>> styles{{0, {"true", "false"}}, {2, {"1", "0"}}};
    for (const auto& [style, printed] : styles) {
        flag.SetStyle(style);
        EXPECT_EQ(flag.GetStringFromObject(true), printed[0]) << style;
        EXPECT_EQ(flag.GetStringFromObject(false), printed[1]) << style;
        for (const char* keyword : {"TRUE", "1", "true", "FALSE", "0", "false"})
            EXPECT_TRUE(flag.GetObjectFromString(keyword, value, false, nullptr)) << keyword;
    }

    // A switch takes no value; copied from a text it keeps that text.
    AcmdFlagParam force("force", &command, AcmdValueType::Single(), false, false, "");
    AcmdStringParam empty("empty", &command, AcmdValueType::Single(), false, "", "", false);
    EXPECT_TRUE(Export(force).empty());
    EXPECT_EQ(force.CopyValue(empty, true), AcmdEnum::Success);
    EXPECT_TRUE(force.GetObject());
    EXPECT_EQ(Export(force), Texts{"flag force "});
}

TEST(AcmdParamTest, FilesMustExistWhenAskedAndFoldersAreMadeFull)
{
    TempFolder folder;
    folder.Write("here.v", "module m; endmodule\n");
    folder.Write("sub/keep", "");
    AcmdManager::GetInstance().SetCurrentFolder(folder.Path());
    Holder command;
    AcmdFileNameParam file("file", &command, AcmdValueType::Single(), false, "", "");
    EXPECT_TRUE(file.GetMayNotExist());
    file.SetMayNotExist(false);
    MessageRecorder recorder;
    file.SetValueFromText("here.v");
    EXPECT_EQ(Validate(file), AcmdEnum::Success);
    EXPECT_EQ(file.GetObject(), "here.v");  // kept as given
    file.Reset();
    file.SetValueFromText("missing.v");
    EXPECT_EQ(Validate(file), AcmdEnum::Failure);
    EXPECT_EQ(recorder.WithId("FILE_DOES_NOT_EXIST").size(), 1u);

    AcmdFolderNameParam out("out", &command, AcmdValueType::Single(), false, "", "");
    out.SetValueFromText("sub/../new");
    EXPECT_EQ(Validate(out), AcmdEnum::Success);
    EXPECT_EQ(out.GetObject(), folder.Path() + "/new");
    EXPECT_EQ(Export(out), Texts{"folder out " + folder.Path() + "/new"});
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

TEST(AcmdParamTest, ParametersAndCommandsMayGoInAnyOrder)
{
    Holder command;
    auto early = std::make_unique<AcmdStringParam>("early", &command, AcmdValueType::Single(), false, "", "", false);
    AcmdStringParam later("later", &command, AcmdValueType::Single(), false, "", "", false);
    early.reset();
    ASSERT_EQ(command.GetParams().size(), 1u);
    EXPECT_EQ(command.GetParams()[0], &later);

    auto owner = std::make_unique<Holder>();
    AcmdStringParam survivor("survivor", owner.get(), AcmdValueType::Single(), false, "", "", false);
    owner.reset();
    EXPECT_EQ(survivor.GetOwner(), nullptr);
    survivor.SetObject("still here");
    EXPECT_EQ(Export(survivor), Texts{"text survivor still here"});
}

TEST(AcmdParamTest, DeprecatedOptionWarnsOnlyWhenGiven)
{
    Holder command;
    AcmdStringParam old("old", &command, AcmdValueType::Single(), false, "", "", false);
    old.SetDepreciated(true, "new");
    MessageRecorder recorder;
    EXPECT_EQ(Validate(old), AcmdEnum::Success);
    EXPECT_TRUE(recorder.Messages().empty());
    old.SetValueFromText("x");
    EXPECT_EQ(Validate(old), AcmdEnum::Success);
    ASSERT_EQ(recorder.Messages().size(), 1u);
    EXPECT_EQ(recorder.Messages()[0].severity, MdbWARNING);
    EXPECT_EQ(recorder.Messages()[0].text, "option -old is deprecated; use -new instead.");
}
