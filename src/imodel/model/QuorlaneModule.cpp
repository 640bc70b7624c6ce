#include "imodel/model/QuorlaneModule.h"

#include <foundation/Arev.h>

#include <atomic>
#include <mutex>

#ifndef QUORLANE_BUILD_VIEW
#define QUORLANE_BUILD_VIEW "local"
#endif

namespace {

std::atomic<const void*> g_moduleHandle{nullptr};
std::atomic<int> g_loadCount{0};

void RegisterBuildIdentity()
{
    ArevSetBuildProgram("quorlane");
    ArevSetBuildView(QUORLANE_BUILD_VIEW);
    ArevSetBuildYear("2008");
    ArevSetMajorNumber(8);
    ArevSetMinorNumber(4);
    ArevSetPatchNumber(0);
    ArevSetCaptureNumber(0);
    ArevSetBuildNumber(0);
    ArevSetExternalReleaseName("8.4");
    ArevSetExternalReleaseNameAndNumber("8.4");
}

}  // namespace

extern "C" {

int QuorlaneInit(const void* moduleHandle)
{
    // Once per process: a library unloaded and loaded again keeps its identity.
    static std::once_flag registered;
    g_moduleHandle = moduleHandle;
    ++g_loadCount;
    std::call_once(registered, RegisterBuildIdentity);
    return 0;
}

void QuorlaneExit()
{
    // Unmatched unloads leave the count at 0 rather than making it negative.
    int count = g_loadCount.load();
    while (count > 0 && !g_loadCount.compare_exchange_weak(count, count - 1)) {}
}

const void* QuorlaneGetModuleHandle() { return g_moduleHandle; }

QuorlaneVersionInfo* QuorlaneGetVersionInfo(QuorlaneVersionInfo* record)
{
    if (!record) return record;
    record->program = "quorlane";
    record->empty = "";
    record->zero = "0";
    for (std::uint32_t& word : record->reserved) word = 0;
    return record;
}

int QuorlaneInitLibraries() { return 0; }

int QuorlaneGetLoadCount() { return g_loadCount; }
}
