#include "src/icmd/scan/zorpaVHDLParser.h"

#include "imodel/design/ImodelModule.h"
#include "src/icmd/scan/zorpaScanText.h"

#include <foundation/Brennic.h>

#include <boost/make_shared.hpp>

#include <vector>

using namespace zorpaScan;

namespace {

// Whether a comment starts at `pos`: "--" to the end of the line, or a
// block "/*" to "*/" (no "/*" stands outside a string or a comment in
// older text, so reading it as a comment there changes nothing).
inline bool IsCommentStart(const char* pos, const char* end)
{
    return end - pos >= 2 && ((pos[0] == '-' && pos[1] == '-') || (pos[0] == '/' && pos[1] == '*'));
}

// The end of the comment that starts at `pos`: past the line feed of a
// line comment; past the "*/" of a block comment, or the end of the text
// for one left open.
inline const char* CommentEnd(const char* pos, const char* end)
{
    if (pos[0] == '-') return NextLine(pos + 2, end);
    for (const char* close = pos + 2; (close = Find(close, end, '*')) != nullptr; ++close)
        if (close + 1 < end && close[1] == '/') return close + 2;
    return end;
}

// Comments, one after another.
bool SkipComments(const char*& pos, const char* end)
{
    bool skipped = false;
    while (IsCommentStart(pos, end)) {
        pos = CommentEnd(pos, end);
        skipped = true;
    }
    return skipped;
}

// Called before every token: blanks (and line ends with `lineEnds`), then
// comments, as long as either is found.
inline void SkipBlanksAndComments(const char*& pos, const char* end, bool lineEnds = true)
{
    const unsigned char blanks = lineEnds ? (kBlank | kLineEnd) : kBlank;
    for (;;) {
        while (pos < end && (kClasses[static_cast<unsigned char>(*pos)] & blanks) != 0) ++pos;
        if (!IsCommentStart(pos, end)) return;
        pos = CommentEnd(pos, end);
    }
}

constexpr WordSet kAttributes(zorpaVHDLAttributes, true);
constexpr WordSet kBehaviourWords(zorpaVHDLBehaviourWords, true);
constexpr WordSet kBehaviourOperators(zorpaVHDLBehaviourOperators, false);
constexpr std::array<std::string_view, 3> kBodyWordList = {"is", "begin", "generate"};
constexpr WordSet kBodyWords(kBodyWordList, true);
// The first letters of the words findStatementEnd looks for: body words,
// "generic" and "port".
constexpr std::array<bool, 256> kLeadLetters = [] {
    std::array<bool, 256> letters{};
    for (unsigned char c : std::string_view("ibgpIBGP")) letters[c] = true;
    return letters;
}();
constexpr std::array<std::string_view, 7> kLeadWordList = {"entity",    "port", "package", "architecture",
                                                           "component", "end",  "use"};
constexpr WordSet kLeadWords(kLeadWordList, true);

// The first `c` on the line that starts at `pos` (before its line feed), or
// null: literals and extended identifiers do not span lines, so that a
// stray quote or backslash cannot swallow the lines after it.
inline const char* FindOnLine(const char* pos, const char* end, char c) { return FindBefore(pos, end, c, '\n'); }

// The literal and identifier forms that start with a special character,
// each from its first character at `pos`: where the token ends, or null
// when there is no such token at `pos`.

// An extended identifier, backslashes included; the first backslash after
// the opening one closes it.
inline const char* ExtendedIdentifierEnd(const char* pos, const char* end)
{
    const char* close = FindOnLine(pos + 1, end, '\\');
    return close ? close + 1 : nullptr;
}

// A string; one left open ends with its line (before the line feed).
inline const char* StringEnd(const char* pos, const char* end)
{
    if (const char* close = FindOnLine(pos + 1, end, '"')) return close + 1;
    const char* stop = NextLine(pos, end);
    return stop > pos + 1 && stop[-1] == '\n' ? stop - 1 : stop;
}

// A character literal ('0') or an attribute (x'high, read from its quote).
const char* QuoteEnd(const char* pos, const char* end)
{
    const char* word = pos + 1;
    const char* wordEnd = word;
    while (wordEnd < end && *wordEnd != '\'' && *wordEnd != ')' && !Is(*wordEnd, kBlank | kLineEnd)) ++wordEnd;
    const std::string_view text(word, static_cast<std::size_t>(wordEnd - word));
    const bool closed = wordEnd < end && *wordEnd == '\'';
    const bool attribute = (IsWord(text, "length") && !closed) || kAttributes.Contains(text);
    if (attribute) return wordEnd < end ? wordEnd : nullptr;
    const char* close = FindOnLine(wordEnd, end, '\'');
    return close ? close + 1 : nullptr;
}

// Whether the quote at `quote` opens a bit-string literal of the word that
// starts at `word`: a base specifier (B O X D, or B O X after U or S, any
// case), after an optional length ("12X"), that starts the word or follows a
// character no identifier holds.
bool OpensBitString(const char* word, const char* quote)
{
    const char* at = quote;
    if (at == word) return false;
    const char base = Lower(at[-1]);
    if (base != 'b' && base != 'o' && base != 'x' && base != 'd') return false;
    --at;
    if (base != 'd' && at > word && (Lower(at[-1]) == 'u' || Lower(at[-1]) == 's')) --at;
    while (at > word && at[-1] >= '0' && at[-1] <= '9') --at;
    return at == word || !Is(at[-1], kWordChar);
}

// Where a word goes on from the quote at `quote`: past a bit-string literal
// it opens (x"F---", whose don't-care digits start no comment), else on the
// quote itself. Rare: kept out of the loops that call it.
[[gnu::noinline, gnu::cold]] const char* PastQuoteInWord(const char* word, const char* quote, const char* end)
{
    return OpensBitString(word, quote) ? StringEnd(quote, end) - 1 : quote;
}

// The end of a word of any text that starts at `pos`: up to a delimiter or a
// comment; a bit-string literal in it is taken whole.
inline const char* AnyWordEnd(const char* pos, const char* end)
{
    const char* const word = pos;
    for (; pos < end; ++pos) {
        const unsigned char c = kClasses[static_cast<unsigned char>(*pos)];
        if ((c & (kDelimiter | kSpecial | kQuote)) == 0) continue;
        if ((c & kDelimiter) != 0) break;
        if ((c & kQuote) != 0)
            pos = PastQuoteInWord(word, pos, end);
        else if (IsCommentStart(pos, end))
            break;
    }
    return pos;
}

std::string_view ReadToken(const char*& pos, const char* end, bool anyText, bool newlineIsBlank, bool backslashIsPlain)
{
    SkipBlanksAndComments(pos, end, newlineIsBlank);
    if (pos >= end) return {};
    const char* start = pos;
    const char* stop = nullptr;
    const char first = *pos;
    if (first == '\\' && !backslashIsPlain) {
        stop = ExtendedIdentifierEnd(pos, end);
    } else if (anyText && first == '"') {
        stop = StringEnd(pos, end);
    } else if (anyText && first == '\'') {
        stop = QuoteEnd(pos, end);
    } else if (anyText) {
        stop = AnyWordEnd(pos, end);
    } else {
        if (!Is(first, kLetter)) return {};
        bool plainWord = true;
        for (; pos < end; ++pos) {
            const unsigned char c = kClasses[static_cast<unsigned char>(*pos)];
            if ((c & kWordChar) != 0) continue;
            if ((c & kDelimiter) != 0 || IsCommentStart(pos, end)) break;
            // A literal in the word is stepped over whole.
            if ((c & kQuote) != 0) pos = PastQuoteInWord(start, pos, end);
            plainWord = false;
        }
        if (!plainWord) return {};
        return {start, static_cast<std::size_t>(pos - start)};
    }
    if (stop == nullptr) return {};
    pos = stop;
    return {start, static_cast<std::size_t>(pos - start)};
}

// A word: an identifier or an extended identifier; a plain identifier is
// read in line.
std::string_view ReadName(const char*& pos, const char* end)
{
    const std::string_view name = PlainName(pos, end, kLetter, kWordChar);
    return name.empty() ? ReadToken(pos, end, false, true, false) : name;
}

// Any text: a plain word (no literal, no extended or escaped identifier)
// is read here, in line; everything else as ReadToken reads it.
[[gnu::always_inline]] inline std::string_view ReadAny(const char*& pos, const char* end)
{
    SkipBlanksAndComments(pos, end);
    if (pos < end && (kClasses[static_cast<unsigned char>(*pos)] & kDelimiter) == 0 && *pos != '\\' && *pos != '"' &&
        *pos != '\'') {
        const char* start = pos;
        pos = AnyWordEnd(pos, end);
        return {start, static_cast<std::size_t>(pos - start)};
    }
    return ReadToken(pos, end, true, true, false);
}

// The end of the token at `pos` that starts with neither a letter nor a
// delimiter nor a comment, as ReadAny reads it; one past `pos` when a quote
// or backslash there makes no token.
const char* OtherTokenEnd(const char* pos, const char* end)
{
    const char* stop = nullptr;
    if (*pos == '"')
        stop = StringEnd(pos, end);
    else if (*pos == '\'')
        stop = QuoteEnd(pos, end);
    else if (*pos == '\\')
        stop = ExtendedIdentifierEnd(pos, end);
    else
        stop = AnyWordEnd(pos, end);
    return stop ? stop : pos + 1;
}

// Skips a parenthesised group that starts at `pos`, nested groups, strings,
// literals, extended identifiers and comments included; the end when it is
// not closed. One pass over the characters: words are stepped over whole,
// and a character that starts no token is stepped over alone.
const char* SkipGroup(const char* pos, const char* end)
{
    std::size_t depth = 0;
    const auto word = [](const char*, const char*) __attribute__((always_inline))->const char* { return nullptr; };
    const auto other = [&](const char* at) __attribute__((always_inline))->WindowStep
    {
        if (IsCommentStart(at, end)) return {CommentEnd(at, end), false};
        return Is(*at, kDelimiter) ? GroupDelimiter(at, depth) : WindowStep{OtherTokenEnd(at, end), false};
    };
    // No word matters to a group but one that runs on into a literal or a
    // comment.
    const auto lead = [](char) __attribute__((always_inline)) { return false; };
    while (pos < end) {
        // Blanks, words, parentheses and lone delimiters a window at a time;
        // anything else takes one step below.
        if (const char* close = WalkMarked(pos, end, true, lead, word, other)) return close;
        if (pos >= end) break;
        const char c = *pos;
        const unsigned char kind = kClasses[static_cast<unsigned char>(c)];
        // The common characters first: words, and runs of blanks.
        if ((kind & kWordChar) != 0) {
            pos = AnyWordEnd(pos, end);
        } else if ((kind & (kBlank | kLineEnd)) != 0) {
            SkipBlanks(pos, end, true);
        } else if (c == '(') {
            ++depth;
            ++pos;
        } else if (c == ')') {
            ++pos;
            if (--depth == 0) return pos;
        } else if ((kind & kDelimiter) != 0) {
            ++pos;  // , . : [ ] ;
        } else if ((c == '-' || c == '/') && IsCommentStart(pos, end)) {
            pos = CommentEnd(pos, end);
        } else if (c == '"') {
            pos = StringEnd(pos, end);
        } else if (c == '\'' || c == '\\') {
            const char* stop = c == '\'' ? QuoteEnd(pos, end) : ExtendedIdentifierEnd(pos, end);
            pos = stop ? stop : pos + 1;  // a character that makes no token
        } else {
            pos = AnyWordEnd(pos, end);
        }
    }
    return end;
}

// Past the choices of a case alternative ("when 1 =>", "when alt : 1 =>")
// at `pos`, which stand before the statements of the alternative: in a case
// generate, instances, to be read on their own. Choices end at the "=>"; a
// ";" before it ends the look, and `pos` is the answer; so does an arrow
// zorpaVHDLLongestChoices bytes or more from the "when": text full of
// "when" is looked at a bounded length from each, not to its end from
// each. Rare: kept out of the statement walk.
[[gnu::noinline]] const char* PastCaseChoices(const char* pos, const char* end)
{
    const char* at = pos;
    if (!IsWord(ReadName(at, end), "when")) return pos;
    const char* const limit = end - pos > zorpaVHDLLongestChoices ? pos + zorpaVHDLLongestChoices : end;
    for (;;) {
        SkipBlanksAndComments(at, end);
        if (at >= limit || *at == ';') return pos;
        if (*at == '=' && end - at >= 2 && at[1] == '>') return at + 2;
        // Literals and extended identifiers whole, anything else a byte at
        // a time: an arrow may follow a choice without a blank.
        at = *at == '"' || *at == '\'' || *at == '\\' ? OtherTokenEnd(at, end) : at + 1;
    }
}

// Whether the word at `pos` is "work", the file's own library, where every
// instance is looked for anyway: asked in line of nearly every direct
// instantiation.
inline bool IsWork(const char* pos, const char* end)
{
    return end - pos > 4 && Lower(pos[0]) == 'w' && Lower(pos[1]) == 'o' && Lower(pos[2]) == 'r' &&
           Lower(pos[3]) == 'k' && Is(pos[4], kDelimiter);
}

// The library of a selected name ("mylib.alu") that starts at `selected`.
[[gnu::noinline, gnu::cold]] std::string_view LibraryOfSelectedName(const char* selected, const char* end)
{
    return ReadName(selected, end);
}

// Whether the next character, after blanks and comments, is `c`; `pos`
// then stands on it.
bool NextIs(const char*& pos, const char* end, char c)
{
    SkipBlanksAndComments(pos, end);
    return pos < end && *pos == c;
}

// Whether only the statement's closing ";" is left.
bool AtClosingSemicolon(const char* pos, const char* end)
{
    SkipBlanksAndComments(pos, end);
    return pos == end - 1 && *pos == ';';
}

// The bounds of the first parenthesised range of a port's type: its first
// and third word.
void ReadRange(const char* pos, const char* end, std::int32_t& left, std::int32_t& right)
{
    ++pos;  // the "("
    const std::string_view first = ReadAny(pos, end);
    ReadAny(pos, end);
    const std::string_view third = ReadAny(pos, end);
    left = first.empty() ? -1 : BrennicAToI(first);
    right = third.empty() ? -1 : BrennicAToI(third);
}

}  // namespace

