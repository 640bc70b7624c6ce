// String helpers and whole-text number conversions.
#include "foundation/Sys.h"

#include "foundation/UtlAscii.h"

#include <charconv>
#include <climits>
#include <cstring>

namespace {

// Parses the whole text as a decimal number: surrounding blanks and one
// leading sign allowed, nothing else; out-of-range values are refused.
bool ParseLongLong(const std::string& text, long long& value)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && UtlIsBlank(text[begin])) ++begin;
    while (end > begin && UtlIsBlank(text[end - 1])) --end;
    // from_chars takes "-" itself but not "+"; after "+" a digit must follow.
    const bool plus = begin < end && text[begin] == '+';
    if (plus) ++begin;
    if (begin == end || (plus && text[begin] == '-')) return false;
    long long parsed = 0;
    const char* first = text.data() + begin;
    const char* last = text.data() + end;
    const auto [ptr, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || ptr != last) return false;
    value = parsed;
    return true;
}

bool ParseInt(const std::string& text, int& value)
{
    long long parsed = 0;
    if (!ParseLongLong(text, parsed) || parsed < INT_MIN || parsed > INT_MAX) return false;
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace

std::string UtlGetLeftString(const std::string& text, std::size_t count) { return text.substr(0, count); }

std::string UtlGetRightString(const std::string& text, std::size_t pos)
{
    return pos >= text.size() ? std::string() : text.substr(pos);
}

std::string_view UtlTrimLeft(std::string_view text, std::string_view chars)
{
    const std::size_t begin = text.find_first_not_of(chars);
    return begin == std::string_view::npos ? std::string_view() : text.substr(begin);
}

std::string_view UtlTrimRight(std::string_view text, std::string_view chars)
{
    const std::size_t last = text.find_last_not_of(chars);
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

std::string_view UtlTrim(std::string_view text, std::string_view chars)
{
    return UtlTrimRight(UtlTrimLeft(text, chars), chars);
}

std::string UtlTrimLeftString(const std::string& text, const char* chars)
{
    return std::string(UtlTrimLeft(text, chars ? chars : ""));
}

std::string UtlTrimRightString(const std::string& text, const char* chars)
{
    return std::string(UtlTrimRight(text, chars ? chars : ""));
}

int UtlReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    if (from.empty()) return 0;
    std::string result;
    int count = 0;
    std::size_t pos = 0;
    for (std::size_t hit = text.find(from); hit != std::string::npos; hit = text.find(from, pos)) {
        result.append(text, pos, hit - pos).append(to);
        pos = hit + from.size();
        ++count;
    }
    if (count == 0) return 0;
    result.append(text, pos, std::string::npos);
    text = std::move(result);
    return count;
}

bool UtlIsOneLine(std::string_view text)
{
    // One pass, most characters told by one comparison (names are short:
    // a search per character kind would cost more). A control character
    // other than a tab ends or breaks a line for the readers of such files.
    for (const char c : text)
        if (UtlIsLineControl(c)) return false;
    return true;
}

bool UtlIsInteger(const std::string& text)
{
    int ignored = 0;
    return ParseInt(text, ignored);
}

bool UtlIsLong(const std::string& text)
{
    long long ignored = 0;
    return ParseLongLong(text, ignored);
}

bool UtlConvertToInteger(const std::string& text, int& value) { return ParseInt(text, value); }

bool UtlConvertToLong(const std::string& text, long long& value) { return ParseLongLong(text, value); }
