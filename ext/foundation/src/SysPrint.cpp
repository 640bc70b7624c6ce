// Debug print and assertion reports.
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

void Emit(const std::string& text)
{
    std::lock_guard<std::recursive_mutex> lock(PrintMutex());
    // A copy, so a hook that replaces the hook does not destroy itself.
    const std::function<void(const std::string&)> hook = PrintHook();
    if (hook) {
        hook(text);
    } else {
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fflush(stderr);
    }
}

void PrintV(const char* format, va_list args)
{
    Emit(FormatV(format, args));
}

}  // namespace

void SysPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    PrintV(format, args);
    va_end(args);
}

void SysDebugPrintf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    PrintV(format, args);
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

int SysAssertionCount()
{
    return g_assertionCount.load();
}
