#include "src/icmd/scan/zorpaVerilogParser.h"

#include "imodel/design/ImodelModule.h"
#include "src/icmd/scan/zorpaScanText.h"

#include <foundation/Brennic.h>

#include <boost/make_shared.hpp>

using namespace zorpaScan;

namespace {

// "//" comments with their line feed and "/*" comments up to their "*/"
// (or the end), one after another.
bool SkipComments(const char*& pos, const char* end)
{
    bool skipped = false;
    while (end - pos >= 2 && pos[0] == '/' && (pos[1] == '/' || pos[1] == '*')) {
        if (pos[1] == '/') {
            pos = NextLine(pos + 2, end);
        } else {
            const char* close = pos + 2;
            while ((close = Find(close, end, '*')) != nullptr && (close + 1 >= end || close[1] != '/')) ++close;
            pos = close ? close + 2 : end;
        }
        skipped = true;
    }
    return skipped;
}

inline bool IsCommentStart(const char* pos, const char* end)
{
    return end - pos >= 2 && pos[0] == '/' && (pos[1] == '/' || pos[1] == '*');
}

// Called before every token: blanks (and line ends with `lineEnds`), then
// comments, as long as either is found.
inline void SkipBlanksAndComments(const char*& pos, const char* end, bool lineEnds = true)
{
    const unsigned char blanks = lineEnds ? (kBlank | kLineEnd) : kBlank;
    for (;;) {
        while (pos < end && (kClasses[static_cast<unsigned char>(*pos)] & blanks) != 0) ++pos;
        if (!IsCommentStart(pos, end)) return;
        SkipComments(pos, end);
    }
}

// The end of a string literal that starts at `pos`: past its closing quote.
// A backslash escapes the next character and a line end closes a string
// left open, so that a stray quote cannot swallow the statements after it.
const char* StringEnd(const char* pos, const char* end)
{
    for (++pos; pos < end; ++pos) {
        if (*pos == '"') return pos + 1;
        if (*pos == '\n') return pos;
        if (*pos == '\\' && pos + 1 < end && pos[1] != '\n') ++pos;
    }
    return end;
}

// An escaped identifier runs to the white space that ends it; null when
// the text ends first.
inline const char* EscapedIdentifierEnd(const char* pos, const char* end)
{
    const char* stop = pos + 1;
    while (stop < end && !Is(*stop, kBlank | kLineEnd)) ++stop;
    return stop < end ? stop : nullptr;
}

inline const char* AnyWordEnd(const char* pos, const char* end)
{
    return zorpaScan::AnyWordEnd(pos, end, IsCommentStart);
}

// The end of a word as AnyWordEnd finds it, from a byte inside it: a
// delimiter, or "/" that starts a comment.
constexpr std::array<unsigned char, 256> MakeWordStops()
{
    std::array<unsigned char, 256> stops{};
    for (int c = 0; c < 256; ++c)
        stops[static_cast<std::size_t>(c)] = (kClasses[static_cast<std::size_t>(c)] & kDelimiter) ? 1 : 0;
    stops['/'] = 2;
    return stops;
}
constexpr std::array<unsigned char, 256> kWordStops = MakeWordStops();

inline const char* WordEnd(const char* pos, const char* end)
{
    for (; pos < end; ++pos) {
        const unsigned char stop = kWordStops[static_cast<unsigned char>(*pos)];
        if (stop != 0 && (stop == 1 || IsCommentStart(pos, end))) break;
    }
    return pos;
}

using Stops = std::array<bool, 256>;

constexpr Stops MakeStops(std::string_view bytes)
{
    Stops stops{};
    for (unsigned char c : bytes) stops[c] = true;
    return stops;
}

// The bytes the statement walk stops at: ";", parentheses, "/" (a
// comment may start), and, where a token starts, a quote, a backslash or
// the first byte of a word the walk looks for. Every other byte is stepped
// over unread: it neither ends a statement nor changes how the bytes after
// it are read.
constexpr Stops kWalkStops = MakeStops(";()/\"\\egbm`");
// The same for a walk over a group, which looks at no word.
constexpr Stops kGroupStops = MakeStops("()/\"\\");
// What preprocessorLine takes at a statement's start: directives,
// attributes, "begin" and "if".
constexpr Stops kStatementLeads = MakeStops("`(bi");
// A directive's line: its end, comments, strings and continuations.
constexpr Stops kDirectiveStops = MakeStops("\n/\"\\");

// The first byte at or after `pos` that is one of the stops, or the end.
inline const char* NextStop(const Stops& stops, const char* pos, const char* end)
{
    while (end - pos >= 4) {
        if (stops[static_cast<unsigned char>(pos[0])]) return pos;
        if (stops[static_cast<unsigned char>(pos[1])]) return pos + 1;
        if (stops[static_cast<unsigned char>(pos[2])]) return pos + 2;
        if (stops[static_cast<unsigned char>(pos[3])]) return pos + 3;
        pos += 4;
    }
    while (pos < end && !stops[static_cast<unsigned char>(*pos)]) ++pos;
    return pos;
}

std::string_view ReadToken(const char*& pos, const char* end, bool anyText, bool newlineIsBlank, bool backslashIsPlain)
{
    SkipBlanksAndComments(pos, end, newlineIsBlank);
    if (pos >= end) return {};
    const char* start = pos;
    if (*pos == '\\' && !backslashIsPlain) {
        const char* stop = EscapedIdentifierEnd(pos, end);
        if (stop == nullptr) return {};
        pos = stop;
        return {start, static_cast<std::size_t>(pos - start)};
    }
    if (anyText) {
        pos = *pos == '"' ? StringEnd(pos, end) : AnyWordEnd(pos, end);
        return {start, static_cast<std::size_t>(pos - start)};
    }
    bool plainWord = true;
    for (; pos < end; ++pos) {
        const unsigned char c = kClasses[static_cast<unsigned char>(*pos)];
        if ((c & kVerilogChar) != 0) continue;
        if ((c & kDelimiter) != 0 || IsCommentStart(pos, end)) break;
        // A name ends before a parameter list: "top#(".
        if (*pos == '#' && pos > start) break;
        plainWord = false;
    }
    if (!plainWord) return {};
    return {start, static_cast<std::size_t>(pos - start)};
}

// A name; a plain one is read in line.
std::string_view ReadName(const char*& pos, const char* end)
{
    const std::string_view name = PlainName(pos, end, kVerilogChar, kVerilogChar);
    return name.empty() ? ReadToken(pos, end, false, true, false) : name;
}

// Any text: a plain word (no literal, no extended or escaped identifier)
// is read here, in line; everything else as ReadToken reads it.
[[gnu::always_inline]] inline std::string_view ReadAny(const char*& pos, const char* end)
{
    SkipBlanksAndComments(pos, end);
    if (pos < end && (kClasses[static_cast<unsigned char>(*pos)] & kDelimiter) == 0 && *pos != '\\' && *pos != '"') {
        const char* start = pos;
        pos = AnyWordEnd(pos, end);
        return {start, static_cast<std::size_t>(pos - start)};
    }
    return ReadToken(pos, end, true, true, false);
}

[[gnu::always_inline]] inline bool NextIs(const char*& pos, const char* end, char c)
{
    // Most often right there; none of the characters asked for is a blank
    // or starts a comment.
    if (pos < end && *pos == c) return true;
    SkipBlanksAndComments(pos, end);
    return pos < end && *pos == c;
}

bool AtClosingSemicolon(const char* pos, const char* end)
{
    SkipBlanksAndComments(pos, end);
    return pos == end - 1 && *pos == ';';
}

// The end of the token at `pos` that starts with no plain byte (see
// Window), no delimiter and no comment, as ReadAny reads it; one past `pos`
// when a backslash there makes no name.
const char* OtherTokenEnd(const char* pos, const char* end)
{
    if (*pos == '"') return StringEnd(pos, end);
    if (*pos != '\\') return AnyWordEnd(pos, end);
    const char* stop = EscapedIdentifierEnd(pos, end);
    return stop ? stop : pos + 1;
}

// The step of the statement and group walks at a stop other than ";" or a
// parenthesis: over a comment, over a byte inside a word, or over a string
// or escaped identifier that starts a token (`boundary`: where the last
// token stepped over whole ended, so that a token starts there whatever
// byte comes before it). False, with `pos` unmoved, at a lead byte that
// starts a word.
[[gnu::always_inline]] inline bool StepOver(const char*& pos, const char* end, const char*& boundary)
{
    if (*pos == '/') {
        if (IsCommentStart(pos, end)) {
            SkipComments(pos, end);
            boundary = pos;
        } else {
            ++pos;  // within a word, or a word of its own not looked for
        }
        return true;
    }
    if (pos != boundary && !Is(pos[-1], kDelimiter)) {
        ++pos;
        return true;
    }
    if (*pos != '"' && *pos != '\\') return false;
    pos = OtherTokenEnd(pos, end);
    boundary = pos;
    return true;
}

// Skips the parenthesised group at `pos`, nested groups, comments, strings
// and escaped identifiers included; the end when it is not closed. Words
// are stepped over unread, as the statement walk steps over them; a
// character that starts no token is stepped over alone.
const char* SkipGroup(const char* pos, const char* end)
{
    std::size_t depth = 0;
    const char* boundary = pos;  // see StepOver
    for (;;) {
        pos = NextStop(kGroupStops, pos, end);
        if (pos >= end) return end;
        switch (*pos) {
        case '(':
            ++depth;
            ++pos;
            continue;
        case ')':
            ++pos;
            if (--depth == 0) return pos;
            continue;
        default:
            StepOver(pos, end, boundary);  // no lead byte stops a group's walk
            continue;
        }
    }
}

// The end of a directive that starts at `pos`: past the line end that is
// not continued by a backslash, comments and strings stepped over. A
// backslash continues the line when nothing but blanks follows it.
const char* DirectiveEnd(const char* pos, const char* end)
{
    bool continued = false;
    while (pos < end) {
        const char* const stop = NextStop(kDirectiveStops, pos, end);
        for (; continued && pos < stop; ++pos)
            if (!Is(*pos, kBlank) && *pos != '\r') continued = false;
        pos = stop;
        if (pos >= end) break;
        const char c = *pos;
        if (c == '\n') {
            if (!continued) return pos + 1;
            continued = false;
            ++pos;
        } else if (c == '/' && end - pos >= 2 && pos[1] == '/') {
            pos = Find(pos, end, '\n');
            if (pos == nullptr) return end;
            continued = false;
        } else if (c == '/' && end - pos >= 2 && pos[1] == '*') {
            SkipComments(pos, end);
        } else if (c == '"') {
            pos = StringEnd(pos, end);
            continued = false;
        } else {
            continued = c == '\\';
            ++pos;
        }
    }
    return end;
}

// The end of an attribute "(* ... *)" that starts at `pos`: past its "*)".
// Null for "(*)" (the "@(*)" of an event control) and for an attribute that
// a ";" or the end of the text reaches before its close: a damaged one
// takes no statement with it. Nor is one whose close starts
// zorpaVerilogLongestAttribute bytes or more after it: text full of "(*"
// is looked at a bounded length from each, not to its end from each.
const char* AttributeEnd(const char* pos, const char* end)
{
    if (end - pos < 3 || pos[0] != '(' || pos[1] != '*' || pos[2] == ')') return nullptr;
    const char* const limit = end - pos > zorpaVerilogLongestAttribute ? pos + zorpaVerilogLongestAttribute : end;
    for (pos += 2; pos < limit; ++pos) {
        if (*pos == ';') return nullptr;
        if (*pos == '"') {
            pos = StringEnd(pos, end) - 1;
        } else if (*pos == '*' && end - pos >= 2 && pos[1] == ')') {
            return pos + 2;
        }
    }
    return nullptr;
}

// Whether the word starts a module's declaration: compared in line, as the
// walk asks it of many words.
inline bool IsModuleWord(std::string_view word)
{
    static_assert(zorpaVerilogModuleWords.size() == 2);
    return word == zorpaVerilogModuleWords[0] || word == zorpaVerilogModuleWords[1];
}

constexpr WordSet kPrimitives(zorpaVerilogPrimitives, false);
constexpr WordSet kBehaviourWords(zorpaVerilogBehaviourWords, false);
// The directives by their names after the backquote, which every one of
// them starts with: the names' first bytes then tell them apart.
constexpr std::array<std::string_view, zorpaVerilogLineDirectives.size()> DirectiveNames()
{
    std::array<std::string_view, zorpaVerilogLineDirectives.size()> names{};
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = zorpaVerilogLineDirectives[i].substr(1);
    return names;
}
constexpr WordSet kLineDirectiveNames(DirectiveNames(), false);
constexpr WordSet kEndWords(zorpaVerilogEndWords, false);
constexpr std::array<std::string_view, 7> kLeadWordList = {"module", "macromodule", "assign",   "input",
                                                           "output", "inout",       "primitive"};
constexpr WordSet kLeadWords(kLeadWordList, false);
constexpr WordSet kKeywords(zorpaVerilogKeywords, false);

inline bool IsUnitEndWord(std::string_view word)
{
    static_assert(zorpaVerilogUnitEndWords.size() == 2);
    return word == zorpaVerilogUnitEndWords[0] || word == zorpaVerilogUnitEndWords[1];
}

// Whether the statement [start, end) ends with a word that closes a unit's
// body: the whole word, as the statement walk ends after it (the walk
// tells it of the statements it walked).
bool EndsUnit(const char* start, const char* end)
{
    if (!EndsWith(start, end, 'e')) return false;
    for (std::string_view word : zorpaVerilogUnitEndWords) {
        const auto size = static_cast<std::ptrdiff_t>(word.size());
        if (end - start < size || std::string_view(end - size, word.size()) != word) continue;
        const char* const wordStart = end - size;
        if (wordStart == start || (!Is(wordStart[-1], kVerilogChar) && wordStart[-1] != '`' && wordStart[-1] != '\\'))
            return true;
    }
    return false;
}

}  // namespace

