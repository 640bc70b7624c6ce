// quorlane: a Tcl 8.6 shell with the Quorlane library loaded.
//
//   quorlane [options] script.tcl [args]   runs a script
//   quorlane [options] -c 'commands' [args] runs a string
//   quorlane [options]                      interactive prompt, or the
//                                           script piped in on stdin
//
// The exit status is non-zero when the script or string fails, and 2 for a
// command line the shell does not understand.
#include "QuorlanePackage.h"

#include "imodel/model/QuorlaneModule.h"

#include <foundation/AcmdManager.h>
#include <foundation/Arev.h>

#include <tcl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kUsageError = 2;

// Whether the shell reads its commands at a prompt.
bool g_prompt = false;

// The prompt waits for input in Tcl's event loop, as a windowing shell's
// does: the file watcher's checks and the `after` scripts of the session run
// while a user sits at it, not only once a command waits in vwait. Tcl's
// prompt reads stdin from the loop; the loop ends with stdin (Ctrl-D).
void PromptLoop()
{
    for (;;) {
        Tcl_DoOneEvent(TCL_ALL_EVENTS);
        Tcl_Channel in = Tcl_GetStdChannel(TCL_STDIN);
        if (in == nullptr || Tcl_Eof(in)) return;
    }
}

int AppInit(Tcl_Interp* interp)
{
    if (Tcl_Init(interp) != TCL_OK) {
        // Without Tcl's own library scripts the commands still work.
        std::fprintf(stderr, "Warning: %s\n", Tcl_GetStringResult(interp));
        Tcl_ResetResult(interp);
    }
    // Messages go straight to the terminal, line by line: script output must
    // keep its place among them even when stdout is a file or a pipe.
    if (Tcl_Channel out = Tcl_GetStdChannel(TCL_STDOUT)) {
        Tcl_SetChannelOption(nullptr, out, "-buffering", "line");
    }
    if (Quorlane_Init(interp) != TCL_OK) return TCL_ERROR;
    Tcl_SetVar(interp, "tcl_prompt1", "puts -nonewline {quorlane% }", TCL_GLOBAL_ONLY);
    if (g_prompt) Tcl_SetMainLoop(PromptLoop);
    return TCL_OK;
}

// A word of the command line as Tcl keeps strings, converted from the
// system encoding as tclsh converts its own.
Tcl_Obj* FromCommandLine(const char* word)
{
    Tcl_DString text;
    Tcl_ExternalToUtfDString(nullptr, word, -1, &text);
    Tcl_Obj* object = Tcl_NewStringObj(Tcl_DStringValue(&text), Tcl_DStringLength(&text));
    Tcl_DStringFree(&text);
    return object;
}

// Sets argv0, argv and argc as tclsh does.
void SetArguments(Tcl_Interp* interp, const char* argv0, int argc, char** argv)
{
    Tcl_Obj* list = Tcl_NewListObj(0, nullptr);
    for (int i = 0; i < argc; ++i) Tcl_ListObjAppendElement(nullptr, list, FromCommandLine(argv[i]));
    Tcl_SetVar2Ex(interp, "argv0", nullptr, FromCommandLine(argv0), TCL_GLOBAL_ONLY);
    Tcl_SetVar2Ex(interp, "argv", nullptr, list, TCL_GLOBAL_ONLY);
    Tcl_SetVar2Ex(interp, "argc", nullptr, Tcl_NewIntObj(argc), TCL_GLOBAL_ONLY);
    Tcl_SetVar(interp, "tcl_interactive", "0", TCL_GLOBAL_ONLY);
}

int RunScript(const char* program, Tcl_Obj* script, int argc, char** argv)
{
    Tcl_IncrRefCount(script);
    Tcl_Interp* interp = Tcl_CreateInterp();
    SetArguments(interp, program, argc, argv);
    int status = AppInit(interp);
    if (status == TCL_OK) status = Tcl_EvalObjEx(interp, script, TCL_EVAL_GLOBAL);
    Tcl_DecrRefCount(script);
    if (status != TCL_OK) {
        // Written through Tcl's channel, as tclsh writes a script's error:
        // in the system encoding, whatever characters the message holds.
        Tcl_Obj* info = Tcl_GetVar2Ex(interp, "errorInfo", nullptr, TCL_GLOBAL_ONLY);
        if (info == nullptr) info = Tcl_GetObjResult(interp);
        Tcl_IncrRefCount(info);
        if (Tcl_Channel error = Tcl_GetStdChannel(TCL_STDERR)) {
            Tcl_WriteObj(error, info);
            Tcl_WriteChars(error, "\n", 1);
            Tcl_Flush(error);
        }
        Tcl_DecrRefCount(info);
    }
    Tcl_DeleteInterp(interp);
    return status == TCL_OK ? 0 : 1;
}

