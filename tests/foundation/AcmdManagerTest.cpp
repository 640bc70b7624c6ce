// The command manager from Tcl and in process: parsing, validation errors,
// hook order, export and replay, the journal, nested runs and interpreters.
#include "AcmdTestCommands.h"
#include "MessageRecorder.h"
#include "TempFolder.h"

#include <foundation/AcmdManager.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>
#include <tcl.h>

#include <map>
#include <string>
#include <vector>

using acmdtest::AllKindsCommand;
using acmdtest::HookBehaviour;
using acmdtest::Log;
using acmdtest::Mode;
using Texts = std::vector<std::string>;

namespace {

AcmdManager& Manager() { return AcmdManager::GetInstance(); }

// Texts that need every kind of Tcl quoting.
const Texts kAwkward{"two words", "{",       "}",           "a{b",   "\"q\"", "$x", "[exit 3]", "back\\slash\\",
                     "",          "Grüße ✓", "line\nbreak", "-dash", "#hash", ";",  "a}b{c"};

class AcmdManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Manager().Reset();
        Log::Get().Clear();
        HookBehaviour::Get() = HookBehaviour();
        Manager().RegisterCommand(std::make_unique<AllKindsCommand>());
        Manager().RegisterCommand(std::make_unique<acmdtest::OuterCommand>());
        m_interp = Tcl_CreateInterp();
        Manager().AttachInterp(m_interp);
        Manager().SetCurrentFolder(m_folder.Path());
    }

    void TearDown() override
    {
        Tcl_DeleteInterp(m_interp);
        Manager().Reset();
        HookBehaviour::Get() = HookBehaviour();
    }

    // Runs a script text in the system encoding, as "source" reads a file.
    int Eval(const std::string& script)
    {
        Tcl_Obj* text = AcmdToTclString(script);
        Tcl_IncrRefCount(text);
        const int code = Tcl_EvalObjEx(m_interp, text, TCL_EVAL_GLOBAL);
        Tcl_DecrRefCount(text);
        m_result = Tcl_GetStringResult(m_interp);
        return code;
    }

    // Calls a command with exactly these words, without any quoting of ours:
    // the texts, in the system encoding, as a script gives them.
    int EvalWords(const Texts& words)
    {
        std::vector<Tcl_Obj*> objects;
        for (const std::string& word : words) {
            objects.push_back(AcmdToTclString(word));
            Tcl_IncrRefCount(objects.back());
        }
        const int code = Tcl_EvalObjv(m_interp, static_cast<int>(objects.size()), objects.data(), TCL_EVAL_GLOBAL);
        for (Tcl_Obj* object : objects) Tcl_DecrRefCount(object);
        m_result = Tcl_GetStringResult(m_interp);
        return code;
    }

    std::map<std::string, Texts> LastSnapshot() const
    {
        return Log::Get().snapshots.empty() ? std::map<std::string, Texts>() : Log::Get().snapshots.back();
    }

    MessageRecorder m_recorder;
    TempFolder m_folder;
    Tcl_Interp* m_interp = nullptr;
    std::string m_result;
};

}  // namespace

// The conversions of given values: command_arguments.tcl.
TEST_F(AcmdManagerTest, DefaultsAndHookOrder)
{
    ASSERT_EQ(Eval("acmd_all -name top"), TCL_OK) << m_result;
    EXPECT_EQ(m_result, "ran top");
    EXPECT_EQ(Log::Get().hooks, (Texts{"acmd_all.CanExecuteNow", "acmd_all.init", "acmd_all.checkParams",
                                       "acmd_all.prolog", "acmd_all.execDo", "acmd_all.epilog:0", "acmd_all.exit"}));
    const std::map<std::string, Texts> defaults{{"name", {"top"}}, {"text", {"dflt"}},     {"file", {""}},
                                                {"folder", {""}},  {"enabled", {"FALSE"}}, {"force", {"FALSE"}},
                                                {"mode", {"new"}}, {"words", {}},          {"item", {}}};
    EXPECT_EQ(LastSnapshot(), defaults);
    EXPECT_TRUE(m_recorder.Messages().empty());
}

