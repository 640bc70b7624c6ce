// Reading one module and its ports from a Verilog or VHDL source file: a
// tokenizer that steps over comments, strings and directives, a small
// evaluator of bus bounds, and one reader per language. Every loop moves
// forward through the tokens; nesting is counted, never recursed into,
// except by the evaluator, whose depth is bounded.
#include "vy/VyLoaderFactory.h"

#include <foundation/Sys.h>
#include <foundation/UtlAscii.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <string_view>

namespace Vymodel {

namespace {

enum class Language {
    Verilog,
    Vhdl
};

struct Token {
    enum Kind {
        Word,
        Number,
        Punct
    } kind;
    std::string text;  // as written
    std::string key;   // what it compares by: VHDL words in lower case
};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The text as tokens. Comments, strings, character literals and Verilog
// directives go; an escaped identifier becomes a word.
std::vector<Token> Tokenize(std::string_view text, Language language)
{
    std::vector<Token> tokens;
    std::size_t pos = 0;
    const std::size_t size = text.size();
    const auto skipTo = [&](std::string_view end) {
        const std::size_t found = text.find(end, pos);
        pos = found == std::string_view::npos ? size : found + end.size();
    };
    while (pos < size) {
        const char c = text[pos];
        if (IsBlank(c)) {
            ++pos;
        } else if (text.substr(pos, 2) == (language == Language::Vhdl ? "--" : "//")) {
            skipTo("\n");
        } else if (text.substr(pos, 2) == "/*") {
            pos += 2;
            skipTo("*/");
        } else if (c == '"') {
            for (++pos; pos < size && text[pos] != '"' && text[pos] != '\n'; ++pos)
                if (text[pos] == '\\' && language == Language::Verilog) ++pos;
            ++pos;
        } else if (language == Language::Vhdl && c == '\'' && pos + 2 < size && text[pos + 2] == '\'') {
            pos += 3;  // a character literal
        } else if (c == '\\') {
            // Verilog: to the next blank; VHDL: to the closing backslash, a
            // doubled one standing for a backslash inside the name.
            const std::size_t start = ++pos;
            std::size_t stop = start;
            if (language == Language::Verilog) {
                while (pos < size && !IsBlank(text[pos])) ++pos;
                stop = pos;
            } else {
                while (pos < size && !(text[pos] == '\\' && (pos + 1 >= size || text[pos + 1] != '\\')))
                    pos += text[pos] == '\\' ? 2 : 1;
                stop = std::min(pos, size);
                pos = std::min(pos + 1, size);
            }
            // An escaped name holds at least one character: a lone backslash
            // names nothing, and stands as punctuation a declaration refuses.
            const std::string word(text.substr(start, stop - start));
            if (word.empty())
                tokens.push_back({Token::Punct, "\\", "\\"});
            else
                tokens.push_back({Token::Word, word, word});
        } else if (c == '`' && language == Language::Verilog) {
            for (++pos; pos < size && (IsLetter(text[pos]) || IsDigit(text[pos])); ++pos) {}
        } else if (IsLetter(c) || (c == '$' && language == Language::Verilog)) {
            const std::size_t start = pos++;
            while (pos < size && (IsLetter(text[pos]) || IsDigit(text[pos]) || text[pos] == '$')) ++pos;
            const std::string word(text.substr(start, pos - start));
            tokens.push_back({Token::Word, word, language == Language::Vhdl ? Lower(word) : word});
        } else if (IsDigit(c)) {
            const std::size_t start = pos++;
            while (pos < size && (IsDigit(text[pos]) || text[pos] == '_')) ++pos;
            std::string number(text.substr(start, pos - start));
            std::erase(number, '_');
            tokens.push_back({Token::Number, number, number});
        } else {
            tokens.push_back({Token::Punct, std::string(1, c), std::string(1, c)});
            ++pos;
        }
    }
    return tokens;
}

using Tokens = std::vector<Token>;
// A run of tokens [first, last).
struct Span {
    std::size_t first = 0;
    std::size_t last = 0;
    bool empty() const { return first >= last; }
};
using Values = std::map<std::string, long long>;

bool IsPunct(const Token& token, char c) { return token.kind == Token::Punct && token.text[0] == c; }
bool IsWord(const Token& token, std::string_view word) { return token.kind == Token::Word && token.key == word; }

// Evaluates + - * / and parentheses over numbers and named values. An
// expression that holds anything else, divides by zero, nests deeper than
// the limit or leaves the range of int has no value.
class Evaluator {
public:
    Evaluator(const Tokens& tokens, const Values& values) : m_tokens(tokens), m_values(values) {}