template <class T>
zorpaVerilogParser<T>::zorpaVerilogParser(T prototype, T nullModule)
    : ZorpaParser<T>(prototype, nullModule, zorpaMODULE_VERILOG)
{
}

template <class T>
bool zorpaVerilogParser<T>::skipComment(const char*& pos, const char* end)
{
    return IsCommentStart(pos, end) && SkipComments(pos, end);
}

template <class T>
std::string_view zorpaVerilogParser<T>::readToken(const char*& pos, const char* end, bool anyText, bool newlineIsBlank,
                                                  bool backslashIsPlain)
{
    return ReadToken(pos, end, anyText, newlineIsBlank, backslashIsPlain);
}

template <class T>
bool zorpaVerilogParser<T>::preprocessorLine(const char*& pos, const char* end)
{
    for (;;) {
        SkipBlanksAndComments(pos, end);
        // Most statements start with none of the bytes looked for here.
        if (pos >= end || !kStatementLeads[static_cast<unsigned char>(*pos)]) break;
        if (*pos == '`') {
            // Every directive starts so; its word is read once.
            const char* next = AnyWordEnd(pos, end);
            if (!kLineDirectiveNames.Contains(std::string_view(pos + 1, static_cast<std::size_t>(next - pos - 1))))
                break;
            pos = DirectiveEnd(next, end);
            continue;
        }
        if (*pos == '(') {
            // Attributes stand before the statement they belong to.
            const char* next = AttributeEnd(pos, end);
            if (next == nullptr) break;
            pos = next;
            continue;
        }
        const char* next = pos;
        const std::string_view token = ReadAny(next, end);
        if (token == "begin") {
            // A block's start, with its label.
            pos = next;
            if (NextIs(next, end, ':')) {
                ++next;
                ReadName(next, end);
                pos = next;
            }
            continue;
        }
        if (token == "if" && NextIs(next, end, '(')) {
            pos = SkipGroup(next, end);
            this->setStructural(false);
            continue;
        }
        break;
    }
    return true;
}

