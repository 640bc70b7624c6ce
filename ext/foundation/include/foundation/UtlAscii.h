// Letter case of names and keywords: file names, HDL names, option and
// project-file keywords. ASCII only, whatever the locale: the shell's Tcl
// sets the C library's locale from the environment, and names must compare
// the same in every locale. Bytes outside ASCII never change case.
//
// Every case change and every comparison without regard to case in the
// system goes through these functions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

constexpr char UtlToUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char UtlToLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Blanks of the line formats: blank, tab and the two line-end characters.
constexpr bool UtlIsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Case change in place.
inline void UtlMakeUpper(std::string& text)
{
    for (char& c : text) c = UtlToUpper(c);
}
inline void UtlMakeLower(std::string& text)
{
    for (char& c : text) c = UtlToLower(c);
}

// Equal length and equal letters, case ignored.
constexpr bool UtlIsSameNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UtlToLower(a[i]) != UtlToLower(b[i])) return false;
    return true;
}

// Lower-cased byte order: 0 when equal without regard to case, negative when
// `a` sorts first, positive otherwise.
constexpr int UtlCompareNoCase(std::string_view a, std::string_view b)
{
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(UtlToLower(a[i]));
        const auto y = static_cast<unsigned char>(UtlToLower(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

// Strict weak order of UtlCompareNoCase, for sorted containers.
struct UtlLessNoCase {
    bool operator()(std::string_view a, std::string_view b) const { return UtlCompareNoCase(a, b) < 0; }
};
