// Base of every command. A command owns its parameters (as members); each
// parameter registers itself with the command when it is constructed, and the
// command keeps pointers to them in construction order.
//
// The command manager runs a command as: CanExecuteNow(true), ParseArgs (Tcl
// only), conversion and validation of the parameters, initCmdTempObjects,
// checkParams, ThreadExecutionProlog, execDo (only when the prolog left
// Success), ThreadExecutionEpilog, exitCmdTempObjects, release of the
// parameters. A failing step stops the steps after it; the epilog still runs
// after a prolog that ran. So a command that cannot run now says only why,
// whatever its arguments.
#pragma once

#include <foundation/AcmdEnum.h>
#include <foundation/AcmdMessages.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class AcmdParam;

class AcmdBase {
public:
    AcmdBase() = default;
    // Parameters that outlive the command forget it.
    virtual ~AcmdBase();
    AcmdBase(const AcmdBase&) = delete;
    AcmdBase& operator=(const AcmdBase&) = delete;

    // The Tcl name.
    virtual std::string GetName() const = 0;
    // A fresh command of the same class with default parameters.
    virtual std::unique_ptr<AcmdBase> Clone() const = 0;
    // The command's work.
    virtual AcmdEnum::Result execDo() = 0;

    // Checks across parameters, after each was converted and validated.
    virtual AcmdEnum::Result checkParams() { return AcmdEnum::Success; }
    // Whether the command may run now; with `report` it says why not. Asked
    // before the arguments are read: it may not depend on them.
    virtual bool CanExecuteNow(bool /*report*/) const { return true; }
    // The condition CanExecuteNow tests, as a text for the user.
    virtual std::string GetConditionStr() { return "None"; }
    // What the command is doing, for a progress display.
    virtual std::string GetStatus() const { return std::string(); }
    // Parses "-name value" words into the parameters (after resetting them):
    // a switch takes no value, a repeated list option may come many times,
    // any other option once; a value may start with "-" but may not be one of
    // the command's own options. On a syntax error the message is kept for
    // ReportParseError and the result is Failure; a parameter that refuses its
    // text reports at once.
    virtual AcmdEnum::Result ParseArgs(const std::vector<std::string>& args);
    // Set-up before checkParams and its counterpart after the epilog.
    virtual AcmdEnum::Result initCmdTempObjects() { return AcmdEnum::Success; }
    virtual void exitCmdTempObjects() {}
    virtual void ThreadExecutionProlog(AcmdEnum::Result& /*result*/) {}
    virtual void ThreadExecutionEpilog(AcmdEnum::Result& /*result*/) {}

    // The text a successful run answers (the Tcl result).
    const std::string& GetResultMsg() const { return m_resultMsg; }
    void SetResultMsg(const std::string& message) { m_resultMsg = message; }

    void AddParam(AcmdParam* param);
    void RemoveParam(AcmdParam* param);
    const std::vector<AcmdParam*>& GetParams() const { return m_params; }
    AcmdParam* FindParam(const std::string& name) const;

    // An opaque value that a derived base binds the command to.
    void* GetEnvironment() const { return m_environment; }
    void SetEnvironment(void* environment) { m_environment = environment; }

    // "name -a <value> [-b <value>] [-switch]": the options, optional ones in
    // brackets, suppressed ones left out.
    std::string GetUsage() const;
    // Outputs the syntax error kept by the last ParseArgs, if any.
    void ReportParseError();

    // Converts and validates each parameter in order; any failure sets
    // `result` to Failure (every parameter is still visited).
    static void initAndValidateAll(const std::vector<AcmdParam*>& params, AcmdEnum::Result& result);
    // 0 when every parameter is set and valid, else 1.
    static int isAllSetAndValid(const std::vector<AcmdParam*>& params);
    static void exitAll(const std::vector<AcmdParam*>& params);

private:
    struct ParseError {
        AcmdMsg message;
        std::string word;
    };
    AcmdEnum::Result KeepParseError(AcmdMsg message, const std::string& word);

    std::vector<AcmdParam*> m_params;
    std::string m_resultMsg;
    void* m_environment = nullptr;
    std::optional<ParseError> m_parseError;
};