template <class T>
zorpaVHDLParser<T>::zorpaVHDLParser(T prototype, T nullModule) : ZorpaParser<T>(prototype, nullModule, zorpaMODULE_VHDL)
{
}

template <class T>
bool zorpaVHDLParser<T>::skipComment(const char*& pos, const char* end)
{
    return SkipComments(pos, end);
}

template <class T>
std::string_view zorpaVHDLParser<T>::readToken(const char*& pos, const char* end, bool anyText, bool newlineIsBlank,
                                               bool backslashIsPlain)
{
    return ReadToken(pos, end, anyText, newlineIsBlank, backslashIsPlain);
}

template <class T>
const char* zorpaVHDLParser<T>::findStatementEnd(const char* pos, const char* end)
{
    bool first = true;
    m_memo.BeginGroups(pos);
    // The choices of a case alternative are a statement of their own.
    if (pos < end && (*pos | 0x20) == 'w')
        if (const char* choicesEnd = PastCaseChoices(pos, end); choicesEnd != pos) return choicesEnd;
    // A word ends the statement, or stops a component's header.
    const auto endsAfter = [&](const char* tokenStart, const char*& at) {
        const std::string_view token(tokenStart, static_cast<std::size_t>(at - tokenStart));
        if (kBodyWords.Contains(token)) return true;
        if (!first && !m_packageName.empty() && (IsWord(token, "generic") || IsWord(token, "port"))) {
            // A component's header stands alone before its generic and port clauses.
            const char* next = at;
            if (NextIs(next, end, '(')) {
                at = tokenStart;
                return true;
            }
        }
        first = false;
        return false;
    };
    // The lengths of the words looked for: no other word is looked at.
    const unsigned lengths = (1u << 2) | (1u << 5) | (1u << 8) | (m_packageName.empty() ? 0u : (1u << 4) | (1u << 7));
    WindowCache windows;
    // Words of other lengths or first letters are passed over.
    const auto word = [&](const char* start, const char* stop) __attribute__((always_inline))->const char*
    {
        if (((lengths >> (stop - start)) & 1u) == 0 || !kLeadLetters[static_cast<unsigned char>(*start)]) {
            first = false;
            return nullptr;
        }
        return endsAfter(start, stop) ? stop : nullptr;
    };
    const auto other = [&](const char* at) __attribute__((always_inline))->WindowStep
    {
        if (*at == ';' || *at == '@') return {at + 1, true};
        if (IsCommentStart(at, end)) return {CommentEnd(at, end), false};
        if (*at == '(') {
            // A group is skipped whole, as the step below skips it.
            const char* groupEnd = SkipGroup(at, end);
            m_memo.AddGroup(at, groupEnd);
            return {groupEnd, false};
        }
        // A delimiter, or a token that starts with no letter: no word looked for.
        first = false;
        return {Is(*at, kDelimiter) ? at + 1 : OtherTokenEnd(at, end), false};
    };
    // Outside a package only the body words matter, wherever they stand:
    // the other words are passed over unread.
    const auto lead = [](char c) __attribute__((always_inline)) { return kLeadLetters[static_cast<unsigned char>(c)]; };
    const auto bodyWord = [&](const char* start, const char* stop) __attribute__((always_inline))->const char*
    {
        if (((lengths >> (stop - start)) & 1u) == 0) return nullptr;
        return kBodyWords.Contains(std::string_view(start, static_cast<std::size_t>(stop - start))) ? stop : nullptr;
    };
    const bool inPackage = !m_packageName.empty();
    for (;;) {
        // Plain words, blanks and lone delimiters a window at a time; a word
        // that runs on into other characters, and every other byte, takes
        // the step below, which reads them as ReadAny does.
        if (const char* stop = inPackage ? WalkWindows(windows, pos, end, true, word, other)
                                         : WalkMarked(pos, end, true, lead, bodyWord, other))
            return stop;
        SkipBlanksAndComments(pos, end);
        while (pos < end && *pos == '(') {
            const char* groupEnd = SkipGroup(pos, end);
            m_memo.AddGroup(pos, groupEnd);
            pos = groupEnd;
            SkipBlanksAndComments(pos, end);
        }
        if (pos >= end) return end;
        if (*pos == ';' || *pos == '@') return pos + 1;
        if (Is(*pos, kDelimiter)) {  // , . : ( ) [ ]: no token
            ++pos;
            first = false;
            continue;
        }
        const char* tokenStart = pos;
        if (ReadAny(pos, end).empty()) {
            pos = tokenStart + 1;
            first = false;
        } else if (endsAfter(tokenStart, pos)) {
            return pos;
        }
    }
}

