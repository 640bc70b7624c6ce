// What the benchmarks that drive the library as a script does share: one
// Tcl interpreter with the library loaded as the shell loads it, silent (a
// benchmark measures the work, not the terminal), and a temporary folder of
// their own, removed at exit.
#pragma once

#include "SilentSink.h"

#include <foundation/Sys.h>

#include <tcl.h>

#include <random>
#include <string>

extern "C" int Quorlane_Init(Tcl_Interp* interp);

struct BenchFolder {
    // In the temporary folder, or in `base` (a disk-backed or a RAM file
    // system, for what depends on it).
    explicit BenchFolder(const std::string& name, const std::string& base = UtlGetTempDir())
        : path(base + (base.ends_with('/') ? "" : "/") + "quorlane_bench_" + name + "_" +
               std::to_string(std::random_device()()))
    {
    }
    ~BenchFolder() { SysRemoveFolderRecursively(path); }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    std::string path;
};

inline Tcl_Interp* BenchShell()
{
    static SilentSink silence;
    static Tcl_Interp* interp = [] {
        Tcl_Interp* created = Tcl_CreateInterp();
        Quorlane_Init(created);
        MdbSetSink(&silence);
        return created;
    }();
    return interp;
}

// Runs a script; a failure is printed (the script's start and the error).
inline bool BenchEval(const std::string& script)
{
    if (Tcl_EvalEx(BenchShell(), script.c_str(), -1, TCL_EVAL_GLOBAL) == TCL_OK) return true;
    SysPrintf("%s: %s\n", script.substr(0, 60).c_str(), Tcl_GetStringResult(BenchShell()));
    return false;
}
