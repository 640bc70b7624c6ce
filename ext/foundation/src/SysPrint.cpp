// Debug print and assertion reports.
#include "foundation/Def.h"
#include "foundation/Sys.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace {

// One lock for the hook and the output, so lines from different threads
// never interleave. Recursive: a hook may itself print.
std::recursive_mutex& PrintMutex()
{
    static std::recursive_mutex mutex;
    return mutex;
}

std::function<void(const std::string&)>& PrintHook()
{
    static std::function<void(const std::string&)> hook;
    return hook;
}

std::atomic<int> g_assertionCount{0};

std::string FormatV(const char* format, va_list args)
{
    if (!format) return std::string();
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) return std::string();
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// Internal traces reach the terminal only when the user asks for them with
// DEBUG_MSG: a script's output must not be littered with them.
bool DebugOutputOn()
{
    int on = 0;
    return DefGetBoolFL("DEBUG_MSG", &on) == 0 && on == 1;
}

void Emit(const std::string& text, bool debugOnly)
{
    std::lock_guard<std::recursive_mutex> lock(PrintMutex());
    // A copy, so a hook that replaces the hook does not destroy itself.
    const std::function<void(const std::string&)> hook = PrintHook();
    if (hook) {
        hook(text);
    } else if (!debugOnly || DebugOutputOn()) {
        std::fflush(stdout);  // the lines held back for the output come first
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fflush(stderr);
    }
}

}  // namespace

void SysPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Emit(FormatV(format, args), false);
    va_end(args);
}

void SysDebugPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Emit(FormatV(format, args), true);
    va_end(args);
}

void SysSetPrintHook(std::function<void(const std::string&)> hook)
{
    std::lock_guard<std::recursive_mutex> lock(PrintMutex());
    PrintHook() = std::move(hook);
}

void BrnDoAssertion(const char* file, int line, const char* text)
{
    ++g_assertionCount;
    SysDebugPrintf("Assertion failed: %s (%s:%d)\n", text ? text : "?", file ? file : "?", line);
}

int SysAssertionCount() { return g_assertionCount.load(); }