template <class T>
const char* zorpaVHDLParser<T>::skipGroup(const char* pos, const char* end) const
{
    return m_memo.SkipGroup(this->currentStatement(), pos, end, SkipGroup);
}

template <class T>
std::string_view zorpaVHDLParser<T>::firstName(const char* start, const char* end, const char*& after)
{
    return m_memo.FirstWord(this->currentStatement(), start, end, after, ReadName);
}

template <class T>
std::string_view zorpaVHDLParser<T>::declaredUnitName(const char* start, const char* end)
{
    if (!EndsWith(start, end, 's') && !EndsWith(start, end, 'S')) return {};
    const char* pos = nullptr;
    if (!IsWord(firstName(start, end, pos), "entity")) return {};
    const std::string_view name = ReadName(pos, end);
    if (!name.empty()) m_inEntity = true;
    return name;
}

template <class T>
std::string_view zorpaVHDLParser<T>::instantiatedUnitName(const char* start, const char* end)
{
    if (!EndsWith(start, end, ';')) return {};
    const char* pos = nullptr;
    if (firstName(start, end, pos).empty() || !NextIs(pos, end, ':')) return {};
    ++pos;
    std::string_view name = ReadName(pos, end);
    const bool entity = IsWord(name, "entity");
    if (entity || IsWord(name, "component")) name = ReadName(pos, end);
    if (name.empty()) return {};
    // A library (and package) prefix: the last part names the unit.
    const char* const selected = name.data();
    while (NextIs(pos, end, '.')) {
        ++pos;
        name = ReadName(pos, end);
        if (name.empty()) return {};
    }
    // An entity may be followed by the architecture to use: "entity work.mid(rtl)".
    if (entity && NextIs(pos, end, '(')) pos = skipGroup(pos, end);
    std::string_view word = ReadName(pos, end);
    if (IsWord(word, "generic")) {
        if (!IsWord(ReadName(pos, end), "map") || !NextIs(pos, end, '(')) return {};
        pos = skipGroup(pos, end);
        word = ReadName(pos, end);
    }
    if (!IsWord(word, "port") || !IsWord(ReadName(pos, end), "map") || !NextIs(pos, end, '(')) return {};
    pos = skipGroup(pos, end);
    if (!AtClosingSemicolon(pos, end)) return {};
    // An entity's prefix is its library, where the unit is looked for first.
    if (entity && name.data() != selected && !IsWork(selected, end))
        this->setInstanceLibrary(LibraryOfSelectedName(selected, end));
    return name;
}