    std::optional<int> Evaluate(Span span)
    {
        m_pos = span.first;
        m_last = span.last;
        m_failed = span.empty();
        const long long value = Sum(0);
        if (m_failed || m_pos != m_last || value < INT_MIN || value > INT_MAX) return std::nullopt;
        return static_cast<int>(value);
    }

private:
    static constexpr int kMaxDepth = 32;
    static constexpr long long kLimit = 1LL << 40;

    bool At(char c) const { return m_pos < m_last && IsPunct(m_tokens[m_pos], c); }
    long long Checked(long long value)
    {
        if (value > kLimit || value < -kLimit) m_failed = true;
        return m_failed ? 0 : value;
    }

    long long Sum(int depth)
    {
        long long value = Product(depth);
        while (!m_failed && (At('+') || At('-'))) {
            const bool plus = At('+');
            ++m_pos;
            const long long right = Product(depth);
            value = Checked(plus ? value + right : value - right);
        }
        return value;
    }

    long long Product(int depth)
    {
        long long value = Unary(depth);
        while (!m_failed && (At('*') || At('/'))) {
            const bool times = At('*');
            ++m_pos;
            const long long right = Unary(depth);
            if (!times && right == 0) m_failed = true;
            value = m_failed ? 0 : Checked(times ? value * right : value / right);
        }
        return value;
    }

    long long Unary(int depth)
    {
        if (depth > kMaxDepth) m_failed = true;
        if (m_failed || m_pos >= m_last) {
            m_failed = true;
            return 0;
        }
        if (At('-') || At('+')) {
            const bool minus = At('-');
            ++m_pos;
            const long long value = Unary(depth + 1);
            return minus ? -value : value;
        }
        if (At('(')) {
            ++m_pos;
            const long long value = Sum(depth + 1);
            if (!At(')')) m_failed = true;
            ++m_pos;
            return value;
        }
        const Token& token = m_tokens[m_pos++];
        if (token.kind == Token::Number) {
            int value = 0;
            if (token.text.size() > 12 || !UtlConvertToInteger(token.text, value)) m_failed = true;
            return m_failed ? 0 : value;
        }
        const auto found = token.kind == Token::Word ? m_values.find(token.key) : m_values.end();
        if (found == m_values.end()) {
            m_failed = true;
            return 0;
        }
        return found->second;
    }

