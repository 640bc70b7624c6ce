// The typed parameters: text intake, conversion and validation, export,
// enumerations, and the string, file, folder, boolean and flag parameters.
#include "AcmdTestCommands.h"
#include "MessageRecorder.h"
#include "TempFolder.h"

#include <foundation/AcmdManager.h>
#include <foundation/AcmdParam.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <set>
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

TEST(AcmdParamTest, SingleValueTextIntakeAndEmptyTexts)
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
    EXPECT_EQ(keeping.GetValueTexts(), Texts{""});
    EXPECT_EQ(Validate(keeping), AcmdEnum::Success);
    EXPECT_TRUE(keeping.isSetAndValid());

    // A later occurrence replaces a single value; Reset forgets texts and values.
    plain.SetValueFromText("one");
    plain.SetValueFromText("two");
    EXPECT_EQ(plain.GetValueTexts(), Texts{"two"});
    EXPECT_EQ(Validate(plain), AcmdEnum::Success);
    EXPECT_EQ(plain.GetObject(), "two");
    EXPECT_TRUE(plain.IsModified());
    plain.Reset();
    EXPECT_TRUE(plain.GetValueTexts().empty());
    EXPECT_EQ(plain.GetObject(), "dflt");

    EXPECT_EQ(command.GetParams().size(), 3u);
    EXPECT_EQ(command.FindParam("keeping"), &keeping);
}

TEST(AcmdParamTest, ListsSplitByTclRulesWithoutLimit)
{
    Holder command;
    AcmdStringParam list("list", &command, AcmdValueType::List(), false, "", "", false);
    list.SetValueFromText("a b c");
    EXPECT_EQ(list.GetValueTexts(), (Texts{"a", "b", "c"}));
    list.SetValueFromText("d");
    EXPECT_EQ(list.GetValueTexts(), Texts{"d"});
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
    EXPECT_NE(recorder.Texts().front().find("-list"), std::string::npos);
    EXPECT_NE(recorder.Texts().front().find("a {b c"), std::string::npos);

    AcmdStringParam repeat("repeat", &command, AcmdValueType::RepeatList(), false, "", "", false);
    repeat.SetValueFromText("x");
    repeat.SetValueFromText("y z");
    EXPECT_EQ(repeat.GetValueTexts(), (Texts{"x", "y z"}));
    EXPECT_EQ(Validate(repeat), AcmdEnum::Success);
    EXPECT_EQ(repeat.GetObjects(), (Texts{"x", "y z"}));
}

TEST(AcmdParamTest, ListConversionReportsEveryBadText)
{
    Holder command;
    ModeParam modes(&command, AcmdValueType::List());
    MessageRecorder recorder;
    modes.SetValueFromText("add nope remove bad");
    EXPECT_EQ(Validate(modes), AcmdEnum::Failure);
    EXPECT_EQ(recorder.WithId("ARG_INVALID").size(), 2u);
    EXPECT_EQ(modes.GetObjects(), (std::vector<Mode>{Mode::Add, Mode::Remove}));

    // Values set in code win over texts and are not converted again.
    recorder.Clear();
    modes.SetObjects({Mode::Remove, Mode::New});
    EXPECT_EQ(modes.GetValueTexts(), (Texts{"remove", "new"}));
    EXPECT_EQ(Validate(modes), AcmdEnum::Success);
    modes.SetObject(Mode::Add);  // ignored on a list
    EXPECT_EQ(modes.GetObjects(), (std::vector<Mode>{Mode::Remove, Mode::New}));
    EXPECT_EQ(modes.GetObject(), Mode::New);  // a list answers its default
    EXPECT_TRUE(recorder.Messages().empty());
}

TEST(AcmdParamTest, RejectDefaultAndExitObject)
{
    Holder command;
    AcmdStringParam list("list", &command, AcmdValueType::List(), false, "", "dflt", true);
    list.SetObjects({"dflt", "other"});
    EXPECT_FALSE(list.isSetAndValid());
    list.SetObjects({"other"});
    EXPECT_TRUE(list.isSetAndValid());
    EXPECT_EQ(AcmdBase::isAllSetAndValid({&list}), 0);

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
    EXPECT_EQ(AcmdBase::isAllSetAndValid({&list, &mode}), 1);
}