template <class T>
const char* zorpaVerilogParser<T>::findStatementEnd(const char* pos, const char* end)
{
    m_walkStart = pos;
    m_walkReadFirst = false;
    m_walkGrouped = false;
    m_walkClosesUnit = false;
    m_walkEnd = walkStatement(pos, end);
    return m_walkEnd;
}

template <class T>
const char* zorpaVerilogParser<T>::walkStatement(const char* pos, const char* end)
{
    m_memo.BeginGroups(pos);
    // The statement's first token starts here, after blanks and comments.
    const char* firstAt = pos;
    SkipBlanksAndComments(firstAt, end);
    // A plain name first, as most statements start, is read here for the
    // statement operations: the walk would take it as one word too.
    if (firstAt == pos && pos < end && Is(*pos, kVerilogChar)) {
        const char* stop = pos + 1;
        while (stop < end && Is(*stop, kVerilogChar)) ++stop;
        if (stop == end || Is(*stop, kDelimiter)) {
            m_walkFirst = std::string_view(pos, static_cast<std::size_t>(stop - pos));
            m_walkReadFirst = true;
            // Standing first, a block's start is a statement of its own.
            if (kWalkStops[static_cast<unsigned char>(*pos)] &&
                (kEndWords.Contains(m_walkFirst) || m_walkFirst == "begin")) {
                m_walkClosesUnit = IsUnitEndWord(m_walkFirst);
                return stop;
            }
            pos = stop;
        }
    }
    // The outermost group open, and how deep the walk is in it.
    const char* group = nullptr;
    std::size_t depth = 0;
    const char* boundary = pos;  // see StepOver
    for (;;) {
        pos = NextStop(kWalkStops, pos, end);
        if (pos >= end) return end;
        switch (*pos) {
        case ';':
            return pos + 1;
        case '(':
            // Each outermost group closed within the statement is noted as
            // SkipGroup finds it.
            if (depth++ == 0) group = pos;
            ++pos;
            continue;
        case ')':
            if (depth > 0 && --depth == 0) {
                m_memo.AddGroup(group, pos + 1);
                m_walkGrouped = true;
            }
            ++pos;
            continue;
        default:
            break;
        }
        if (StepOver(pos, end, boundary)) continue;
        const char* const tokenStart = pos;
        pos = WordEnd(pos + 1, end);
        const std::string_view token(tokenStart, static_cast<std::size_t>(pos - tokenStart));
        if (kEndWords.Contains(token)) {
            m_walkClosesUnit = IsUnitEndWord(token);
            return pos;
        }
        // A block's start ends the statement before it; standing first it
        // is a statement of its own, so that the scan moves on.
        const bool first = tokenStart == firstAt;
        if (token == "begin") return first ? pos : tokenStart;
        if (!first && (IsModuleWord(token) || token == "`include")) return tokenStart;
    }
}

