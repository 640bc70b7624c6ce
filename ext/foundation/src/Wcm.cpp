// Wildcard matching: "*" any run, "?" one character.
#include "foundation/Sys.h"

#include "foundation/UtlAscii.h"

namespace {

// Greedy matching with a single backtrack point: on a mismatch only the last
// "*" seen is widened by one character. Widening an earlier "*" is never
// needed: whatever it would absorb, the later "*" can absorb instead. At most
// pattern length x text length steps, no recursion.
template <typename Equal>
int Match(const char* pattern, const char* text, Equal equal)
{
    if (!pattern || !text) return 0;
    const char* star = nullptr;  // the last "*" seen
    const char* resume = text;   // where the text restarts after widening it
    while (*text) {
        if (*pattern == '*') {
            star = pattern++;
            resume = text;
        } else if (*pattern && (*pattern == '?' || equal(*pattern, *text))) {
            ++pattern;
            ++text;
        } else if (star) {
            pattern = star + 1;
            text = ++resume;
        } else {
            return 0;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern ? 0 : 1;
}

}  // namespace

int WcmMatch(const char* pattern, const char* text)
{
    return Match(pattern, text, [](char a, char b) { return UtlToLower(a) == UtlToLower(b); });
}

int WcmMatchCase(const char* pattern, const char* text)
{
    return Match(pattern, text, [](char a, char b) { return a == b; });
}
