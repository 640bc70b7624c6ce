// Parser and writer helpers of the options files' line format.
#include "DefText.h"

#include "foundation/Sys.h"
#include "foundation/UtlAscii.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr const char* kDefaultsOnly =
    "only plain values belong in the user's settings (scoped values, choices and external "
    "names belong in the installed defaults)";

bool IsBlank(char c) { return kBlanks.find(c) != std::string_view::npos; }

std::string_view TrimLeft(std::string_view text) { return UtlTrimLeft(text, kBlanks); }

std::string_view Trim(std::string_view text) { return UtlTrim(text, kBlanks); }

bool IsQuoted(std::string_view text) { return text.size() >= 2 && text.front() == '"' && text.back() == '"'; }

std::string Unquote(std::string_view value)
{
    return std::string(IsQuoted(value) ? value.substr(1, value.size() - 2) : value);
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool SameScope(const DefScope& a, const DefScope& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const DefCondition& x, const DefCondition& y) {
        return x.name == y.name && UtlIsSameNoCase(x.value, y.value);
    });
}

// A later definition of the same scope replaces the earlier one and, being
// written last, also wins ties against other scopes of the same size.
template <class T>
void Define(std::vector<DefScoped<T>>& list, DefScope scope, T data)
{
    std::erase_if(list, [&](const DefScoped<T>& old) { return SameScope(old.scope, scope); });
    list.push_back(DefScoped<T>{std::move(scope), std::move(data)});
}

// Command-line words as ArgsParse splits them; false on an unterminated quote.
bool SplitWords(std::string_view text, DefWords& words)
{
    bool unterminated = false;
    ArgsParse(std::string(text), words, &unterminated);
    return !unterminated;
}

class Parser {
public:
    Parser(const std::string& source, DefTextKind kind, DefContent& content)
        : m_source(source), m_kind(kind), m_content(content)
    {
    }

    bool Line(std::string_view line, int number);
    void Finish();
    const std::string& Error() const { return m_error; }

private:
    using ChoiceList = std::vector<DefScoped<DefWords>> DefVariable::*;

    bool Fail(const std::string& problem);
    bool Value(std::string_view text);
    bool Directive(std::string_view text);
    bool Visible(std::string_view text) { return Choices(text, &DefVariable::visible); }
    bool Hidden(std::string_view text) { return Choices(text, &DefVariable::hidden); }
    bool Choices(std::string_view text, ChoiceList list);
    bool External(std::string_view text);
    bool Head(std::string_view& text, std::string& name, DefScope& scope);
    bool Conditions(std::string_view text, const std::string& name, DefScope& scope);

    const std::string& m_source;
    const DefTextKind m_kind;
    DefContent& m_content;
    int m_number = 0;
    std::string m_error;
    std::vector<std::pair<std::string, std::string>> m_external;  // in the order written
};

bool Parser::Fail(const std::string& problem)
{
    m_error = m_source + ":" + std::to_string(m_number) + ": " + problem;
    return false;
}

bool Parser::Line(std::string_view line, int number)
{
    m_number = number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find_first_of(std::string_view("\r\0", 2)) != std::string_view::npos) {
        return Fail("the line holds a NUL character or a stray carriage return");
    }
    const std::string_view text = Trim(line);
    if (text.empty() || text.front() == '#') return true;
    if (text.front() == '@') return Directive(text);
    return Value(text);
}

bool Parser::Value(std::string_view text)
{
    std::string name;
    DefScope scope;
    if (!Head(text, name, scope)) return false;
    if (!scope.empty() && m_kind == DefTextKind::UserSettings) return Fail(kDefaultsOnly);
    Define(m_content.variables[name].values, std::move(scope), Unquote(text));
    return true;
}

bool Parser::Directive(std::string_view text)
{
    static const struct {
        std::string_view word;
        bool (Parser::*handler)(std::string_view);
    } kDirectives[] = {
        {"@choices", &Parser::Visible},
        {"@hidden", &Parser::Hidden},
        {"@ext", &Parser::External},
    };
    const std::string_view word = text.substr(0, text.find_first_of(kBlanks));
    if (m_kind == DefTextKind::UserSettings) return Fail(kDefaultsOnly);
    for (const auto& directive : kDirectives) {
        if (directive.word == word) return (this->*directive.handler)(TrimLeft(text.substr(word.size())));
    }
    return Fail("unknown statement " + Quoted(word) + " (expected @choices, @hidden or @ext)");
}

bool Parser::Choices(std::string_view text, ChoiceList list)
{
    std::string name;
    DefScope scope;
    if (!Head(text, name, scope)) return false;
    DefWords words;
    if (!SplitWords(text, words)) return Fail("the choices of " + name + " have an unterminated quote");
    Define(m_content.variables[name].*list, std::move(scope), std::move(words));
    return true;
}