TEST_F(AcmdManagerTest, BadArgumentsNameCommandAndOptionAndRunNothing)
{
    // The scenario scripts show the common refusals; these are the odd ones.
    const std::vector<std::pair<std::string, std::string>> cases{
        {"acmd_all -name", "acmd_all: option '-name' needs a value."},
        {"acmd_all -name a -force 1", "acmd_all: unexpected argument '1': options are given as -name value."},
        // An option whose value was left out does not take the next option
        // for its value (ValuesStartingWithADash: other values may).
        {"acmd_all -name a -file -force", "acmd_all: option '-file' needs a value."},
        {"acmd_all -name -text t", "acmd_all: option '-name' needs a value."},
        {"acmd_all -name a -item -x -item -words", "acmd_all: option '-item' needs a value."},
        {"acmd_all -name %s%n -mode %s%n",
         "acmd_all: invalid value '%s%n' for -mode (modify mode): expected new, add or remove."},
    };
    for (const auto& [script, error] : cases) {
        Log::Get().Clear();
        EXPECT_EQ(Eval(script), TCL_ERROR) << script;
        EXPECT_EQ(m_result.substr(0, error.size()), error) << script;
        // Asked whether it may run, then nothing more.
        EXPECT_EQ(Log::Get().hooks, Texts{"acmd_all.CanExecuteNow"}) << script;
    }
    EXPECT_EQ(EvalWords({"acmd_all", "-name", "a", "-words", "x {y"}), TCL_ERROR);
    EXPECT_EQ(m_result, "acmd_all: the value of -words is not a well-formed Tcl list (unbalanced braces or "
                        "quotes): x {y");
    // Two bad values are both reported, in one error, and only in the Tcl result.
    EXPECT_EQ(Eval("acmd_all -name a -mode bad -enabled no"), TCL_ERROR);
    EXPECT_EQ(m_result,
              "acmd_all: invalid value 'no' for -enabled (enable): expected TRUE, 1, true, FALSE, 0 or false.\n"
              "acmd_all: invalid value 'bad' for -mode (modify mode): expected new, add or remove.");
    EXPECT_TRUE(m_recorder.Messages().empty());
    EXPECT_TRUE(Manager().GetJournal().empty());
}

TEST_F(AcmdManagerTest, ValuesStartingWithADash)
{
    // Only the command's own options are taken for a left-out value; the
    // options of other commands, "-" and "--" are values like any other.
    ASSERT_EQ(EvalWords({"acmd_all", "-name", "-top", "-text", "-", "-item", "--", "-item", "-inner", "-words",
                         "-verbose -x"}),
              TCL_OK)
        << m_result;
    EXPECT_EQ(LastSnapshot().at("name"), Texts{"-top"});
    EXPECT_EQ(LastSnapshot().at("text"), Texts{"-"});
    EXPECT_EQ(LastSnapshot().at("item"), (Texts{"--", "-inner"}));
    EXPECT_EQ(LastSnapshot().at("words"), (Texts{"-verbose", "-x"}));
}

TEST_F(AcmdManagerTest, TextsCrossToTclAndBackInTheSystemEncoding)
{
    // Characters beyond the first 65536 are two halves in Tcl's own form; the
    // command sees the text as typed, and its result comes back the same.
    const std::string typed = "Gr\u00fc\u00dfe \U0001F600 \U0001D538";
    ASSERT_EQ(EvalWords({"acmd_all", "-name", typed, "-words", AcmdMergeList({typed, "x"})}), TCL_OK) << m_result;
    EXPECT_EQ(LastSnapshot().at("name"), Texts{typed});
    EXPECT_EQ(LastSnapshot().at("words"), (Texts{typed, "x"}));
    EXPECT_EQ(AcmdFromTclString(Tcl_GetObjResult(m_interp)), "ran " + typed);

    // A NUL (a "\0" in Tcl) ends a text in the calls below: refused, alone
    // or as a word of a list, before anything runs.
    Log::Get().Clear();
    EXPECT_EQ(Eval("acmd_all -name a\\0b"), TCL_ERROR);
    EXPECT_EQ(m_result, "acmd_all: invalid value 'a\\0b' for -name: expected a text without a NUL character.");
    EXPECT_EQ(Eval("acmd_all -name a -words {x y\\0}"), TCL_ERROR);
    EXPECT_EQ(m_result, "acmd_all: invalid value 'y\\0' for -words: expected a text without a NUL character.");
    EXPECT_EQ(Eval("acmd_all -name a \\0"), TCL_ERROR);
    EXPECT_EQ(m_result.substr(0, 34), "acmd_all: unexpected argument '\\0'");
    EXPECT_EQ(Log::Get().hooks, Texts(3, "acmd_all.CanExecuteNow"));
}