TEST(AcmdParamTest, CopyValueAndSetNewValue)
{
    Holder command;
    AcmdStringParam from("from", &command, AcmdValueType::List(), false, "", "", false);
    AcmdStringParam to("to", &command, AcmdValueType::Single(), false, "", "keep", false);
    to.SetValueFromText("old");
    EXPECT_EQ(to.CopyValue(from, true), AcmdEnum::Failure);
    EXPECT_EQ(to.GetValueTexts(), Texts{"old"});
    from.SetValueFromText("p q");
    EXPECT_EQ(to.CopyValue(from, true), AcmdEnum::Success);
    EXPECT_EQ(to.GetValueTexts(), Texts{"p"});
    EXPECT_EQ(to.CopyValue(from, false), AcmdEnum::Success);
    EXPECT_EQ(to.GetValueTexts(), (Texts{"p", "q"}));
    to.setNewValue("fresh");
    EXPECT_EQ(to.GetValueTexts(), Texts{"fresh"});
}

TEST(AcmdParamTest, DisplayNamesAndDescriptions)
{
    Holder command;
    AcmdStringParam bare("bare", &command, AcmdValueType::Single(), false, "", "", false);
    bare.SetUnit("ns");
    EXPECT_EQ(bare.GetDisplayName(true), "bare");
    AcmdStringParam labelled("delay", &command, AcmdValueType::Single(), false, "Delay", "", false);
    labelled.SetUnit("ns");
    EXPECT_EQ(labelled.GetDisplayName(true), "Delay (in ns)");
    EXPECT_EQ(labelled.GetDisplayName(false), "Delay");
    EXPECT_EQ(labelled.GetDumpValueStr(), "Delay (in ns)");
    EXPECT_EQ(labelled.GetTypeDescription(), "a string");

    labelled.SetToolTipDescription("short", "<b>long</b>");
    EXPECT_EQ(labelled.GetToolTip(), "short");
    EXPECT_EQ(labelled.GetToolTipDetails(), "<b>long</b>");

    // Proposed texts are for a dialog only.
    labelled.AddProposedText("-all");
    labelled.AddProposedText("1000ns");
    EXPECT_EQ(labelled.GetProposedTexts(), (Texts{"-all", "1000ns"}));
    EXPECT_TRUE(labelled.GetValueTexts().empty());
    EXPECT_EQ(Export(labelled), Texts{"text delay "});
}

TEST(AcmdParamTest, ExportThroughBindingsAndTexts)
{
    Holder command;
    AcmdStringParam single("single", &command, AcmdValueType::Single(), false, "", "dflt", false);
    EXPECT_EQ(Export(single), Texts{"text single dflt"});
    single.SetObject("v");
    EXPECT_EQ(Export(single), Texts{"text single v"});

    AcmdStringParam list("list", &command, AcmdValueType::List(), false, "", "", false);
    list.SetObjects({"a", "b c"});
    EXPECT_EQ(Export(list), Texts{"list list <a><b c>"});
    AcmdStringParam repeat("repeat", &command, AcmdValueType::RepeatList(), false, "", "", false);
    repeat.SetObjects({"a", "b c"});
    EXPECT_EQ(Export(repeat), (Texts{"text repeat a", "text repeat b c"}));
    // A repeated option without values is not given at all.
    repeat.SetObjects({});
    EXPECT_TRUE(Export(repeat).empty());

    // Enumerations have no bindings: their texts go out, a list as one Tcl list.
    ModeParam modes(&command, AcmdValueType::List());
    modes.SetObjects({Mode::Add, Mode::Remove});
    EXPECT_EQ(Export(modes), Texts{"text mode add remove"});
    ModeParam repeated(&command, AcmdValueType::RepeatList());
    repeated.SetObjects({Mode::Add, Mode::Remove});
    EXPECT_EQ(Export(repeated), (Texts{"text mode add", "text mode remove"}));
    ModeParam unset(&command, AcmdValueType::Single());
    EXPECT_EQ(Export(unset), Texts{"text mode new"});
    unset.SetFileKind(true);
    EXPECT_EQ(Export(unset), Texts{"file mode new"});

    AcmdFileNameParam file("file", &command, AcmdValueType::Single(), false, "", "");
    file.SetObject("x.v");
    EXPECT_EQ(Export(file), Texts{"file file x.v"});
    AcmdFileNameParam files("files", &command, AcmdValueType::List(), false, "", "");
    EXPECT_TRUE(files.IsRepeat());
    files.SetValueFromText("a b.v");
    files.SetValueFromText("c.v");
    EXPECT_EQ(Validate(files), AcmdEnum::Success);
    EXPECT_EQ(Export(files), (Texts{"file files a b.v", "file files c.v"}));

    AcmdBoolParam flagOn("on", &command, AcmdValueType::Single(), false, true, "");
    EXPECT_EQ(Export(flagOn), Texts{"bool on 1"});

    // Without an owner only texts go out.
    AcmdStringParam orphan("orphan", nullptr, AcmdValueType::Single(), false, "", "", false);
    orphan.SetObject("z");
    EXPECT_EQ(Export(orphan), Texts{"text orphan z"});
}

