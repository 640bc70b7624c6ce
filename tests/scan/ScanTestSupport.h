// Helpers of the scanner tests: a scanner over a prototype unit owned by the
// test, and the statements and tokens of a text as the framework's walk
// sees them.
#pragma once

#include "icmd/scan/ZorpaParser.h"
#include "imodel/design/ImodelModule.h"

#include <memory>
#include <string>
#include <vector>

// A scanner of type Parser with a prototype of its own and no file.
template <class Parser>
struct ScannerWith {
    std::unique_ptr<ImodelModule> prototype =
        std::make_unique<ImodelModule>("prototype", nullptr, zorpaMODULE_UNKNOWN, false, "work", "", false);
    Parser parser{prototype.get(), nullptr};
};

// The text with every run of blanks and line ends made one blank, trimmed.
inline std::string Collapsed(const std::string& text)
{
    std::string out;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (blank && (out.empty() || out.back() == ' ')) continue;
        out.push_back(blank ? ' ' : c);
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// The statements of the text, collapsed, as the framework's walk cuts them.
inline std::vector<std::string> Statements(ZorpaParser<ImodelModule*>& parser, const std::string& text)
{
    std::vector<std::string> statements;
    const char* pos = text.data();
    const char* end = pos + text.size();
    auto skip = [&] {
        do
            while (pos < end && (*pos == ' ' || *pos == '\t' || *pos == '\r' || *pos == '\n')) ++pos;
        while (parser.skipComment(pos, end));
    };
    for (;;) {
        skip();
        if (pos >= end) break;
        parser.preprocessorLine(pos, end);
        skip();
        if (pos >= end) break;
        const char* stop = parser.findStatementEnd(pos, end);
        if (stop <= pos) stop = pos + 1;
        statements.push_back(Collapsed(std::string(pos, stop)));
        pos = stop;
    }
    return statements;
}

// Every token of the text read with the flags, up to the first empty one.
inline std::vector<std::string> Tokens(ZorpaParser<ImodelModule*>& parser, const std::string& text, bool anyText,
                                       bool newlineIsBlank = true, bool backslashIsPlain = false)
{
    std::vector<std::string> tokens;
    const char* pos = text.data();
    const char* end = pos + text.size();
    for (std::string_view token;
         !(token = parser.readToken(pos, end, anyText, newlineIsBlank, backslashIsPlain)).empty();)
        tokens.emplace_back(token);
    return tokens;
}

// What a statement operation makes of a whole text taken as one statement.
template <class Operation>
auto OnStatement(const std::string& text, Operation operation)
{
    return operation(text.data(), text.data() + text.size());
}