template <class T>
bool zorpaVHDLParser<T>::otherStatement(const char* start, const char* end)
{
    return packageDeclaration(start, end) || architectureBody(start, end) || endOfEntity(start, end) ||
           endOfPackage(start, end) || endOfComponent(start, end) || componentDeclaration(start, end) ||
           useClause(start, end);
}

template <class T>
bool zorpaVHDLParser<T>::mayConcernUnits(const char* start, const char* end)
{
    // Every statement operation but the structural test looks for one of
    // these words first, or for a label: a name and a colon.
    const char* pos = nullptr;
    const std::string_view first = firstName(start, end, pos);
    return !first.empty() && (kLeadWords.Contains(first) || NextIs(pos, end, ':'));
}

template <class T>
bool zorpaVHDLParser<T>::packageDeclaration(const char* start, const char* end)
{
    if (!EndsWith(start, end, 's') && !EndsWith(start, end, 'S')) return false;
    const char* pos = nullptr;
    if (!IsWord(firstName(start, end, pos), "package")) return false;
    const std::string_view name = ReadName(pos, end);
    if (name.empty() || !IsWord(ReadName(pos, end), "is")) return false;  // a package body has "body" here
    const std::string package(name);
    this->addDeclaredUnit(package, true);
    this->addPackageName(package);
    m_packageName = package;
    return true;
}

