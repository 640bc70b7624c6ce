// The library's module functions: load and unload entry points, the module
// handle passed with every message, and the version record.
#pragma once

#include <cstdint>

extern "C" {

// The version record: the program name, an empty text and "0", then five
// zero words.
struct QuorlaneVersionInfo {
    const char* program;
    const char* empty;
    const char* zero;
    std::uint32_t reserved[5];
};

// Stores the handle, counts the load and, at the first load of the process,
// registers the build identity with the foundation. Always returns 0.
int QuorlaneInit(const void* moduleHandle);
// Counts the unload; frees nothing.
void QuorlaneExit();
// The handle stored by the last QuorlaneInit (null before the first).
const void* QuorlaneGetModuleHandle();
QuorlaneVersionInfo* QuorlaneGetVersionInfo(QuorlaneVersionInfo* record);
int QuorlaneInitLibraries();
// How many loads are not yet matched by an unload.
int QuorlaneGetLoadCount();
}
