// Wildcard matching against a plain dynamic-programming matcher. The input
// is a pattern and a text separated by the first newline.
#include "foundation/Sys.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// matches[i][j]: the first i pattern characters match the first j text characters.
int Reference(const std::string& pattern, const std::string& text, bool ignoreCase)
{
    const std::size_t m = pattern.size();
    const std::size_t n = text.size();
    std::vector<std::vector<char>> matches(m + 1, std::vector<char>(n + 1, 0));
    matches[0][0] = 1;
    for (std::size_t i = 1; i <= m; ++i) {
        const char p = pattern[i - 1];
        matches[i][0] = p == '*' && matches[i - 1][0];
        for (std::size_t j = 1; j <= n; ++j) {
            const char t = text[j - 1];
            if (p == '*') {
                matches[i][j] = matches[i - 1][j] || matches[i][j - 1];
            } else {
                const bool same = p == '?' || (ignoreCase ? Lower(p) == Lower(t) : p == t);
                matches[i][j] = same && matches[i - 1][j - 1];
            }
        }
    }
    return matches[m][n];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 600) return 0;
    std::string input(reinterpret_cast<const char*>(data), size);
    input = input.substr(0, input.find('\0'));  // the matcher reads C strings
    const std::size_t split = input.find('\n');
    const std::string pattern = input.substr(0, split);
    const std::string text = split == std::string::npos ? std::string() : input.substr(split + 1);
    if (WcmMatch(pattern.c_str(), text.c_str()) != Reference(pattern, text, true)) std::abort();
    if (WcmMatchCase(pattern.c_str(), text.c_str()) != Reference(pattern, text, false)) std::abort();
    return 0;
}