template <class T>
bool zorpaVHDLParser<T>::architectureBody(const char* start, const char* end)
{
    // "architecture <name> of <entity> is": the statements up to the next
    // unit belong to that entity.
    if (!EndsWith(start, end, 's') && !EndsWith(start, end, 'S')) return false;
    const char* pos = nullptr;
    if (!IsWord(firstName(start, end, pos), "architecture") || ReadName(pos, end).empty() ||
        !IsWord(ReadName(pos, end), "of"))
        return false;
    const std::string_view entity = ReadName(pos, end);
    if (entity.empty() || !IsWord(ReadName(pos, end), "is")) return false;
    m_inEntity = false;
    this->enterUnitBody(std::string(entity));
    return true;
}

template <class T>
bool zorpaVHDLParser<T>::endOfEntity(const char* start, const char* end)
{
    if (!this->hasCurrentUnit() || !m_inEntity || !EndsWith(start, end, ';')) return false;
    const char* pos = nullptr;
    if (!IsWord(firstName(start, end, pos), "end")) return false;
    const char* afterEnd = pos;
    std::string_view word = ReadName(pos, end);
    if (!IsWord(word, "entity")) pos = afterEnd;
    const char* afterKeyword = pos;
    word = ReadName(pos, end);
    if (word.empty()) {
        pos = afterKeyword;
    } else if (!IsWord(word, Lowered(this->currentUnit()->GetName()))) {
        return false;
    }
    if (!AtClosingSemicolon(pos, end)) return false;
    m_inEntity = false;
    return true;
}

