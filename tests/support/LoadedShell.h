// One Tcl interpreter of the process with the library loaded as the shell
// loads it (the console host, the options, the commands), for the programs
// that drive the library through its Tcl commands (benchmarks).
#pragma once

#include <foundation/Sys.h>

#include <tcl.h>

#include <string>

extern "C" int Quorlane_Init(Tcl_Interp* interp);

inline Tcl_Interp* LoadedShell()
{
    static Tcl_Interp* interp = [] {
        Tcl_Interp* created = Tcl_CreateInterp();
        Quorlane_Init(created);
        return created;
    }();
    return interp;
}

// Runs a script in it; a failure is printed with the script's beginning.
inline bool LoadedShellEval(const std::string& script)
{
    if (Tcl_EvalEx(LoadedShell(), script.c_str(), -1, TCL_EVAL_GLOBAL) == TCL_OK) return true;
    SysPrintf("%s: %s\n", script.substr(0, 60).c_str(), Tcl_GetStringResult(LoadedShell()));
    return false;
}