template <class T>
const char* zorpaVerilogParser<T>::skipGroup(const char* pos, const char* end) const
{
    return m_memo.SkipGroup(this->currentStatement(), pos, end, SkipGroup);
}

template <class T>
std::string_view zorpaVerilogParser<T>::readFirstName(const char* start, const char* end, const char*& after)
{
    return m_memo.FirstWord(this->currentStatement(), start, end, after, ReadName);
}

template <class T>
std::string_view zorpaVerilogParser<T>::declaredUnitName(const char* start, const char* end)
{
    if (!EndsWith(start, end, ';')) return {};
    const char* pos = nullptr;
    if (!IsModuleWord(firstName(start, end, pos))) return {};
    return ReadName(pos, end);
}

template <class T>
std::string_view zorpaVerilogParser<T>::instantiatedUnitName(const char* start, const char* end)
{
    if (!EndsWith(start, end, ';') || (walked(start, end) && !m_walkGrouped)) return {};
    const char* pos = nullptr;
    const std::string_view name = firstName(start, end, pos);
    if (name.empty() || kKeywords.Contains(name)) return {};
    if (NextIs(pos, end, '#')) {
        ++pos;
        if (!NextIs(pos, end, '(')) return {};
        pos = skipGroup(pos, end);
    }
    // Instances, each a name, for an array of instances a range, and a port
    // group, separated by ",".
    for (bool more = true; more;) {
        if (ReadName(pos, end).empty()) return {};
        SkipBlanksAndComments(pos, end);
        if (pos < end && *pos == '[') {
            const char* close = Find(pos, end, ']');
            if (close == nullptr) return {};
            pos = close + 1;
        }
        if (!NextIs(pos, end, '(')) return {};
        pos = skipGroup(pos, end);
        more = NextIs(pos, end, ',');
        if (more) ++pos;
    }
    return AtClosingSemicolon(pos, end) ? name : std::string_view();
}