TEST(AcmdParamTest, ExportOnlyWhenSet)
{
    Holder command;
    AcmdStringParam text("text", &command, AcmdValueType::Single(), false, "", "", false);
    EXPECT_TRUE(text.ExportParam());
    text.SetExportOnlyWhenSet(true);
    EXPECT_FALSE(text.ExportParam());
    text.SetObject("x");
    EXPECT_TRUE(text.ExportParam());
    EXPECT_FALSE(text.SetExportParam(false));

    AcmdFolderNameParam folder("folder", &command, AcmdValueType::Single(), false, "", "");
    folder.SetExportOnlyWhenSet(true);
    EXPECT_FALSE(folder.ExportParam());
    folder.SetObject("/tmp");
    EXPECT_TRUE(folder.ExportParam());
    AcmdFileNameParam file("file", &command, AcmdValueType::Single(), true, "", "");
    file.SetExportOnlyWhenSet(true);
    EXPECT_TRUE(file.ExportParam());  // required
}

TEST(AcmdParamTest, EnumerationKeywordsAndMessages)
{
    Holder command;
    ModeParam mode(&command, AcmdValueType::Single());
    EXPECT_EQ(mode.GetTypeDescription(), "one of new | add | remove");
    MessageRecorder recorder;
    Mode value = Mode::Add;
    EXPECT_FALSE(mode.GetObjectFromString("ADD", value, true, nullptr));
    EXPECT_EQ(value, Mode::Add);
    ASSERT_EQ(recorder.WithId("ARG_INVALID").size(), 1u);
    const MdbMessage message = recorder.WithId("ARG_INVALID").front();
    EXPECT_EQ(message.catalogue, "Acmd");
    EXPECT_EQ(message.severity, MdbERROR);
    EXPECT_EQ(message.kind, MdbLINE);
    EXPECT_EQ(message.text, "invalid value 'ADD' for -mode (modify mode): expected new, add or remove.");
    EXPECT_TRUE(mode.GetObjectFromString("remove", value, true, nullptr));
    EXPECT_EQ(value, Mode::Remove);

    // A keyword that looks like a format is only ever an argument.
    recorder.Clear();
    EXPECT_FALSE(mode.GetObjectFromString("%s%d%n", value, true, nullptr));
    EXPECT_EQ(recorder.Texts().front().find("'%s%d%n'") != std::string::npos, true);

    mode.SetCaseSensitive(false);
    EXPECT_TRUE(mode.GetObjectFromString("ADD", value, true, nullptr));
    EXPECT_EQ(value, Mode::Add);

    AcmdEnumParam<int> one("one", &command, AcmdValueType::Single(), false, 0, false, "");
    int number = 5;
    EXPECT_TRUE(one.GetObjectFromString("", number, true, nullptr));  // no choices, empty text
    EXPECT_EQ(number, 5);
    recorder.Clear();
    EXPECT_FALSE(one.GetObjectFromString("x", number, true, nullptr));
    EXPECT_TRUE(recorder.Messages().empty());
    one.AddChoice(1, "only", "");
    one.GetObjectFromString("x", number, true, nullptr);
    one.AddChoice(2, "second", "");
    one.GetObjectFromString("x", number, true, nullptr);
    ASSERT_EQ(recorder.Texts().size(), 2u);
    EXPECT_NE(recorder.Texts()[0].find("expected only."), std::string::npos);
    EXPECT_NE(recorder.Texts()[1].find("expected only or second."), std::string::npos);
    EXPECT_EQ(one.GetStringFromObject(7), "");
    EXPECT_FALSE(one.HasChoiceFor(7));
    EXPECT_TRUE(one.HasChoiceFor(2));
}