bool Parser::External(std::string_view text)
{
    const std::size_t equal = text.find('=');
    if (equal == std::string_view::npos) return Fail("expected \"=\" after the internal value");
    const std::string internal(Trim(text.substr(0, equal)));
    std::string external = Unquote(Trim(text.substr(equal + 1)));
    if (internal.empty()) return Fail("the internal value of @ext is empty");
    if (external.empty()) return Fail("the external name of " + Quoted(internal) + " is empty");
    m_external.emplace_back(internal, std::move(external));
    return true;
}

// Reads "NAME", an optional "[conditions]" and the "=", leaving `text` at the
// trimmed rest of the line.
bool Parser::Head(std::string_view& text, std::string& name, DefScope& scope)
{
    name = std::string(text.substr(0, text.find_first_of(" \t[=")));
    if (const char* problem = DefTextNameProblem(name)) return Fail(Quoted(name) + ": " + problem);
    text = TrimLeft(text.substr(name.size()));
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) return Fail("the conditions of " + name + " lack the closing \"]\"");
        if (!Conditions(text.substr(1, close - 1), name, scope)) return false;
        text = TrimLeft(text.substr(close + 1));
    }
    if (text.empty() || text.front() != '=') return Fail("expected \"=\" after " + name);
    text = Trim(text.substr(1));
    return true;
}

bool Parser::Conditions(std::string_view text, const std::string& name, DefScope& scope)
{
    if (Trim(text).empty()) return Fail("the conditions of " + name + " are empty");
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view part = Trim(text.substr(0, comma));
        const std::size_t equal = part.find('=');
        if (equal == std::string_view::npos) return Fail("the condition " + Quoted(part) + " lacks \"=\"");
        DefCondition condition{std::string(Trim(part.substr(0, equal))), std::string(Trim(part.substr(equal + 1)))};
        if (const char* problem = DefTextNameProblem(condition.name)) {
            return Fail("the condition " + Quoted(part) + ": " + problem);
        }
        if (condition.value.empty() || condition.value.find('=') != std::string::npos) {
            return Fail("the condition " + Quoted(part) + " needs one value without \"=\"");
        }
        for (const DefCondition& other : scope) {
            if (other.name == condition.name) return Fail("the condition " + condition.name + " is named twice");
        }
        scope.push_back(std::move(condition));
        if (comma == std::string_view::npos) break;
        text = text.substr(comma + 1);
    }
    std::sort(scope.begin(), scope.end(), [](const DefCondition& a, const DefCondition& b) { return a.name < b.name; });
    return true;
}

// The last definition of an internal value answers internal -> external; an
// external name shared by several internal values answers with the first of
// them.
void Parser::Finish()
{
    for (const auto& [internal, external] : m_external) m_content.externalOf[internal] = external;
    for (const auto& [internal, external] : m_external) {
        if (m_content.externalOf[internal] == external) m_content.internalOf.emplace(external, internal);
    }
}

}  // namespace

bool DefTextParse(std::string_view text, const std::string& source, DefTextKind kind, DefContent& content,
                  std::string& error)
{
    Parser parser(source, kind, content);
    int number = 1;
    for (std::size_t start = 0; start <= text.size(); ++number) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        if (!parser.Line(text.substr(start, end - start), number)) {
            error = parser.Error();
            return false;
        }
        start = end + 1;
    }
    parser.Finish();
    return true;
}

const char* DefTextNameProblem(std::string_view name)
{
    if (name.empty()) return "the name is empty";
    if (name.front() == '#' || name.front() == '@') return "the name begins with \"#\" or \"@\"";
    for (const char c : name) {
        if (c == '\n' || c == '\r') return "the name holds a line break";
        if (c == '\0') return "the name holds a NUL character";
        if (IsBlank(c)) return "the name holds a blank";
        if (c == '=' || c == '[' || c == ']') return "the name holds \"=\", \"[\" or \"]\"";
    }
    return nullptr;
}

const char* DefTextValueProblem(std::string_view value)
{
    for (const char c : value) {
        if (c == '\n' || c == '\r') return "the value holds a line break";
        if (c == '\0') return "the value holds a NUL character";
    }
    return nullptr;
}

std::string DefTextQuoteValue(const std::string& value)
{
    const bool changes = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || IsQuoted(value));
    return changes ? Quoted(value) : value;
}

std::string DefTextJoinWords(const DefWords& words)
{
    std::string text;
    for (const std::string& word : words) {
        if (&word != &words.front()) text += ' ';
        text += ArgsQuote(word);
    }
    return text;
}