TEST_F(AcmdManagerTest, FailingHooksStopTheStepsAfterThem)
{
    // Each failing hook, and the steps run up to it (a run that got to its
    // prolog always ends with the epilog).
    const std::vector<std::pair<bool HookBehaviour::*, std::string>> cases{
        {&HookBehaviour::failCheck, "CanExecuteNow init checkParams exit"},
        {&HookBehaviour::cannotExecute, "CanExecuteNow"},
        {&HookBehaviour::failProlog, "CanExecuteNow init checkParams prolog epilog:1 exit"},
        {&HookBehaviour::failExec, "CanExecuteNow init checkParams prolog execDo epilog:1 exit"},
        {&HookBehaviour::throwInExec, "CanExecuteNow init checkParams prolog execDo epilog:1 exit"},
    };
    for (const auto& [failing, hooks] : cases) {
        HookBehaviour::Get() = HookBehaviour();
        HookBehaviour::Get().*failing = true;
        Log::Get().Clear();
        EXPECT_EQ(Eval("acmd_all -name x"), TCL_ERROR);
        EXPECT_EQ(m_result, failing == &HookBehaviour::throwInExec ? "acmd_all: internal error: exec broke"
                                                                   : "acmd_all: command failed");
        std::string run;
        for (const std::string& hook : Log::Get().hooks) run += (run.empty() ? "" : " ") + hook.substr(9);
        EXPECT_EQ(run, hooks);
        EXPECT_TRUE(Log::Get().snapshots.empty());
    }
    // The runs that failed in their work may have changed something: the
    // journal keeps them, inside catch, so that a replay goes on after them.
    const std::string run =
        "catch {acmd_all -name x -text dflt -file {} -folder {} -enabled FALSE -mode new -words {}}";
    EXPECT_EQ(Manager().GetJournal(), (std::vector<std::string>{run, run}));

    // In process the exception is contained the same way.
    AllKindsCommand command;
    command.name.SetObject("x");
    EXPECT_EQ(Manager().Run(&command, false), AcmdEnum::Failure);
    ASSERT_EQ(m_recorder.WithId("INTERNAL_ERROR").size(), 1u);
    EXPECT_EQ(m_recorder.WithId("INTERNAL_ERROR")[0].text, "acmd_all: internal error: exec broke");
    // A run the program starts on its own (the file watcher's) is no
    // command of the script's: the journal does not hold it.
    HookBehaviour::Get() = HookBehaviour();
    AllKindsCommand quiet;
    quiet.name.SetObject("y");
    EXPECT_EQ(Manager().Run(&quiet, false), AcmdEnum::Success);
    EXPECT_EQ(Manager().GetJournal().size(), 2u);
}

