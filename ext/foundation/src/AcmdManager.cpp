#include <foundation/AcmdManager.h>
#include <foundation/AcmdMessages.h>
#include <foundation/AcmdParam.h>
#include <foundation/Mdb.h>
#include <foundation/Sys.h>

#include <exception>
#include <new>
#include <set>
#include <utility>

namespace {

// Writes a command's parameters as Tcl words.
class TclWordSink : public AcmdExportSink {
public:
    explicit TclWordSink(std::vector<std::string>& words) : m_words(words) {}

    void ExportText(const char* name, std::string value) override { Add(name, std::move(value)); }
    // A path is read from the folder the command ran in: written whole, it
    // names the same file wherever the words are evaluated (a journal).
    void ExportFolderPath(const char* name, std::string value) override { Add(name, Whole(std::move(value))); }
    void ExportFilePath(const char* name, std::string value) override { Add(name, Whole(std::move(value))); }
    void ExportFlag(const char* name) override { m_words.push_back(Option(name)); }
    void ExportBool(const char* name, bool value) override { Add(name, value ? "TRUE" : "FALSE"); }
    void ExportTextList(const char* name, const std::vector<std::string>& values) override
    {
        Add(name, AcmdMergeList(values));
    }

private:
    static std::string Option(const char* name) { return std::string("-") + name; }
    static std::string Whole(std::string path)
    {
        return path.empty() ? path : AcmdGetFullPath(path, AcmdManager::GetInstance().GetCurrentFolder());
    }
    void Add(const char* name, std::string value)
    {
        m_words.push_back(Option(name));
        m_words.push_back(std::move(value));
    }