    const Tokens& m_tokens;
    const Values& m_values;
    std::size_t m_pos = 0;
    std::size_t m_last = 0;
    bool m_failed = false;
};

// The index just past the bracket that closes the one at `open`, counting
// nesting of that bracket kind; the end when it is not closed.
std::size_t PastClosing(const Tokens& tokens, std::size_t open, std::size_t end, char opening, char closing)
{
    int depth = 0;
    for (std::size_t i = open; i < end; ++i) {
        if (IsPunct(tokens[i], opening)) ++depth;
        if (IsPunct(tokens[i], closing) && --depth == 0) return i + 1;
    }
    return end;
}

// Splits a span at the separator where no bracket is open.
std::vector<Span> SplitAtTopLevel(const Tokens& tokens, Span span, char separator)
{
    std::vector<Span> parts;
    int depth = 0;
    std::size_t start = span.first;
    for (std::size_t i = span.first; i < span.last; ++i) {
        const Token& token = tokens[i];
        if (IsPunct(token, '(') || IsPunct(token, '[') || IsPunct(token, '{')) ++depth;
        if (IsPunct(token, ')') || IsPunct(token, ']') || IsPunct(token, '}')) --depth;
        if (depth == 0 && IsPunct(token, separator)) {
            parts.push_back({start, i});
            start = i + 1;
        }
    }
    parts.push_back({start, span.last});
    return parts;
}

// A port as read: its bounds still as expressions, evaluated once every
// parameter of the module is known.
struct PortDraft {
    std::string name;
    VyDirection::Value direction = VyDirection::In;
    bool hasDirection = false;
    std::optional<std::pair<Span, Span>> bounds;
};

boost::shared_ptr<VyModule> Finish(const std::string& name, const std::vector<PortDraft>& drafts, const Tokens& tokens,
                                   const Values& values)
{
    VyModule::Ports ports;
    Evaluator evaluator(tokens, values);
    for (const PortDraft& draft : drafts) {
        if (!draft.hasDirection) return {};
        const VyDirection direction(draft.direction);
        if (!draft.bounds) {
            ports.push_back(boost::make_shared<VyScalarPort>(draft.name, direction));
            continue;
        }
        const std::optional<int> left = evaluator.Evaluate(draft.bounds->first);
        const std::optional<int> right = evaluator.Evaluate(draft.bounds->second);
        if (!left || !right) return {};
        ports.push_back(boost::make_shared<VyBusPort>(draft.name, direction, *left, *right));
    }
    return boost::make_shared<VyModule>(name, std::move(ports));
}

// --- Verilog ----------------------------------------------------------------------------

std::optional<VyDirection::Value> VerilogDirection(const Token& token)
{
    if (IsWord(token, "input")) return VyDirection::In;
    if (IsWord(token, "output")) return VyDirection::Out;
    if (IsWord(token, "inout")) return VyDirection::InOut;
    return std::nullopt;
}

// A declaration "[direction] [kinds] [[left:right]] name [= value]"; the
// range is the first bracketed part before the name.
struct VerilogDeclaration {
    std::optional<VyDirection::Value> direction;
    std::optional<std::pair<Span, Span>> range;
    std::string name;
    Span value;
};

VerilogDeclaration ReadVerilogDeclaration(const Tokens& tokens, Span span)
{
    VerilogDeclaration declaration;
    std::size_t i = span.first;
    // Attributes (* ... *) say nothing here.
    while (i + 1 < span.last && IsPunct(tokens[i], '(') && IsPunct(tokens[i + 1], '*'))
        i = PastClosing(tokens, i, span.last, '(', ')');
    for (; i < span.last; ++i) {
        const Token& token = tokens[i];
        if (const auto direction = VerilogDirection(token)) {
            declaration.direction = direction;
        } else if (IsPunct(token, '[')) {
            const std::size_t past = PastClosing(tokens, i, span.last, '[', ']');
            if (!declaration.range && past > i + 1) {
                const std::vector<Span> parts = SplitAtTopLevel(tokens, {i + 1, past - 1}, ':');
                if (parts.size() == 2) declaration.range = std::make_pair(parts[0], parts[1]);
            }
            i = past - 1;
        } else if (IsPunct(token, '=')) {
            declaration.value = {i + 1, span.last};
            break;
        } else if (token.kind == Token::Word) {
            declaration.name = token.text;  // the last word before "=" or the end
        }
    }
    return declaration;
}

// "parameter [kinds] [range] A = 1, B = A + 1" (the keyword may be missing
// inside #( )): each name with an evaluable value is known from then on.
void ReadVerilogParameters(const Tokens& tokens, Span span, Values& values)
{
    for (const Span& part : SplitAtTopLevel(tokens, span, ',')) {
        const VerilogDeclaration declaration = ReadVerilogDeclaration(tokens, part);
        if (declaration.name.empty() || declaration.value.empty()) continue;
        // Verilog names compare with letter case: the key is the name.
        if (const auto value = Evaluator(tokens, values).Evaluate(declaration.value)) values[declaration.name] = *value;
    }
}

boost::shared_ptr<VyModule> ReadVerilog(const Tokens& tokens, const std::string& wanted)
{
    const std::size_t end = tokens.size();
    for (std::size_t i = 0; i + 1 < end; ++i) {
        if (!IsWord(tokens[i], "module") && !IsWord(tokens[i], "macromodule")) continue;
        if (tokens[i + 1].kind != Token::Word || (!wanted.empty() && tokens[i + 1].text != wanted)) continue;
        const std::string name = tokens[i + 1].text;
        std::size_t pos = i + 2;
        Values values;
        if (pos + 1 < end && IsPunct(tokens[pos], '#') && IsPunct(tokens[pos + 1], '(')) {
            const std::size_t past = PastClosing(tokens, pos + 1, end, '(', ')');
            ReadVerilogParameters(tokens, {pos + 2, past - 1}, values);
            pos = past;
        }
        std::vector<PortDraft> drafts;
        if (pos < end && IsPunct(tokens[pos], '(')) {
            const std::size_t past = PastClosing(tokens, pos, end, '(', ')');
            std::optional<VyDirection::Value> direction;
            std::optional<std::pair<Span, Span>> range;
            for (const Span& part : SplitAtTopLevel(tokens, {pos + 1, past - 1}, ',')) {
                if (part.empty()) continue;
                const VerilogDeclaration declaration = ReadVerilogDeclaration(tokens, part);
                if (declaration.name.empty()) return {};
                // A port without a direction of its own takes the one before
                // it, with its range, in a list that gives directions.
                if (declaration.direction) {
                    direction = declaration.direction;
                    range = declaration.range;
                }
                PortDraft draft;
                draft.name = declaration.name;
                if (direction) {
                    draft.direction = *direction;
                    draft.hasDirection = true;
                    draft.bounds = declaration.direction || declaration.range ? declaration.range : range;
                }
                drafts.push_back(draft);
            }
            pos = past;
        }
        // The body: parameters and the port declarations of the older
        // style; the inputs of functions and tasks are theirs.
        std::string skipTo;
        while (pos < end && !IsWord(tokens[pos], "endmodule")) {
            const Token& token = tokens[pos];
            if (!skipTo.empty()) {
                if (IsWord(token, skipTo)) skipTo.clear();
                ++pos;
                continue;
            }
            if (IsWord(token, "function") || IsWord(token, "task")) {
                skipTo = "end" + token.text;
                ++pos;
                continue;
            }
            const bool parameter = IsWord(token, "parameter") || IsWord(token, "localparam");
            if (!parameter && !VerilogDirection(token)) {
                ++pos;
                continue;
            }
            std::size_t semicolon = pos;
            while (semicolon < end && !IsPunct(tokens[semicolon], ';')) ++semicolon;
            if (parameter) {
                ReadVerilogParameters(tokens, {pos + 1, semicolon}, values);
            } else {
                std::vector<Span> parts = SplitAtTopLevel(tokens, {pos, semicolon}, ',');
                const VerilogDeclaration first = ReadVerilogDeclaration(tokens, parts.front());
                for (const Span& part : parts) {
                    const std::string declared = ReadVerilogDeclaration(tokens, part).name;
                    for (PortDraft& draft : drafts)
                        if (draft.name == declared && !draft.hasDirection) {
                            draft.direction = *first.direction;
                            draft.hasDirection = true;
                            draft.bounds = first.range;
                        }
                }
            }
            pos = semicolon + 1;
        }
        return Finish(name, drafts, tokens, values);
    }
    return {};
}

// --- VHDL -------------------------------------------------------------------------------

std::optional<VyDirection::Value> VhdlMode(const Token& token)
{
    if (IsWord(token, "in")) return VyDirection::In;
    if (IsWord(token, "out") || IsWord(token, "buffer")) return VyDirection::Out;
    if (IsWord(token, "inout") || IsWord(token, "linkage")) return VyDirection::InOut;
    return std::nullopt;
}

// One interface declaration "[class] a, b : [mode] type [:= value]".
struct VhdlDeclaration {
    std::vector<std::string> names;  // as written
    std::vector<std::string> keys;   // in lower case
    std::optional<VyDirection::Value> mode;
    Span type;
    Span value;
};

std::optional<VhdlDeclaration> ReadVhdlDeclaration(const Tokens& tokens, Span span)
{
    std::size_t colon = span.first;
    while (colon < span.last && !IsPunct(tokens[colon], ':')) ++colon;
    if (colon >= span.last) return std::nullopt;
    VhdlDeclaration declaration;
    for (std::size_t i = span.first; i < colon; ++i) {
        const Token& token = tokens[i];
        if (IsWord(token, "signal") || IsWord(token, "constant") || IsPunct(token, ',')) continue;
        if (token.kind != Token::Word) return std::nullopt;
        declaration.names.push_back(token.text);
        declaration.keys.push_back(token.key);
    }
    std::size_t i = colon + 1;
    if (i < span.last) {
        declaration.mode = VhdlMode(tokens[i]);
        if (declaration.mode) ++i;
    }
    std::size_t assign = i;
    while (assign + 1 < span.last && !(IsPunct(tokens[assign], ':') && IsPunct(tokens[assign + 1], '='))) ++assign;
    if (assign + 1 < span.last) {
        declaration.type = {i, assign};
        declaration.value = {assign + 2, span.last};
    } else {
        declaration.type = {i, span.last};
    }
    if (declaration.names.empty()) return std::nullopt;
    return declaration;
}

// The bounds of "mark(left downto right)" or "mark(left to right)"; none
// for a type without such a constraint. `unbounded` tells a type mark of
// a vector given without bounds.
std::optional<std::pair<Span, Span>> VhdlBounds(const Tokens& tokens, Span type, bool& unbounded)
{
    unbounded = false;
    if (type.empty()) return std::nullopt;
    std::size_t open = type.first;
    while (open < type.last && !IsPunct(tokens[open], '(')) ++open;
    if (open >= type.last) {
        const std::string& mark = tokens[type.last - 1].key;
        unbounded = mark == "std_logic_vector" || mark == "std_ulogic_vector" || mark == "bit_vector" ||
                    mark == "signed" || mark == "unsigned";
        return std::nullopt;
    }
    const std::size_t past = PastClosing(tokens, open, type.last, '(', ')');
    int depth = 0;
    for (std::size_t i = open + 1; i + 1 < past; ++i) {
        if (IsPunct(tokens[i], '(')) ++depth;
        if (IsPunct(tokens[i], ')')) --depth;
        if (depth == 0 && (IsWord(tokens[i], "downto") || IsWord(tokens[i], "to")))
            return std::make_pair(Span{open + 1, i}, Span{i + 1, past - 1});
    }
    unbounded = true;
    return std::nullopt;
}

// The clause "keyword ( ... )" that starts at `pos`; an empty span when the
// tokens there are not one.
Span VhdlClause(const Tokens& tokens, std::size_t pos, std::size_t end, std::string_view keyword)
{
    if (pos + 1 >= end || !IsWord(tokens[pos], keyword) || !IsPunct(tokens[pos + 1], '(')) return {};
    const std::size_t past = PastClosing(tokens, pos + 1, end, '(', ')');
    return {pos + 2, past - 1};
}

boost::shared_ptr<VyModule> ReadVhdl(const Tokens& tokens, const std::string& wanted)
{
    const std::size_t end = tokens.size();
    const std::string wantedLower = Lower(wanted);
    for (std::size_t i = 0; i + 2 < end; ++i) {
        if (!IsWord(tokens[i], "entity") || tokens[i + 1].kind != Token::Word || !IsWord(tokens[i + 2], "is")) continue;
        if (!wanted.empty() && tokens[i + 1].key != wantedLower) continue;
        std::size_t pos = i + 3;
        Values values;
        std::vector<PortDraft> drafts;
        while (pos < end && !IsWord(tokens[pos], "end") && !IsWord(tokens[pos], "begin")) {
            const Span generics = VhdlClause(tokens, pos, end, "generic");
            const Span ports = VhdlClause(tokens, pos, end, "port");
            if (generics.empty() && ports.empty()) {
                ++pos;
                continue;
            }
            for (const Span& part : SplitAtTopLevel(tokens, generics.empty() ? ports : generics, ';')) {
                if (part.empty()) continue;
                const std::optional<VhdlDeclaration> declaration = ReadVhdlDeclaration(tokens, part);
                if (!declaration) return {};
                if (!generics.empty()) {
                    const auto value = Evaluator(tokens, values).Evaluate(declaration->value);
                    for (const std::string& generic : declaration->keys)
                        if (value) values[generic] = *value;
                    continue;
                }
                bool unbounded = false;
                const auto bounds = VhdlBounds(tokens, declaration->type, unbounded);
                if (unbounded) return {};
                for (const std::string& port : declaration->names)
                    drafts.push_back({port, declaration->mode.value_or(VyDirection::In), true, bounds});
            }
            pos = (generics.empty() ? ports : generics).last + 1;
        }
        return Finish(tokens[i + 1].text, drafts, tokens, values);
    }
    return {};
}

std::optional<Language> LanguageOf(const std::string& fileName)
{
    const std::size_t slash = fileName.find_last_of("/\\");
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::nullopt;
    const std::string extension = Lower(fileName.substr(dot + 1));
    if (extension == "v" || extension == "vh" || extension == "sv" || extension == "svh") return Language::Verilog;
    if (extension == "vhd" || extension == "vhdl") return Language::Vhdl;
    return std::nullopt;
}

}  // namespace

std::string VyDirection::toString() const
{
    switch (m_value) {
    case Out:
        return "OUT";
    case InOut:
        return "INOUT";
    case In:
    default:
        return "IN";
    }
}

VyModule::Ports VyModule::GetPorts(bool sortedByName) const
{
    Ports ports = m_ports;
    if (sortedByName)
        std::stable_sort(ports.begin(), ports.end(),
                         [](const auto& a, const auto& b) { return UtlCompareNoCase(a->GetName(), b->GetName()) < 0; });
    return ports;
}

boost::shared_ptr<VyModule> VyLoaderFactory::LoadModule(const std::string& fileName, IIDEObject*,
                                                        const std::string& moduleName)
{
    const std::optional<Language> language = LanguageOf(fileName);
    std::string text;
    if (!language || !UtlDoesFileExist(fileName) || !SysReadFile(fileName, text)) return {};
    const Tokens tokens = Tokenize(text, *language);
    return *language == Language::Verilog ? ReadVerilog(tokens, moduleName) : ReadVhdl(tokens, moduleName);
}

}  // namespace Vymodel
