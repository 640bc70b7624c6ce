// The HDL-parser library's string functions, on the foundation's one case
// rule (foundation/UtlAscii.h) and its one set of string helpers.
#include "zorpa/ZorpaString.h"

#include <foundation/Sys.h>
#include <foundation/UtlAscii.h>

#include <algorithm>

namespace {

std::size_t ClampCount(const std::string& text, int count)
{
    if (count <= 0) return 0;
    return std::min(text.size(), static_cast<std::size_t>(count));
}

}  // namespace

void ZorpaMakeUpper(std::string& text) { UtlMakeUpper(text); }

void ZorpaMakeLower(std::string& text) { UtlMakeLower(text); }

std::string ZorpaGetLeftString(const std::string& text, int count)
{
    return UtlGetLeftString(text, ClampCount(text, count));
}

std::string ZorpaGetRightString(const std::string& text, int count)
{
    return UtlGetRightString(text, text.size() - ClampCount(text, count));
}

int ZorpaCompareNoCase(const std::string& a, const std::string& b) { return UtlCompareNoCase(a, b); }

void ZorpaSetValidSeparator(std::string& path, bool folder)
{
    UtlSetValidSeparator(path);
    if (!folder) return;
    const std::size_t last = path.find_last_not_of('/');
    if (last != std::string::npos) path.erase(last + 1);
}

void ZorpaRemoveWindowsEOL(std::string& text)
{
    std::string::size_type out = 0;
    for (std::string::size_type in = 0; in < text.size(); ++in) {
        const bool lineEnd = text[in] == '\r' && (in + 1 == text.size() || text[in + 1] == '\n');
        if (!lineEnd) text[out++] = text[in];
    }
    text.resize(out);
}
