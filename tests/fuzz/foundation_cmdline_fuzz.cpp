// Fuzzes the Tcl arguments of a command with every kind of parameter. The
// input is split at line breaks into the argument words. Besides never
// crashing, a call that succeeds must journal a text that, evaluated, runs
// again and journals the same text; and every list text must split, merge and
// split again to the same words.
#include "FuzzTcl.h"
#include "SilentSink.h"

#include <foundation/AcmdBase.h>
#include <foundation/AcmdManager.h>
#include <foundation/AcmdParam.h>
#include <foundation/Mdb.h>

#include <tcl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

enum class Level {
    Low,
    Mid,
    High
};

class FuzzCommand : public AcmdBase {
public:
    std::string GetName() const override { return "fuzz_cmd"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<FuzzCommand>(); }
    AcmdEnum::Result execDo() override { return AcmdEnum::Success; }

    AcmdStringParam name{"name", this, AcmdValueType::Single(), true, "name", "", false};
    AcmdStringParam text{"text", this, AcmdValueType::Single(), false, "", "dflt", true};
    AcmdFileNameParam file{"file", this, AcmdValueType::Single(), false, "file", ""};
    AcmdFileNameParam existing{"existing", this, AcmdValueType::List(), false, "", ""};
    AcmdFolderNameParam folder{"folder", this, AcmdValueType::Single(), false, "", ""};
    AcmdBoolParam enabled{"enabled", this, AcmdValueType::Single(), false, true, ""};
    AcmdFlagParam force{"force", this, AcmdValueType::Single(), false, false, ""};
    AcmdEnumParam<Level> level{"level", this, AcmdValueType::List(), false, Level::Mid, false, ""};
    AcmdStringParam words{"words", this, AcmdValueType::List(), false, "", "", false};
    AcmdStringParam item{"item", this, AcmdValueType::RepeatList(), false, "", "", false};

    FuzzCommand()
    {
        existing.SetMayNotExist(false);
        level.AddChoice(Level::Low, "low", "");
        level.AddChoice(Level::Mid, "mid", "");
        level.AddChoice(Level::High, "high", "");
        level.AddChoice(Level::High, "HIGH", "");
    }
};

Tcl_Interp* Interpreter()
{
    static SilentSink sink;
    static Tcl_Interp* interp = [] {
        MdbSetSink(&sink);
        Tcl_Interp* created = Tcl_CreateInterp();
        AcmdManager::GetInstance().AttachInterp(created);
        return created;
    }();
    return interp;
}

void CheckListRoundTrip(const std::string& text)
{
    std::vector<std::string> words;
    if (!AcmdSplitList(text, words)) return;
    std::vector<std::string> again;
    Require(AcmdSplitList(AcmdMergeList(words), again) && again == words, "list round trip", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Tcl_Interp* interp = Interpreter();
    AcmdManager& manager = AcmdManager::GetInstance();
    manager.Reset();  // a fresh journal for every input
    manager.RegisterCommand(std::make_unique<FuzzCommand>());

    const std::string input(reinterpret_cast<const char*>(data), size);
    CheckListRoundTrip(input);
    std::vector<std::string> words = SplitLines(input);
    words.insert(words.begin(), "fuzz_cmd");
    if (EvalWords(interp, words) != TCL_OK) return 0;

    // Tcl source text holds no NUL characters; such values are not replayable.
    const std::string first = manager.GetJournal().back();
    if (first.find('\0') != std::string::npos) return 0;
    const int replayed = EvalScript(interp, first);
    Require(replayed == TCL_OK, "journal text does not run", first + "\n" + Tcl_GetStringResult(interp));
    Require(manager.GetJournal().back() == first, "replay journals another text",
            first + "\n" + manager.GetJournal().back());
    return 0;
}