void PrintUsage(std::FILE* stream)
{
    std::fputs("usage: quorlane [options] [script.tcl [args] | -c commands [args]]\n"
               "\n"
               "A Tcl shell with the Quorlane project manager loaded. It runs the script, or\n"
               "the commands given with -c, with the remaining words in argv; without either\n"
               "it runs the commands piped in on stdin, or reads them at a prompt. It exits\n"
               "non-zero when the script fails.\n"
               "\n"
               "options:\n"
               "  -c commands        run the commands, then exit\n"
               "  -journal file      also append each command the script runs to file, as Tcl\n"
               "  -help, --help      print this help and exit\n"
               "  -version, --version\n"
               "                     print the version and exit\n",
               stream);
}

int UsageError(const std::string& problem)
{
    std::fprintf(stderr, "quorlane: %s\n", problem.c_str());
    PrintUsage(stderr);
    return kUsageError;
}

int PrintVersion()
{
    // The build identity is the library's; registering it loads nothing else.
    QuorlaneInit(nullptr);
    int major = 0;
    int minor = 0;
    int patch = 0;
    Tcl_GetVersion(&major, &minor, &patch, nullptr);
    std::printf("%s %s (build %s), Tcl %d.%d.%d\n", ArevGetBuildProgram().c_str(),
                ArevGetReleaseVerinfoString().c_str(), ArevGetBuildView().c_str(), major, minor, patch);
    QuorlaneExit();
    return 0;
}

bool Is(const char* word, const char* option) { return std::strcmp(word, option) == 0; }

}  // namespace

int main(int argc, char** argv)
{
    Tcl_FindExecutable(argv[0]);
    std::vector<char*> args(argv, argv + argc);
    // Options come first; the first other word is the script, and every word
    // after the script (or after -c's commands) belongs to it.
    std::size_t next = 1;
    const char* commands = nullptr;
    const char* journal = nullptr;
    while (next < args.size() && args[next][0] == '-' && args[next][1] != '\0') {
        const char* option = args[next];
        if (Is(option, "-help") || Is(option, "--help")) {
            PrintUsage(stdout);
            return 0;
        }
        if (Is(option, "-version") || Is(option, "--version")) return PrintVersion();
        if (Is(option, "--")) {
            ++next;
            break;
        }
        const bool takesValue = Is(option, "-journal") || Is(option, "-c");
        if (!takesValue) return UsageError(std::string("unknown option '") + option + "'");
        if (next + 1 >= args.size()) return UsageError(std::string("option '") + option + "' needs a value");
        const char* value = args[next + 1];
        next += 2;
        if (Is(option, "-c")) {
            commands = value;
            break;
        }
        // One journal per run: a second one would leave the first without
        // the commands it was asked for.
        if (journal != nullptr) return UsageError("option '-journal' may be given only once");
        journal = value;
    }
    // A journal that cannot be opened is told; the commands still run.
    if (journal != nullptr) AcmdManager::GetInstance().SetJournalFile(journal);
    if (commands != nullptr) {
        const int rc =
            RunScript(args[0], FromCommandLine(commands), static_cast<int>(args.size() - next), args.data() + next);
        Tcl_Finalize();
        return rc;
    }
    if (next >= args.size() && !isatty(STDIN_FILENO)) {
        // Commands piped in are a script (a CI job's heredoc): run whole, its
        // failure the exit status, where a prompt would go on after an error.
        // It is read as a script file is, in the system encoding and to its
        // end: a NUL byte in it is one more character, not the end of the
        // commands. A closed stdin holds none.
        Tcl_Obj* script = Tcl_NewObj();
        Tcl_IncrRefCount(script);
        Tcl_Channel in = Tcl_GetStdChannel(TCL_STDIN);
        int rc = 1;
        if (in != nullptr && Tcl_ReadChars(in, script, -1, 0) < 0) {
            std::fprintf(stderr, "quorlane: cannot read the commands on stdin: %s\n", Tcl_ErrnoMsg(Tcl_GetErrno()));
        } else {
            rc = RunScript(args[0], script, 0, nullptr);
        }
        Tcl_DecrRefCount(script);
        Tcl_Finalize();
        return rc;
    }
    // Tcl_Main runs the script with its words as tclsh does; named here, the
    // script is taken whatever its name (tclsh would take "-x.tcl" for an
    // option).
    std::vector<char*> rest{args[0]};
    g_prompt = next >= args.size();
    if (next < args.size()) {
        Tcl_SetStartupScript(FromCommandLine(args[next]), nullptr);
        ++next;
    }
    rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(next), args.end());
    Tcl_Main(static_cast<int>(rest.size()), rest.data(), AppInit);
    return 0;
}