TEST_F(AcmdManagerTest, ACommandThatCannotRunNowReadsNoneOfItsArguments)
{
    // Whatever the words, good or bad, the one answer is the command's own
    // condition: no parse error, no invalid or missing value, no check.
    HookBehaviour::Get().cannotExecute = true;
    const std::vector<Texts> calls{
        {"-name", "x"},
        {},
        {"-name"},
        {"-nosuch", "1"},
        {"-mode", "bad"},
        {"stray"},
        {"-name", std::string("a\0b", 3)},
        {"-words", "x {y"},
        {"-force", "1", "2"},
        {"-name", "a", "-name", "b"},
    };
    for (Texts words : calls) {
        words.insert(words.begin(), "acmd_all");
        Log::Get().Clear();
        EXPECT_EQ(EvalWords(words), TCL_ERROR) << AcmdMergeList(words);
        EXPECT_EQ(m_result, "acmd_all: command failed") << AcmdMergeList(words);
        EXPECT_EQ(Log::Get().hooks, Texts{"acmd_all.CanExecuteNow"}) << AcmdMergeList(words);
    }
    // In process too: the required name is missing, and nothing says so.
    Log::Get().Clear();
    AllKindsCommand command;
    EXPECT_EQ(Manager().Run(&command, false), AcmdEnum::Failure);
    EXPECT_EQ(Log::Get().hooks, Texts{"acmd_all.CanExecuteNow"});
    EXPECT_TRUE(m_recorder.Messages().empty());
    EXPECT_TRUE(Manager().GetJournal().empty());
}

TEST_F(AcmdManagerTest, ExportEvalRoundTripWithAwkwardValues)
{
    for (const std::string& value : kAwkward) {
        Texts words{"acmd_all", "-name", value,      "-text", value,    "-file",  value,
                    "-mode",    "add",   "-enabled", "0",     "-force", "-words", AcmdMergeList(kAwkward)};
        if (value.find('\\') == std::string::npos) {
            words.insert(words.end(), {"-folder", m_folder.Path() + "/" + value});
        }
        for (const std::string& item : kAwkward) words.insert(words.end(), {"-item", item});
        Log::Get().Clear();
        ASSERT_EQ(EvalWords(words), TCL_OK) << m_result;
        ASSERT_EQ(Log::Get().snapshots.size(), 1u);
        EXPECT_EQ(LastSnapshot().at("name"), Texts{value});
        EXPECT_EQ(LastSnapshot().at("words"), kAwkward);
        EXPECT_EQ(LastSnapshot().at("item"), kAwkward);

        // The journal holds the command as Tcl text; evaluating it runs an
        // equal command, the file named by its full name: the same file from
        // any folder.
        const std::string line = Manager().GetJournal().back();
        ASSERT_EQ(Eval(line), TCL_OK) << line << "\n" << m_result;
        ASSERT_EQ(Log::Get().snapshots.size(), 2u);
        auto expected = Log::Get().snapshots[0];
        expected.at("file") = Texts{value.empty() ? value : AcmdGetFullPath(value, m_folder.Path())};
        EXPECT_EQ(Log::Get().snapshots[1], expected) << line;
        EXPECT_EQ(Manager().GetJournal().back(), line);
    }
}

// Awkward values round trip through the journal in ExportEvalRoundTripWithAwkwardValues.
TEST_F(AcmdManagerTest, ASwitchThatIsOffIsNotExportedAndUnsetListsAreEmpty)
{
    AllKindsCommand plain;
    plain.name.SetObject("p");
    EXPECT_EQ(AcmdManager::ExportCommand(plain),
              "acmd_all -name p -text dflt -file {} -folder {} -enabled FALSE -mode new -words {}");
}

TEST_F(AcmdManagerTest, JournalFileCanBeSourced)
{
    const std::string journal = m_folder / "journal.tcl";
    ASSERT_TRUE(Manager().SetJournalFile(journal));
    ASSERT_EQ(EvalWords({"acmd_all", "-name", "one {two}", "-item", "$x"}), TCL_OK);
    ASSERT_EQ(Eval("acmd_outer -inner i"), TCL_OK);
    EXPECT_EQ(Eval("acmd_all -bogus"), TCL_ERROR);
    const auto before = Log::Get().snapshots;
    ASSERT_TRUE(Manager().SetJournalFile(""));
    ASSERT_EQ(Eval("source {" + journal + "}"), TCL_OK) << m_result;
    ASSERT_EQ(Log::Get().snapshots.size(), 2 * before.size());
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(Log::Get().snapshots[before.size() + i], before[i]);
    EXPECT_FALSE(Manager().SetJournalFile(m_folder / "no/such/folder/journal.tcl"));
    EXPECT_EQ(m_recorder.WithId("JOURNAL_NOT_OPENED").size(), 1u);
}