template <class T>
bool zorpaVHDLParser<T>::endOfPackage(const char* start, const char* end)
{
    if (!this->hasCurrentUnit() || m_packageName.empty() || !EndsWith(start, end, ';')) return false;
    const char* pos = nullptr;
    if (!IsWord(firstName(start, end, pos), "end")) return false;
    const char* afterEnd = pos;
    if (!IsWord(ReadName(pos, end), "package")) pos = afterEnd;
    const char* afterKeyword = pos;
    const std::string_view name = ReadName(pos, end);
    if (name.empty()) {
        pos = afterKeyword;
    } else if (!IsWord(name, Lowered(m_packageName))) {
        return false;
    }
    if (!AtClosingSemicolon(pos, end)) return false;
    m_packageName.clear();
    return true;
}

template <class T>
bool zorpaVHDLParser<T>::endOfComponent(const char* start, const char* end)
{
    if (!this->hasCurrentUnit() || m_packageName.empty() || !EndsWith(start, end, ';')) return false;
    const char* pos = nullptr;
    if (!IsWord(firstName(start, end, pos), "end") || !IsWord(ReadName(pos, end), "component")) return false;
    const char* afterKeyword = pos;
    const std::string_view name = ReadName(pos, end);
    if (name.empty()) {
        pos = afterKeyword;
    } else if (this->m_currentComponent == this->nullModule() ||
               !IsWord(name, Lowered(this->m_currentComponent->GetName()))) {
        return false;
    }
    if (!AtClosingSemicolon(pos, end)) return false;
    m_inComponent = false;
    this->m_currentComponent = this->nullModule();
    return true;
}