    std::vector<std::string>& m_words;
};

// Runs one hook of a command; an exception becomes an internal error and a
// failure, so nothing escapes to Tcl or to an in-process caller.
template <typename Hook>
AcmdEnum::Result Guarded(Hook&& hook)
{
    try {
        return hook();
    } catch (const std::exception& error) {
        AcmdReport(AcmdMsg::InternalError, {error.what()});
    } catch (...) {
        AcmdReport(AcmdMsg::InternalError, {"unknown exception"});
    }
    return AcmdEnum::Failure;
}

std::string JoinedTexts(const std::vector<std::string>& texts)
{
    std::string joined;
    for (const std::string& text : texts) joined += (joined.empty() ? "" : " ") + text;
    return joined;
}

// The text of a failing Tcl call: its error messages, one per line.
std::string ErrorResult(const std::vector<MdbMessage>& errors, const std::string& command)
{
    std::string text;
    for (const MdbMessage& error : errors) text += (text.empty() ? "" : "\n") + error.text;
    return text.empty() ? command + ": command failed" : text;
}

class DepthGuard {
public:
    explicit DepthGuard(int& depth) : m_depth(depth) { ++m_depth; }
    ~DepthGuard() { --m_depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& m_depth;
};

}  // namespace

std::string AcmdFromTclString(Tcl_Obj* object)
{
    int length = 0;
    const char* bytes = Tcl_GetStringFromObj(object, &length);
    Tcl_DString native;
    Tcl_UtfToExternalDString(nullptr, bytes, length, &native);
    std::string text(Tcl_DStringValue(&native), static_cast<std::size_t>(Tcl_DStringLength(&native)));
    Tcl_DStringFree(&native);
    return text;
}

Tcl_Obj* AcmdToTclString(const std::string& text)
{
    Tcl_DString internal;
    Tcl_ExternalToUtfDString(nullptr, text.data(), static_cast<int>(text.size()), &internal);
    Tcl_Obj* object = Tcl_NewStringObj(Tcl_DStringValue(&internal), Tcl_DStringLength(&internal));
    Tcl_DStringFree(&internal);
    return object;
}

// What a Tcl command of ours carries: owned by Tcl, freed when the command
// goes.
struct AcmdManager::TclBinding {
    AcmdManager* manager;
    Tcl_Interp* interp;
    std::string name;
};

AcmdManager& AcmdManager::GetInstance()
{
    // Never destroyed: interpreters (and with them our Tcl commands) may be
    // deleted at exit after static objects are gone.
    alignas(AcmdManager) static unsigned char storage[sizeof(AcmdManager)];
    static AcmdManager* const instance = ::new (static_cast<void*>(storage)) AcmdManager();
    return *instance;
}

// --- registry -------------------------------------------------------------------------

bool AcmdManager::RegisterCommand(std::unique_ptr<AcmdBase> prototype)
{
    if (!prototype) return false;
    const std::string name = prototype->GetName();
    if (m_byName.count(name) != 0) {
        AcmdReport(AcmdMsg::DuplicateCommand, {name});
        return false;
    }
    m_byName[name] = prototype.get();
    m_prototypes.push_back(std::move(prototype));
    for (const auto& [interp, commands] : m_interps) CreateTclCommand(interp, name);
    return true;
}

const AcmdBase* AcmdManager::FindPrototype(const std::string& name) const
{
    const auto found = m_byName.find(name);
    return found == m_byName.end() ? nullptr : found->second;
}

std::vector<std::string> AcmdManager::GetCommandNames() const
{
    std::vector<std::string> names;
    for (const auto& prototype : m_prototypes) names.push_back(prototype->GetName());
    return names;
}

// --- Tcl ----------------------------------------------------------------------------------

void AcmdManager::AttachInterp(Tcl_Interp* interp)
{
    if (!interp) return;
    if (m_interps.count(interp) == 0) Tcl_CallWhenDeleted(interp, &AcmdManager::InterpDeleted, this);
    auto& commands = m_interps[interp];
    for (const auto& prototype : m_prototypes) {
        if (commands.count(prototype->GetName()) == 0) CreateTclCommand(interp, prototype->GetName());
    }
}

void AcmdManager::CreateTclCommand(Tcl_Interp* interp, const std::string& name)
{
    auto binding = std::make_unique<TclBinding>(TclBinding{this, interp, name});
    const TclBinding* raw = binding.get();
    // Replacing a command of that name deletes it first (TclCommandDeleted).
    const Tcl_Command token = Tcl_CreateObjCommand(interp, name.c_str(), &AcmdManager::TclCommandProc,
                                                   binding.release(), &AcmdManager::TclCommandDeleted);
    m_interps[interp][name] = TclCommandEntry{token, raw};
}

void AcmdManager::TclCommandDeleted(ClientData clientData)
{
    const std::unique_ptr<TclBinding> binding(static_cast<TclBinding*>(clientData));
    auto interp = binding->manager->m_interps.find(binding->interp);
    if (interp == binding->manager->m_interps.end()) return;
    auto command = interp->second.find(binding->name);
    if (command != interp->second.end() && command->second.binding == binding.get()) {
        interp->second.erase(command);
    }
}

void AcmdManager::InterpDeleted(ClientData clientData, Tcl_Interp* interp)
{
    static_cast<AcmdManager*>(clientData)->m_interps.erase(interp);
}

int AcmdManager::TclCommandProc(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[])
{
    const auto* binding = static_cast<const TclBinding*>(clientData);
    return binding->manager->InvokeFromTcl(interp, binding->name, objc, objv);
}

int AcmdManager::InvokeFromTcl(Tcl_Interp* interp, const std::string& name, int objc, Tcl_Obj* const objv[])
{
    MdbErrorCapture capture;
    AcmdEnum::Result result = AcmdEnum::Failure;
    std::string message;
    {
        const DepthGuard typed(m_typed);
        AcmdCommandScope scope(name);
        result = Guarded([&] {
            const AcmdBase* prototype = FindPrototype(name);
            std::unique_ptr<AcmdBase> command = prototype ? prototype->Clone() : nullptr;
            if (!command) {
                AcmdReport(AcmdMsg::InternalError, {"the command cannot be created"});
                return AcmdEnum::Failure;
            }
            std::vector<std::string> args;
            for (int i = 1; i < objc; ++i) args.push_back(AcmdFromTclString(objv[i]));
            const AcmdEnum::Result run = ParseAndRun(*command, args);
            message = command->GetResultMsg();
            return run;
        });
    }
    const bool succeeded = result == AcmdEnum::Success;
    if (succeeded) capture.Release();
    const std::string text = succeeded ? message : ErrorResult(capture.Take(), name);
    // The command's lines are out before whatever the script prints next.
    MdbFlush();
    Tcl_SetObjResult(interp, AcmdToTclString(text));
    return succeeded ? TCL_OK : TCL_ERROR;
}

AcmdEnum::Result AcmdManager::ParseAndRun(AcmdBase& command, const std::vector<std::string>& args)
{
    // A command that cannot run now says only that, whatever its words:
    // they are not even read.
    if (!command.CanExecuteNow(true)) return AcmdEnum::Failure;
    if (command.ParseArgs(args) != AcmdEnum::Success) {
        command.ReportParseError();
        return AcmdEnum::Failure;
    }
    return RunOne(command, true);
}

// --- running ------------------------------------------------------------------------------

AcmdEnum::Result AcmdManager::Run(AcmdBase* command, bool keep)
{
    if (keep) return RunAndKeep(std::unique_ptr<AcmdBase>(command));
    if (!command) return AcmdEnum::Failure;
    return RunOne(*command, false);
}

AcmdEnum::Result AcmdManager::RunOne(AcmdBase& command, bool mayRun)
{
    const bool typed = m_depth == 0 && m_typed > 0;
    DepthGuard depth(m_depth);
    return Guarded([&] { return Execute(command, typed, mayRun); });
}

AcmdEnum::Result AcmdManager::RunAndKeep(std::unique_ptr<AcmdBase> command)
{
    if (!command) return AcmdEnum::Failure;
    const AcmdEnum::Result result = Run(command.get(), false);
    m_history.push_back(std::move(command));
    return result;
}

AcmdEnum::Result AcmdManager::Execute(AcmdBase& command, bool journal, bool mayRun)
{
    AcmdCommandScope scope(command.GetName());
    bool began = false;
    // Whether the command may run at all is asked first: one that cannot
    // run now says only that, not what it makes of its parameters.
    AcmdEnum::Result result =
        mayRun ? AcmdEnum::Success
               : Guarded([&] { return command.CanExecuteNow(true) ? AcmdEnum::Success : AcmdEnum::Failure; });
    if (result == AcmdEnum::Success) result = Guarded([&] { return Validate(command); });
    const bool tempObjects = result == AcmdEnum::Success;
    if (tempObjects) result = Guarded([&] { return command.initCmdTempObjects(); });
    if (result == AcmdEnum::Success) result = Guarded([&] { return command.checkParams(); });
    if (result == AcmdEnum::Success) {
        result = Guarded([&] {
            AcmdEnum::Result prolog = AcmdEnum::Success;
            command.ThreadExecutionProlog(prolog);
            return prolog;
        });
        if (result == AcmdEnum::Success) {
            began = true;
            result = Guarded([&] { return command.execDo(); });
        }
        result = Guarded([&] {
            AcmdEnum::Result epilog = result;
            command.ThreadExecutionEpilog(epilog);
            return epilog;
        });
    }
    if (tempObjects) {
        Guarded([&] {
            command.exitCmdTempObjects();
            return AcmdEnum::Success;
        });
    }
    // Written before the parameters let go of their values: some decide
    // from them whether they are exported.
    if (journal && result == AcmdEnum::Success)
        AppendJournal(ExportCommand(command));
    else if (journal && began)
        AppendJournal(AcmdMergeList({"catch", ExportCommand(command)}));
    Guarded([&] {
        AcmdBase::exitAll(command.GetParams());
        return AcmdEnum::Success;
    });
    return result;
}

AcmdEnum::Result AcmdManager::Validate(AcmdBase& command)
{
    std::set<const AcmdParam*> failed;
    for (AcmdParam* param : command.GetParams()) {
        AcmdEnum::Result own = AcmdEnum::Success;
        param->initAndValidateObject(own);
        if (own != AcmdEnum::Success) failed.insert(param);
    }
    // A parameter that failed its conversion has said why already.
    for (const AcmdParam* param : command.GetParams()) {
        if (failed.count(param) != 0 || !param->IsRequired() || param->isSetAndValid()) continue;
        if (param->GetValueTexts().empty()) {
            AcmdReport(AcmdMsg::MissingRequired, {param->GetName(), param->GetDisplayName(true), command.GetUsage()});
        } else {
            const std::string expected = param->GetTypeDescription();
            AcmdReport(AcmdMsg::InvalidValue, {JoinedTexts(param->GetValueTexts()), param->GetName(),
                                               expected.empty() ? param->GetDisplayName(true) : expected});
        }
        failed.insert(param);
    }
    return failed.empty() ? AcmdEnum::Success : AcmdEnum::Failure;
}

// --- export and journal ------------------------------------------------------------------------

std::string AcmdManager::ExportCommand(const AcmdBase& command)
{
    std::vector<std::string> words{command.GetName()};
    TclWordSink sink(words);
    for (AcmdParam* param : command.GetParams()) {
        if (param->ExportParam()) param->ExportValue(sink);
    }
    return AcmdMergeList(words);
}

bool AcmdManager::SetJournalFile(const std::string& path)
{
    m_journalFile.close();
    m_journalFile.clear();
    m_journalPath = path;
    if (path.empty()) return true;
    m_journalFile.open(path, std::ios::out | std::ios::app | std::ios::binary);
    if (m_journalFile) return true;
    AcmdReport(AcmdMsg::JournalNotOpened, {path});
    m_journalPath.clear();
    return false;
}

void AcmdManager::AppendJournal(const std::string& line)
{
    m_journal.push_back(line);
    if (m_journalPath.empty()) return;
    m_journalFile << line << '\n';
    m_journalFile.flush();
    if (m_journalFile) return;
    AcmdReport(AcmdMsg::JournalNotWritten, {m_journalPath});
    SetJournalFile(std::string());
}

// --- folder and reset --------------------------------------------------------------------------

std::string AcmdManager::GetCurrentFolder() const { return m_folder.empty() ? CwdirGetCurrentDirectory() : m_folder; }

void AcmdManager::Reset()
{
    std::vector<std::pair<Tcl_Interp*, Tcl_Command>> commands;
    for (const auto& [interp, byName] : m_interps) {
        for (const auto& [name, entry] : byName) commands.emplace_back(interp, entry.token);
    }
    // Each deletion takes its own entry out of m_interps.
    for (const auto& [interp, token] : commands) Tcl_DeleteCommandFromToken(interp, token);
    m_byName.clear();
    m_prototypes.clear();
    m_history.clear();
    m_journal.clear();
    SetJournalFile(std::string());
    m_folder.clear();
}