TEST(AcmdParamTest, EnumerationDialogView)
{
    Holder command;
    AcmdEnumParam<std::string> delay("type", &command, AcmdValueType::Single(), false, "typ", true,
                                     "SDF Timing Delays");
    delay.AddChoice("min", "min", "Min");
    delay.AddChoice("typ", "typ", "Typ");
    delay.AddChoice("max", "max", "Max");
    delay.AddChoice("max", "maximum", "");
    Texts texts;
    delay.GetChoiceTexts(texts);
    EXPECT_EQ(texts, (Texts{"Min", "Typ", "Max"}));
    std::vector<std::string> values;
    delay.GetChoiceValues(values);
    EXPECT_EQ(values, (Texts{"min", "typ", "max"}));
    EXPECT_EQ(delay.GetSelectedIndex(), 1);  // the default

    delay.SetSelectedIndex(2);
    EXPECT_EQ(delay.GetObject(), "max");
    EXPECT_EQ(delay.GetSelectedText(), "Max");
    EXPECT_EQ(delay.GetSelectedIndex(), 2);
    delay.SetSelectedIndex(9);
    EXPECT_EQ(delay.GetObject(), "max");
    delay.SetSelectedIndex(-1);
    EXPECT_EQ(delay.GetObject(), "typ");
    EXPECT_TRUE(delay.GetValueTexts().empty());
    delay.SetSelectedText("Min");
    EXPECT_EQ(delay.GetObject(), "min");
    delay.SetSelectedText("nothing");
    EXPECT_EQ(delay.GetObject(), "min");

    // A synonym is stored and exported as the value's first keyword.
    delay.Reset();
    delay.SetValueFromText("maximum");
    EXPECT_EQ(Validate(delay), AcmdEnum::Success);
    EXPECT_EQ(delay.GetValueTexts(), Texts{"max"});
    std::string found;
    EXPECT_TRUE(delay.GetObjectFromDisplayText("Typ", found, false, nullptr));
    EXPECT_EQ(found, "typ");
    EXPECT_EQ(delay.GetDisplayTextFromObject("nothing"), "");

    const int assertions = SysAssertionCount();
    delay.SetStyle(4);
    EXPECT_EQ(SysAssertionCount(), assertions);
    delay.SetStyle(7);
    EXPECT_EQ(SysAssertionCount(), assertions + 1);
    EXPECT_EQ(delay.GetStyle(), 7);
}

