// Path qualification: any text gives an absolute, normal path (no ".", ".."
// or empty component) that qualifies to itself.
#include "foundation/Sys.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));
    const std::string path = SysGetQualifiedPath(text);
    if (text.empty()) {
        if (!path.empty()) std::abort();
        return 0;
    }
    if (path.empty() || path.front() != '/' || path.find('\\') != std::string::npos) std::abort();
    if (path != "/" && path.back() == '/') std::abort();
    const std::string padded = path == "/" ? path : path + "/";
    for (const char* bad : {"//", "/./", "/../"}) {
        if (padded.find(bad) != std::string::npos) std::abort();
    }
    if (SysGetQualifiedPath(path) != path) std::abort();
    std::string other = text;
    if (!UtlIsSameFileName(UtlSetValidSeparator(other), text)) std::abort();
    return 0;
}
