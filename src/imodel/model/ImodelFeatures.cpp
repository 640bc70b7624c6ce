// Feature switches, timing of long operations and small string utilities.
#include "imodel/model/ImodelFeatures.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"

#include <foundation/Arev.h>
#include <foundation/Def.h>
#include <foundation/Sys.h>
#include <zorpa/ZorpaString.h>

#include <algorithm>
#include <chrono>
#include <thread>

// --- feature switches -----------------------------------------------------------

bool ImodelIsSwitchOn(const char* name)
{
    int value = 0;
    return DefGetBoolFL(name, &value, __FILE__, __LINE__) == 0 && value == 1;
}

bool ImodelSwitchMemo::IsOn()
{
    // The count is read before the answer: a change in between leaves the
    // answer tagged with the older count, so it is read again next time.
    const std::uint64_t tag = DefChangeCount() + 1;
    const std::uint64_t kept = m_kept.load(std::memory_order_acquire);
    if (kept >> 1 == tag) return (kept & 1) != 0;
    const bool on = ImodelIsSwitchOn(m_name);
    m_kept.store(tag << 1 | static_cast<std::uint64_t>(on), std::memory_order_release);
    return on;
}

#define IMODEL_DEFINE_FEATURE_SWITCH(function, variable)                                                               \
    bool function()                                                                                                    \
    {                                                                                                                  \
        static ImodelSwitchMemo memo(variable);                                                                        \
        return memo.IsOn();                                                                                            \
    }
IMODEL_SIMPLE_FEATURE_SWITCHES(IMODEL_DEFINE_FEATURE_SWITCH)
#undef IMODEL_DEFINE_FEATURE_SWITCH

bool ImodelVHDLPackagesInPackageFolder() { return !ImodelIsMixedHDLEnabled(); }

bool ImodelIsMixedHDLVisible() { return ImodelIsSwitchOn("IDE_MIXED_HDL_VISIBLE") && ImodelIsMixedHDLEnabled(); }

bool ImodelShowVHDLCommands()
{
    if (ImodelIsMixedHDLVisible()) return true;
    const ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
    return design && design->IsDefaultVHDL();
}

bool ImodelIsConstraintEditorSupported()
{
    return ImodelIsConstraintEditorEnabled() && !ImodelIsSwitchOn("SORRIN_VIEW_NOSUPPORT");
}

bool ImodelIsConstraintEditorUsable() { return !ImodelIsSwitchOn("SORRIN_VIEW_HIDDEN"); }

bool ImodelOpenGraphicalConstraintsEditorByDefault()
{
    return ImodelIsSwitchOn("IDE_GRAPHICAL_CONSTRAINTS_IS_DEFAULT") && ImodelIsConstraintEditorUsable();
}

bool ImodelIsDisableTimerVisible()
{
    if (ImodelIsSwitchOn("IDE_DISABLE_TIMER_OPTION_VISIBLE")) return true;
    const ImodelGlobalFlowOptions* flow = Imodel::GetInstance().GetGlobalFlowOptions();
    return flow && !flow->IsTimerOptionDefault();
}

bool ImodelIsBlockModeSupported() { return ImodelIsBlockEnabled() && DefIsOptSupported("IDE_BLOCK_MODE"); }

bool ImodelIsPublishBlockCommandEnabled()
{
    if (!ImodelIsBlockModeSupported()) return false;
    const ImodelGlobalFlowOptions* flow = Imodel::GetInstance().GetGlobalFlowOptions();
    return flow && flow->NoIOMode;
}

// --- options and versions -----------------------------------------------------------

bool ImodelDefGetStr(const char* name, std::string& value) { return UtlDefGetStr(name, value); }

void ImodelGetIdeMinorMajor(int& minor, int& major)
{
    minor = 0;
    major = 0;
    if (DefGetIntFL("IDE_MAJOR", &major, __FILE__, __LINE__) != 0) major = ArevGetMajorVerinfoNumber();
    if (DefGetIntFL("IDE_MINOR", &minor, __FILE__, __LINE__) != 0) minor = ArevGetMinorVerinfoNumber();
}

std::string ImodelGetCoreToolString() { return ImodelIsVeyrunEnabled() ? "Veyrun" : "Kiltora"; }

std::string ImodelGetCoreString(bool withKind, ImodelFunctionType tool)
{
    if (!ImodelIsVeyrunEnabled()) return "Kiltora Core";
    if (!withKind) return "Component";
    return std::string(tool == ideARM ? "Dremmet" : "Veyrun") + " Component";
}

const char* ImodelGetPackageName(bool vhdl) { return vhdl ? "Package" : "Verilog Header"; }

// --- timing ---------------------------------------------------------------------

namespace {

long ClockMilliseconds()
{
    using namespace std::chrono;
    return static_cast<long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

const char* TextOrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

unsigned ImodelStartLongProcess(const char* label)
{
    if (!ImodelCountLongProcessTime()) return 0;
    SysPrintf("Info: %s\n", TextOrEmpty(label));
    return static_cast<unsigned>(ClockMilliseconds());
}

void ImodelEndLongProcess(unsigned start)
{
    if (!ImodelCountLongProcessTime()) return;
    // Unsigned arithmetic keeps the difference right across a wrap of the
    // 32-bit clock value.
    const unsigned took = static_cast<unsigned>(ClockMilliseconds()) - start;
    SysPrintf("Info: Done (took %dms).\n", static_cast<int>(took));
}

long& ImodelGetTimerCounter()
{
    static long start = 0;
    return start;
}

void ImodelStartTimerAction() { ImodelGetTimerCounter() = ClockMilliseconds(); }

void ImodelEndTimerAction(const char* label)
{
    const long took = ClockMilliseconds() - ImodelGetTimerCounter();
    if (took != 0 && Imodel::GetInstance().IsDebugTimer())
        SysPrintf("%s took %d", TextOrEmpty(label), static_cast<int>(took));
}

void ImodelSleep(long ms)
{
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// --- strings --------------------------------------------------------------------

std::string ImodelGetLeftString(const std::string& text, int count) { return ZorpaGetLeftString(text, count); }

std::string ImodelGetRightString(const std::string& text, int count) { return ZorpaGetRightString(text, count); }

void ImodelTrimLeftString(std::string& text, char c) { text = std::string(UtlTrimLeft(text, std::string_view(&c, 1))); }

void ImodelTrimRightString(std::string& text, char c)
{
    text = std::string(UtlTrimRight(text, std::string_view(&c, 1)));
}

int ImodelReplaceAll(std::string& text, const std::string& from, const std::string& to, unsigned start)
{
    if (start >= text.size()) return 0;
    std::string tail = text.substr(start);
    const int count = UtlReplaceAll(tail, from, to);
    if (count > 0) text.replace(start, std::string::npos, tail);
    return count;
}

void ImodelRemoveWindowsEOL(std::string& text) { ZorpaRemoveWindowsEOL(text); }

int ImodelCount(const std::string& text, char c) { return static_cast<int>(std::count(text.begin(), text.end(), c)); }
