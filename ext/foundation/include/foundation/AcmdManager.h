// The command manager: the registry of command prototypes, their Tcl
// commands, the in-process runner, the journal and the history of kept
// commands.
//
// Every registered prototype becomes a Tcl command in each attached
// interpreter. A call clones the prototype, parses its arguments and runs the
// clone as described in AcmdBase.h, on the caller's thread; it answers TCL_OK
// with the command's result message, or TCL_ERROR with the error messages the
// command emitted (kept back from the message sink meanwhile). No exception
// gets through to Tcl.
//
// Runs nest: a command may run other commands from its hooks. Only the
// commands a script typed go to the journal, as the Tcl text of the command:
// not those run inside them, nor those the program starts on its own (the
// file watcher's). One that failed after it began its work (it may have
// changed the project) goes there inside "catch", so that a replay makes the
// same change and carries on.
#pragma once

#include <foundation/AcmdBase.h>
#include <foundation/AcmdEnum.h>

#include <tcl.h>

#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Tcl keeps its strings in a form of UTF-8 of its own: a NUL character as two
// bytes, a character beyond the first 65536 as two halves of three bytes
// each. The commands take and give texts in the system encoding, as Tcl's own
// file commands do: a file whose name holds such a character is found, and
// one made is named as the user typed it. These are the two conversions.
std::string AcmdFromTclString(Tcl_Obj* object);
Tcl_Obj* AcmdToTclString(const std::string& text);

class AcmdManager {
public:
    static AcmdManager& GetInstance();
    AcmdManager(const AcmdManager&) = delete;
    AcmdManager& operator=(const AcmdManager&) = delete;

    // False, and nothing registered, for a null prototype or a name that is
    // already registered.
    bool RegisterCommand(std::unique_ptr<AcmdBase> prototype);
    const AcmdBase* FindPrototype(const std::string& name) const;
    // In registration order.
    std::vector<std::string> GetCommandNames() const;

    // Creates a Tcl command per prototype in `interp`, now and for every later
    // registration. An interpreter being deleted detaches itself.
    void AttachInterp(Tcl_Interp* interp);

    // Runs a command whose parameters were set in code, with the validation
    // and hooks of a Tcl call. With `keep` the manager takes the command
    // (whatever the result) into its history; otherwise the caller keeps it.
    AcmdEnum::Result Run(AcmdBase* command, bool keep);
    // The same for a command handed over: the manager keeps it in its history.
    AcmdEnum::Result RunAndKeep(std::unique_ptr<AcmdBase> command);
    const std::vector<std::unique_ptr<AcmdBase>>& GetHistory() const { return m_history; }

    // The folder relative paths are taken against: the process's folder (Tcl
    // "cd" moves it), unless tests set one. An empty text restores the default.
    std::string GetCurrentFolder() const;
    void SetCurrentFolder(const std::string& folder) { m_folder = folder; }

    // The Tcl text of each top-level command that succeeded, oldest first.
    const std::vector<std::string>& GetJournal() const { return m_journal; }
    // Also appends each journal entry to `path` (flushed); an empty path
    // stops that. False, with a message, when the file cannot be opened.
    bool SetJournalFile(const std::string& path);

    // The command name, then each exported parameter, as Tcl words.
    static std::string ExportCommand(const AcmdBase& command);

    // Forgets prototypes (and their Tcl commands), the journal, the journal
    // file, the history and the test folder. Interpreters stay attached.
    void Reset();

private:
    AcmdManager() = default;
    ~AcmdManager() = default;

    struct TclBinding;
    static int TclCommandProc(ClientData clientData, Tcl_Interp* interp, int objc, Tcl_Obj* const objv[]);
    static void TclCommandDeleted(ClientData clientData);
    static void InterpDeleted(ClientData clientData, Tcl_Interp* interp);

    void CreateTclCommand(Tcl_Interp* interp, const std::string& name);
    int InvokeFromTcl(Tcl_Interp* interp, const std::string& name, int objc, Tcl_Obj* const objv[]);
    AcmdEnum::Result ParseAndRun(AcmdBase& command, const std::vector<std::string>& args);
    // `mayRun`: CanExecuteNow was asked already and answered true.
    AcmdEnum::Result RunOne(AcmdBase& command, bool mayRun);
    AcmdEnum::Result Execute(AcmdBase& command, bool journal, bool mayRun);
    AcmdEnum::Result Validate(AcmdBase& command);
    void AppendJournal(const std::string& line);

    std::vector<std::unique_ptr<AcmdBase>> m_prototypes;
    std::map<std::string, const AcmdBase*> m_byName;
    struct TclCommandEntry {
        Tcl_Command token;
        const TclBinding* binding;
    };
    // Per attached interpreter, its Tcl commands by name.
    std::map<Tcl_Interp*, std::map<std::string, TclCommandEntry>> m_interps;
    std::vector<std::unique_ptr<AcmdBase>> m_history;
    std::vector<std::string> m_journal;
    std::string m_journalPath;
    std::ofstream m_journalFile;
    std::string m_folder;
    int m_depth = 0;  // runs in progress on the stack
    int m_typed = 0;  // calls from a script in progress on the stack
};