template <class T>
bool zorpaVerilogParser<T>::otherStatement(const char* start, const char* end)
{
    return continuousAssignment(start, end) || includeDirective(start, end) || endOfUnit(start, end);
}

template <class T>
bool zorpaVerilogParser<T>::mayConcernUnits(const char* start, const char* end)
{
    // A statement without a name first may be an `include; one with a name
    // concerns units when the name is one of these words or, holding a group
    // for the ports of an instance, is followed by a parameter list or an
    // instance name.
    const char* pos = nullptr;
    const std::string_view first = firstName(start, end, pos);
    if (first.empty() || kLeadWords.Contains(first)) return true;
    const bool walk = walked(start, end);
    if (walk ? m_walkClosesUnit : EndsUnit(start, end)) return true;
    if (walk && !m_walkGrouped) return false;
    SkipBlanksAndComments(pos, end);
    return pos < end && (*pos == '#' || *pos == '\\' || Is(*pos, kVerilogChar));
}

template <class T>
bool zorpaVerilogParser<T>::continuousAssignment(const char* start, const char* end)
{
    if (!EndsWith(start, end, ';')) return false;
    const char* pos = nullptr;
    if (firstName(start, end, pos) != "assign" || ReadName(pos, end).empty() || !NextIs(pos, end, '=')) return false;
    ++pos;
    if (ReadAny(pos, end).empty()) return false;
    // One signal onto another is wiring; anything more is logic.
    if (!AtClosingSemicolon(pos, end)) this->setStructural(false);
    return true;
}