TEST(AcmdParamTest, BooleanKeywordsAndStyles)
{
    Holder command;
    AcmdBoolParam flag("flag", &command, AcmdValueType::Single(), false, false, "");
    EXPECT_EQ(flag.GetStyle(), 0);
    EXPECT_EQ(flag.GetTypeDescription(), "a boolean");
    EXPECT_EQ(flag.GetDumpValueStr(), "TRUE | FALSE");
    Texts texts;
    flag.GetChoiceTexts(texts);
    EXPECT_EQ(texts, (Texts{"TRUE", "FALSE"}));

    flag.SetValueFromText("1");
    EXPECT_EQ(Validate(flag), AcmdEnum::Success);
    EXPECT_TRUE(flag.GetObject());
    EXPECT_EQ(flag.GetValueTexts(), Texts{"TRUE"});
    flag.Reset();
    flag.SetValueFromText("0");
    EXPECT_EQ(Validate(flag), AcmdEnum::Success);
    EXPECT_EQ(flag.GetValueText(), "FALSE");

    MessageRecorder recorder;
    bool value = false;
    EXPECT_FALSE(flag.GetObjectFromString("True", value, true, nullptr));
    ASSERT_EQ(recorder.Texts().size(), 1u);
    EXPECT_NE(recorder.Texts()[0].find("expected TRUE, 1, true, FALSE, 0 or false."), std::string::npos);

    const std::vector<std::pair<int, Texts>> styles{{0, {"true", "false"}}, {1, {"true", "false"}}, {2, {"1", "0"}}};
    for (const auto& [style, printed] : styles) {
        flag.SetStyle(style);
        EXPECT_EQ(flag.GetStringFromObject(true), printed[0]) << style;
        EXPECT_EQ(flag.GetStringFromObject(false), printed[1]) << style;
        for (const char* keyword : {"TRUE", "1", "true", "FALSE", "0", "false"}) {
            EXPECT_TRUE(flag.GetObjectFromString(keyword, value, false, nullptr)) << keyword;
        }
    }
    EXPECT_EQ(flag.GetChoices().size(), 8u);
    texts.clear();
    flag.GetChoiceTexts(texts);
    EXPECT_EQ(texts, (Texts{"0", "1"}));

    const int assertions = SysAssertionCount();
    flag.SetStyle(3);
    EXPECT_EQ(flag.GetChoices().size(), 8u);
    flag.SetStyle(7);
    EXPECT_EQ(SysAssertionCount(), assertions + 1);
    EXPECT_EQ(flag.GetStyle(), 7);
    EXPECT_EQ(flag.GetChoices().size(), 8u);
}

TEST(AcmdParamTest, FlagSwitch)
{
    Holder command;
    AcmdFlagParam force("force", &command, AcmdValueType::Single(), false, false, "");
    AcmdStringParam empty("empty", &command, AcmdValueType::Single(), false, "", "", false);
    EXPECT_EQ(force.GetDumpValueStr(), "");
    EXPECT_TRUE(Export(force).empty());
    EXPECT_EQ(force.CopyValue(empty, true), AcmdEnum::Success);
    EXPECT_TRUE(force.GetObject());
    EXPECT_EQ(Export(force), Texts{"flag force "});
    empty.SetValueFromText("FALSE");
    force.Reset();
    EXPECT_EQ(force.CopyValue(empty, true), AcmdEnum::Success);
    EXPECT_EQ(force.GetValueTexts(), Texts{"FALSE"});
}

TEST(AcmdParamTest, FileFiltersAndExistence)
{
    Holder command;
    AcmdFileNameParam file("file", &command, AcmdValueType::Single(), false, "", "");
    EXPECT_EQ(file.GetFilterString(), "All Files (*.*)|*.*||");
    file.AddFilter("Verilog", {"v", "vh"});
    EXPECT_EQ(file.GetFilterString(), "Verilog (*.v; *.vh)|*.v; *.vh|All Files (*.*)|*.*||");
    file.AddFilter("Nothing", {});
    file.SetAllFilesFilter(false);
    EXPECT_EQ(file.GetFilterString(), "Verilog (*.v; *.vh)|*.v; *.vh|Nothing ()|||");
    std::set<std::string> extensions{"stale"};
    file.GetFilterExtensions(extensions);
    EXPECT_EQ(extensions, (std::set<std::string>{"v", "vh"}));
    AcmdFileNameParam bare("bare", &command, AcmdValueType::Single(), false, "", "");
    bare.SetAllFilesFilter(false);
    EXPECT_EQ(bare.GetFilterString(), "All Files (*.*)|*.*||");

    TempFolder folder;
    folder.Write("here.v", "module m; endmodule\n");
    AcmdManager::GetInstance().SetCurrentFolder(folder.Path());
    EXPECT_EQ(file.GetTypeDescription(), "a file path");
    EXPECT_TRUE(file.GetMayNotExist());
    EXPECT_FALSE(file.SetMayNotExist(false));
    EXPECT_EQ(file.GetTypeDescription(), "the path of an existing file");

    MessageRecorder recorder;
    file.SetValueFromText("here.v");
    EXPECT_EQ(Validate(file), AcmdEnum::Success);
    EXPECT_EQ(file.GetObject(), "here.v");  // kept as given
    EXPECT_TRUE(file.isSetAndValid());
    file.Reset();
    file.SetValueFromText("missing.v");
    EXPECT_EQ(Validate(file), AcmdEnum::Failure);
    ASSERT_EQ(recorder.WithId("FILE_DOES_NOT_EXIST").size(), 1u);
    file.SetObject("missing.v");
    EXPECT_FALSE(file.isSetAndValid());
    AcmdManager::GetInstance().SetCurrentFolder("");
}

