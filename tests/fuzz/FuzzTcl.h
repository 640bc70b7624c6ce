// What the fuzz targets that run Tcl commands share: one command a line of
// input, and a failed invariant reported with its input before the abort.
#pragma once

#include <foundation/AcmdManager.h>

#include <tcl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

inline void Require(bool condition, const char* what, const std::string& detail)
{
    if (condition) return;
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

inline std::vector<std::string> SplitLines(const std::string& input)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = input.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(input.substr(start, end - start));
    lines.push_back(input.substr(start));
    return lines;
}

// Runs the words as one command, each word one argument as it stands: the
// texts, in the system encoding, as a script gives them.
inline int EvalWords(Tcl_Interp* interp, const std::vector<std::string>& words)
{
    std::vector<Tcl_Obj*> objects;
    for (const std::string& word : words) {
        objects.push_back(AcmdToTclString(word));
        Tcl_IncrRefCount(objects.back());
    }
    const int code = Tcl_EvalObjv(interp, static_cast<int>(objects.size()), objects.data(), TCL_EVAL_GLOBAL);
    for (Tcl_Obj* object : objects) Tcl_DecrRefCount(object);
    return code;
}

// Runs a script text in the system encoding, as "source" reads a journal.
inline int EvalScript(Tcl_Interp* interp, const std::string& script)
{
    Tcl_Obj* object = AcmdToTclString(script);
    Tcl_IncrRefCount(object);
    const int code = Tcl_EvalObjEx(interp, object, TCL_EVAL_GLOBAL);
    Tcl_DecrRefCount(object);
    return code;
}
