// quorlane: a Tcl 8.6 shell with the Quorlane library loaded.
//
//   quorlane [-journal file] script.tcl [args]   runs a script
//   quorlane [-journal file] -c 'commands' [args] runs a string
//   quorlane [-journal file]                      interactive prompt
//
// The exit status is non-zero when the script or string fails.
#include "QuorlanePackage.h"

#include <foundation/AcmdManager.h>

#include <tcl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

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
    return TCL_OK;
}

// Sets argv0, argv and argc as tclsh does.
void SetArguments(Tcl_Interp* interp, const char* argv0, int argc, char** argv)
{
    Tcl_Obj* list = Tcl_NewListObj(0, nullptr);
    for (int i = 0; i < argc; ++i) Tcl_ListObjAppendElement(nullptr, list, Tcl_NewStringObj(argv[i], -1));
    Tcl_SetVar2Ex(interp, "argv0", nullptr, Tcl_NewStringObj(argv0, -1), TCL_GLOBAL_ONLY);
    Tcl_SetVar2Ex(interp, "argv", nullptr, list, TCL_GLOBAL_ONLY);
    Tcl_SetVar2Ex(interp, "argc", nullptr, Tcl_NewIntObj(argc), TCL_GLOBAL_ONLY);
    Tcl_SetVar(interp, "tcl_interactive", "0", TCL_GLOBAL_ONLY);
}

int RunString(const char* program, const char* script, int argc, char** argv)
{
    Tcl_Interp* interp = Tcl_CreateInterp();
    SetArguments(interp, program, argc, argv);
    int status = AppInit(interp);
    if (status == TCL_OK) status = Tcl_EvalEx(interp, script, -1, TCL_EVAL_GLOBAL);
    if (status != TCL_OK) {
        const char* info = Tcl_GetVar(interp, "errorInfo", TCL_GLOBAL_ONLY);
        std::fprintf(stderr, "%s\n", info ? info : Tcl_GetStringResult(interp));
    }
    Tcl_DeleteInterp(interp);
    return status == TCL_OK ? 0 : 1;
}

int Usage(const char* program)
{
    std::fprintf(stderr, "usage: %s [-journal file] [script.tcl [args] | -c commands [args]]\n", program);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    Tcl_FindExecutable(argv[0]);
    std::vector<char*> args(argv, argv + argc);
    if (args.size() >= 2 && std::strcmp(args[1], "-journal") == 0) {
        if (args.size() < 3) return Usage(argv[0]);
        AcmdManager::GetInstance().SetJournalFile(args[2]);
        args.erase(args.begin() + 1, args.begin() + 3);
    }
    if (args.size() >= 2 && std::strcmp(args[1], "-c") == 0) {
        if (args.size() < 3) return Usage(argv[0]);
        const int rc = RunString(args[0], args[2], static_cast<int>(args.size() - 3), args.data() + 3);
        Tcl_Finalize();
        return rc;
    }
    Tcl_Main(static_cast<int>(args.size()), args.data(), AppInit);
    return 0;
}
