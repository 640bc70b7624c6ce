#include "zorpa/ZorpaString.h"

#include <algorithm>

namespace {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::size_t ClampCount(const std::string& text, int count)
{
    if (count <= 0) return 0;
    return std::min(text.size(), static_cast<std::size_t>(count));
}

}  // namespace

void ZorpaMakeUpper(std::string& text) { std::transform(text.begin(), text.end(), text.begin(), AsciiUpper); }

void ZorpaMakeLower(std::string& text) { std::transform(text.begin(), text.end(), text.begin(), AsciiLower); }

std::string ZorpaGetLeftString(const std::string& text, int count) { return text.substr(0, ClampCount(text, count)); }

std::string ZorpaGetRightString(const std::string& text, int count)
{
    return text.substr(text.size() - ClampCount(text, count));
}

int ZorpaCompareNoCase(const std::string& a, const std::string& b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char ca = static_cast<unsigned char>(AsciiLower(a[i]));
        const unsigned char cb = static_cast<unsigned char>(AsciiLower(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

void ZorpaSetValidSeparator(std::string& path, bool folder)
{
    std::replace(path.begin(), path.end(), '\\', '/');
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
