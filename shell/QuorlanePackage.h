// The Tcl package entry of libquorlane.so: `load libquorlane.so` or
// `package require quorlane` in any Tcl 8.6 interpreter, and the quorlane
// shell at start-up.
#pragma once

#include <tcl.h>

extern "C" {
// Loads the library into an interpreter: counts the load, reads the options
// (once per process), and registers the commands in the interpreter.
int Quorlane_Init(Tcl_Interp* interp);
// Counts the unload (`unload libquorlane.so`).
int Quorlane_Unload(Tcl_Interp* interp, int flags);
}