template <class T>
bool zorpaVHDLParser<T>::componentDeclaration(const char* start, const char* end)
{
    if (m_packageName.empty()) return false;
    const char* pos = nullptr;
    if (!IsWord(firstName(start, end, pos), "component")) return false;
    const std::string_view name = ReadName(pos, end);
    if (name.empty()) return false;
    m_inComponent = true;
    this->m_currentComponent = this->addInstance(std::string(name));
    return true;
}

template <class T>
bool zorpaVHDLParser<T>::useClause(const char* start, const char* end)
{
    if (!EndsWith(start, end, ';')) return false;
    const char* pos = nullptr;
    if (!IsWord(firstName(start, end, pos), "use")) return false;
    const std::string_view library = ReadName(pos, end);
    if (library.empty() || !NextIs(pos, end, '.')) return false;
    ++pos;
    const std::string_view item = ReadAny(pos, end);
    if (item.empty()) return false;
    std::string_view last;
    if (!IsWord(item, "all")) {
        if (!NextIs(pos, end, '.')) return false;
        ++pos;
        last = ReadAny(pos, end);
        if (last.empty()) return false;
    }
    // The IEEE libraries (written so) define no design unit of the project:
    // nearly every file names one, and no text is made for it.
    if (library == "ieee") return false;
    std::string text;
    text.append(library).append(".").append(item);
    if (!last.empty()) text.append(".").append(last);
    this->addUseClause(std::move(text));
    return true;
}

template <class T>
bool zorpaVHDLParser<T>::isStructuralStatement(const char* start, const char* end)
{
    const char* pos = start;
    bool first = true;
    for (;;) {
        const std::string_view token = ReadAny(pos, end);
        if (token.empty()) return true;
        if (kBehaviourWords.Contains(token)) return false;
        if (kBehaviourOperators.Contains(token) && (pos >= end || Is(*pos, kBlank | kLineEnd))) return false;
        if (first) {
            // A statement's label ("p1 : process") is stepped over; ":=" is
            // no label.
            const char* colon = pos;
            if (NextIs(colon, end, ':') && (colon + 1 >= end || colon[1] != '=')) pos = colon + 1;
            first = false;
        }
    }
}

template <class T>
ZorpaPortList zorpaVHDLParser<T>::readPorts(const char* start, const char* end)
{
    if ((!m_inEntity && !m_inComponent) || !EndsWith(start, end, ';')) return {};
    const char* pos = nullptr;
    if (!IsWord(firstName(start, end, pos), "port") || !NextIs(pos, end, '(')) return {};
    ++pos;
    auto ports = boost::make_shared<std::deque<boost::shared_ptr<ZorpaPort>>>();
    std::vector<boost::shared_ptr<ZorpaPort>> group;
    for (;;) {
        // names ":" mode type
        group.clear();
        do {
            if (!group.empty()) ++pos;  // the ","
            const std::string_view name = ReadName(pos, end);
            if (name.empty()) return {};
            group.push_back(boost::make_shared<ZorpaPort>(std::string(name), ZorpaPort::NotSet, this->GetUnitKind()));
        } while (NextIs(pos, end, ','));
        if (!NextIs(pos, end, ':')) return {};
        ++pos;
        const std::string_view mode = ReadName(pos, end);
        const std::uint32_t direction = IsWord(mode, "in")      ? ZorpaPort::In
                                        : IsWord(mode, "inout") ? ZorpaPort::InOut
                                                                : ZorpaPort::Out;
        std::int32_t left = -1;
        std::int32_t right = -1;
        bool ranged = false;
        // The type, up to the ";" or ")" that ends the group.
        for (;;) {
            SkipBlanksAndComments(pos, end);
            if (pos >= end || *pos == ';' || *pos == ')') break;
            if (*pos == '(') {
                if (!ranged) ReadRange(pos, end, left, right);
                ranged = true;
                pos = SkipGroup(pos, end);
            } else if (ReadAny(pos, end).empty() && pos < end && *pos != '(' && *pos != ')' && *pos != ';') {
                ++pos;
            }
        }
        for (const auto& port : group) {
            port->SetDirection(direction);
            port->SetBounds(left, right);
            ports->push_back(port);
        }
        if (pos >= end) return {};  // the clause is cut off before its ")"
        if (*pos++ == ')') return ports;
    }
}

template class zorpaVHDLParser<ImodelModule*>;
