// The plain walks the scanners are held to: one token at a time through
// the scanner's own readToken and skipComment, with nothing stepped over
// unread.
#pragma once

#include "icmd/scan/ZorpaParser.h"
#include "imodel/design/ImodelModule.h"
#include "src/icmd/scan/zorpaVerilogParser.h"

#include <cctype>
#include <string>
#include <string_view>

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
inline bool IsDelimiter(char c) { return IsBlank(c) || std::string_view(";,.:()[]").find(c) != std::string_view::npos; }

inline std::string LowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Blanks, line ends and comments, as long as either is found.
inline void SkipBlanksAndComments(ZorpaParser<ImodelModule*>& parser, const char*& pos, const char* end)
{
    do
        while (pos < end && IsBlank(*pos)) ++pos;
    while (parser.skipComment(pos, end));
}

// A parenthesised group read token by token: its end, or the end of the
// text when it is not closed.
inline const char* PlainGroupEnd(ZorpaParser<ImodelModule*>& parser, const char* pos, const char* end)
{
    std::size_t depth = 0;
    for (;;) {
        if (!parser.readToken(pos, end, true, true, false).empty()) continue;
        if (pos >= end) return end;
        const char c = *pos++;
        if (c == '(') ++depth;
        if (c == ')' && --depth == 0) return pos;
    }
}

// The end of the Verilog statement at `pos`, one token at a time.
inline const char* PlainVerilogEnd(zorpaVerilogParser<ImodelModule*>& parser, const char* pos, const char* end)
{
    for (bool first = true;; first = false) {
        SkipBlanksAndComments(parser, pos, end);
        if (pos >= end) return end;
        if (*pos == ';') return pos + 1;
        if (IsDelimiter(*pos)) {
            ++pos;
            continue;
        }
        const char* tokenStart = pos;
        const std::string_view token = parser.readToken(pos, end, true, true, false);
        if (token.empty()) {
            pos = tokenStart + 1;
        } else if (zorpaScan::IsOneOfExactly(token, zorpaVerilogEndWords)) {
            return pos;
        } else if (token == "begin") {
            return first ? pos : tokenStart;
        } else if (!first && (zorpaScan::IsOneOfExactly(token, zorpaVerilogModuleWords) || token == "`include")) {
            return tokenStart;
        }
    }
}
