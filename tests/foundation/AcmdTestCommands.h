// Small commands for the command framework's tests.
//
// AllKindsCommand ("acmd_all") has one parameter of every kind; each run
// records the hooks it went through and a snapshot of its values in a shared
// log. HookBehaviour makes single hooks fail or throw.
#pragma once

#include <foundation/AcmdBase.h>
#include <foundation/AcmdManager.h>
#include <foundation/AcmdParam.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace acmdtest {

enum class Mode {
    New,
    Add,
    Remove
};

// What the test commands did, shared by all of them.
struct Log {
    std::vector<std::string> hooks;
    // Per run of acmd_all, each parameter's value texts after validation.
    std::vector<std::map<std::string, std::vector<std::string>>> snapshots;

    static Log& Get()
    {
        static Log log;
        return log;
    }
    void Clear()
    {
        hooks.clear();
        snapshots.clear();
    }
};

// How the next runs behave.
struct HookBehaviour {
    bool failCheck = false;
    bool cannotExecute = false;
    bool failProlog = false;
    bool throwInExec = false;
    bool failExec = false;

    static HookBehaviour& Get()
    {
        static HookBehaviour behaviour;
        return behaviour;
    }
};

// Records the hooks of a command in the log and applies HookBehaviour.
class LoggingCommand : public AcmdBase {
public:
    AcmdEnum::Result checkParams() override
    {
        Hook("checkParams");
        return HookBehaviour::Get().failCheck ? AcmdEnum::Failure : AcmdEnum::Success;
    }
    bool CanExecuteNow(bool) const override
    {
        Hook("CanExecuteNow");
        return !HookBehaviour::Get().cannotExecute;
    }
    AcmdEnum::Result initCmdTempObjects() override
    {
        Hook("init");
        return AcmdEnum::Success;
    }
    void exitCmdTempObjects() override { Hook("exit"); }
    void ThreadExecutionProlog(AcmdEnum::Result& result) override
    {
        Hook("prolog");
        if (HookBehaviour::Get().failProlog) result = AcmdEnum::Failure;
    }
    void ThreadExecutionEpilog(AcmdEnum::Result& result) override
    {
        Hook("epilog:" + std::to_string(static_cast<int>(result)));
    }
    AcmdEnum::Result execDo() override
    {
        Hook("execDo");
        if (HookBehaviour::Get().throwInExec) throw std::runtime_error("exec broke");
        if (HookBehaviour::Get().failExec) return AcmdEnum::Failure;
        return Work();
    }

protected:
    virtual AcmdEnum::Result Work() { return AcmdEnum::Success; }
    void Hook(const std::string& hook) const { Log::Get().hooks.push_back(GetName() + "." + hook); }
};

class ModeParam : public AcmdEnumParam<Mode> {
public:
    ModeParam(AcmdBase* owner, AcmdValueType type)
        : AcmdEnumParam<Mode>("mode", owner, type, false, Mode::New, false, "modify mode")
    {
        AddChoice(Mode::New, "new", "");
        AddChoice(Mode::Add, "add", "");
        AddChoice(Mode::Remove, "remove", "");
    }
};

class AllKindsCommand : public LoggingCommand {
public:
    std::string GetName() const override { return "acmd_all"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<AllKindsCommand>(); }

    AcmdStringParam name{"name", this, AcmdValueType::Single(), true, "design name", "", false};
    AcmdStringParam text{"text", this, AcmdValueType::Single(), false, "", "dflt", false};
    AcmdFileNameParam file{"file", this, AcmdValueType::Single(), false, "input file", ""};
    AcmdFolderNameParam folder{"folder", this, AcmdValueType::Single(), false, "output folder", ""};
    AcmdBoolParam enabled{"enabled", this, AcmdValueType::Single(), false, false, "enable"};
    AcmdFlagParam force{"force", this, AcmdValueType::Single(), false, false, "force"};
    ModeParam mode{this, AcmdValueType::Single()};
    AcmdStringParam words{"words", this, AcmdValueType::List(), false, "words", "", false};
    AcmdStringParam item{"item", this, AcmdValueType::RepeatList(), false, "items", "", false};

    // Each parameter's value as a Tcl user would read it back: the text of
    // the value for single values, the texts for lists.
    std::map<std::string, std::vector<std::string>> Snapshot() const
    {
        return {{"name", {name.GetValueText()}},       {"text", {text.GetValueText()}},
                {"file", {file.GetValueText()}},       {"folder", {folder.GetValueText()}},
                {"enabled", {enabled.GetValueText()}}, {"force", {force.GetValueText()}},
                {"mode", {mode.GetValueText()}},       {"words", words.GetValueTexts()},
                {"item", item.GetValueTexts()}};
    }

protected:
    AcmdEnum::Result Work() override
    {
        Log::Get().snapshots.push_back(Snapshot());
        SetResultMsg("ran " + name.GetObject());
        return AcmdEnum::Success;
    }
};

// Runs acmd_all in process from its execDo, set up in code (its mode from
// -inner_mode when given), and keeps a second run in the history.
class OuterCommand : public LoggingCommand {
public:
    std::string GetName() const override { return "acmd_outer"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<OuterCommand>(); }

    AcmdStringParam inner{"inner", this, AcmdValueType::Single(), true, "inner name", "", false};
    AcmdStringParam innerMode{"inner_mode", this, AcmdValueType::Single(), false, "", "", false};

protected:
    AcmdEnum::Result Work() override
    {
        AllKindsCommand nested;
        nested.name.SetObject(inner.GetObject());
        if (!innerMode.GetObject().empty()) nested.mode.SetValueTexts({innerMode.GetObject()});
        const AcmdEnum::Result first = AcmdManager::GetInstance().Run(&nested, false);
        auto kept = std::make_unique<AllKindsCommand>();
        kept->name.SetObject(inner.GetObject() + "-kept");
        const AcmdEnum::Result second = AcmdManager::GetInstance().Run(kept.release(), true);
        SetResultMsg("outer " + std::to_string(first) + std::to_string(second));
        return first == AcmdEnum::Success && second == AcmdEnum::Success ? AcmdEnum::Success : AcmdEnum::Failure;
    }
};

}  // namespace acmdtest