TEST(AcmdParamTest, FolderConversionAgainstManagerFolder)
{
    TempFolder folder;
    folder.Write("sub/keep", "");
    AcmdManager::GetInstance().SetCurrentFolder(folder.Path());
    Holder command;
    AcmdFolderNameParam out("out", &command, AcmdValueType::Single(), false, "", "");
    EXPECT_EQ(out.GetDumpValueStr(), "path");
    EXPECT_EQ(out.GetTypeDescription(), "a directory path");

    out.SetValueFromText("");
    EXPECT_EQ(Validate(out), AcmdEnum::Success);
    EXPECT_EQ(out.GetObject(), "");

    out.Reset();
    out.SetValueFromText("sub/../new");
    EXPECT_EQ(Validate(out), AcmdEnum::Success);
    EXPECT_EQ(out.GetObject(), folder.Path() + "/new");
    EXPECT_EQ(out.GetValueTexts(), Texts{folder.Path() + "/new"});
    EXPECT_EQ(Export(out), Texts{"folder out " + folder.Path() + "/new"});

    out.SetMayNotExist(false);
    EXPECT_EQ(out.GetTypeDescription(), "the path of an existing directory");
    MessageRecorder recorder;
    out.Reset();
    out.SetValueFromText("sub");
    EXPECT_EQ(Validate(out), AcmdEnum::Success);
    out.Reset();
    out.SetValueFromText("gone");
    EXPECT_EQ(Validate(out), AcmdEnum::Failure);
    const auto missing = recorder.WithId("FOLDER_DOES_NOT_EXIST");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].text, "the folder '" + folder.Path() + "/gone' given for -out does not exist.");

    // Export texts take one separator form.
    out.Reset();
    out.SetValueTexts({"C:\\work\\x"});
    EXPECT_EQ(out.GetExportTexts(), Texts{"C:/work/x"});
    AcmdManager::GetInstance().SetCurrentFolder("");
}

TEST(AcmdParamTest, VisitorReachesEachKind)
{
    struct Kinds : AcmdTypedParamVisitor {
        void VisitString(AcmdStringParam& p) override { seen.push_back("string " + p.GetName()); }
        void VisitFolderName(AcmdFolderNameParam& p) override { seen.push_back("folder " + p.GetName()); }
        void VisitFileName(AcmdFileNameParam& p) override { seen.push_back("file " + p.GetName()); }
        void VisitBool(AcmdBoolParam& p) override { seen.push_back("bool " + p.GetName()); }
        void VisitEnum(AcmdEnumParamBase& e, AcmdParam& p) override
        {
            seen.push_back("enum " + p.GetName() + " " + std::to_string(e.GetStyle()));
        }
        Texts seen;
    } visitor;
    acmdtest::AllKindsCommand command;
    for (AcmdParam* param : command.GetParams()) param->Accept(visitor);
    EXPECT_EQ(visitor.seen, (Texts{"string name", "string text", "file file", "folder folder", "bool enabled",
                                   "bool force", "enum mode 3", "string words", "string item"}));
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

TEST(AcmdParamTest, DeprecatedOptionWarns)
{
    Holder command;
    AcmdStringParam old("old", &command, AcmdValueType::Single(), false, "", "", false);
    old.SetDepreciated(true, "new");
    EXPECT_TRUE(old.IsSuppressed());
    MessageRecorder recorder;
    EXPECT_EQ(Validate(old), AcmdEnum::Success);  // not given: silent
    EXPECT_TRUE(recorder.Messages().empty());
    old.SetValueFromText("x");
    EXPECT_EQ(Validate(old), AcmdEnum::Success);
    ASSERT_EQ(recorder.Messages().size(), 1u);
    EXPECT_EQ(recorder.Messages()[0].severity, MdbWARNING);
    EXPECT_EQ(recorder.Messages()[0].text, "option -old is deprecated; use -new instead.");
}