template <class T>
bool zorpaVerilogParser<T>::includeDirective(const char* start, const char* end)
{
    const char* pos = start;
    // Only a word that starts with a backquote can be the directive.
    SkipBlanksAndComments(pos, end);
    if (pos >= end || *pos != '`' || ReadAny(pos, end) != "`include") return false;
    SkipBlanksAndComments(pos, end, false);
    if (pos >= end || (*pos != '"' && *pos != '<')) return true;
    const char close = *pos == '"' ? '"' : '>';
    const char* nameStart = pos + 1;
    const char* nameEnd = nameStart;
    // A name ends on its line: one left open names no file.
    while (nameEnd < end && *nameEnd != close && !Is(*nameEnd, kLineEnd)) ++nameEnd;
    if (nameEnd < end && *nameEnd == close && nameEnd > nameStart)
        this->addIncludeName(std::string(nameStart, static_cast<std::size_t>(nameEnd - nameStart)));
    return true;
}

template <class T>
bool zorpaVerilogParser<T>::endOfUnit(const char* start, const char* end)
{
    // A unit's body ends with its closing word, or at latest where another
    // unit starts: the header of a primitive, or of a module that names
    // itself in a way not read (a macro); nothing after it belongs to the
    // unit before. The statement is handled when it is the closing word
    // alone; otherwise it is still looked at for behaviour.
    const char* pos = nullptr;
    const std::string_view first = firstName(start, end, pos);
    const bool closing = walked(start, end) ? m_walkClosesUnit : EndsUnit(start, end);
    // Most statements asked start with neither "m" nor "p".
    if (!closing &&
        (first.empty() || (first[0] != 'm' && first[0] != 'p') || (first != "primitive" && !IsModuleWord(first))))
        return false;
    this->setCurrentUnit(this->nullModule());
    return closing && first.size() == static_cast<std::size_t>(end - start);
}

template <class T>
bool zorpaVerilogParser<T>::isUserUnit(std::string_view name, NdbWorld* world)
{
    return !kPrimitives.Contains(name) && ZorpaParser<T>::isUserUnit(name, world);
}

template <class T>
bool zorpaVerilogParser<T>::isStructuralStatement(const char* start, const char* end)
{
    const char* pos = start;
    for (;;) {
        const std::string_view token = ReadAny(pos, end);
        if (token.empty()) return true;
        if (kBehaviourWords.Contains(token)) return false;
    }
}

template <class T>
ZorpaPortList zorpaVerilogParser<T>::readPorts(const char* start, const char* end)
{
    if (!EndsWith(start, end, ';')) return {};
    const char* pos = nullptr;
    const std::string_view keyword = firstName(start, end, pos);
    const std::uint32_t direction = keyword == "input"    ? ZorpaPort::In
                                    : keyword == "output" ? ZorpaPort::Out
                                    : keyword == "inout"  ? ZorpaPort::InOut
                                                          : ZorpaPort::NotSet;
    if (direction == ZorpaPort::NotSet) return {};
    // The kind of net or variable is no port name.
    for (const char* next = pos;;) {
        const std::string_view kind = ReadName(next, end);
        if (kind != "wire" && kind != "reg" && kind != "signed") break;
        pos = next;
    }
    std::int32_t left = -1;
    std::int32_t right = -1;
    if (NextIs(pos, end, '[')) {
        const char* colon = Find(pos, end, ':');
        const char* close = Find(pos, end, ']');
        if (colon == nullptr || close == nullptr || colon > close) return {};
        left = BrennicAToI(std::string_view(pos + 1, static_cast<std::size_t>(colon - pos - 1)));
        right = BrennicAToI(std::string_view(colon + 1, static_cast<std::size_t>(close - colon - 1)));
        pos = close + 1;
    }
    auto ports = boost::make_shared<std::deque<boost::shared_ptr<ZorpaPort>>>();
    for (bool more = true; more;) {
        const std::string_view name = ReadName(pos, end);
        if (name.empty()) break;
        ports->push_back(boost::make_shared<ZorpaPort>(std::string(name), direction, this->GetUnitKind(), left, right));
        more = NextIs(pos, end, ',');
        if (more) ++pos;
    }
    return ports;
}

template class zorpaVerilogParser<ImodelModule*>;
