#include "foundation/Brennic.h"

#include <climits>

int BrennicAToI(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r' ||
                                text[at] == '\f' || text[at] == '\v'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    // Accumulated as a negative number, whose range holds INT_MIN.
    long long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 - (text[at] - '0');
        if (value < INT_MIN) {
            value = INT_MIN - 1LL;  // saturated; more digits change nothing
        }
    }
    if (negative) return value < INT_MIN ? INT_MIN : static_cast<int>(value);
    return value < -static_cast<long long>(INT_MAX) ? INT_MAX : static_cast<int>(-value);
}
