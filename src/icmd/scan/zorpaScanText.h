// Character classes and small text helpers shared by the HDL scanners. The
// scanners walk one text buffer with plain pointers and hand out views into
// it, so nothing here copies text.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <boost/container/small_vector.hpp>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorpaScan {

enum CharClass : unsigned char {
    kBlank = 1,         // space, tab
    kLineEnd = 2,       // carriage return, line feed
    kDelimiter = 4,     // ends a word: blanks, line ends, ; , . : ( ) [ ]
    kLetter = 8,        // a-z A-Z
    kWordChar = 16,     // letters, digits, _
    kVerilogChar = 32,  // letters, digits, _, $
    kSpecial = 64,      // - / # : may start a comment or end a name
    kQuote = 128,       // " may open a string inside a word
};

constexpr std::array<unsigned char, 256> MakeClasses()
{
    std::array<unsigned char, 256> classes{};
    classes[' '] = classes['\t'] = kBlank | kDelimiter;
    classes['\r'] = classes['\n'] = kLineEnd | kDelimiter;
    for (unsigned char c : std::string_view(";,.:()[]")) classes[c] = kDelimiter;
    for (int c = 'a'; c <= 'z'; ++c) classes[c] = classes[c - 'a' + 'A'] = kLetter | kWordChar | kVerilogChar;
    for (int c = '0'; c <= '9'; ++c) classes[c] = kWordChar | kVerilogChar;
    classes['_'] = kWordChar | kVerilogChar;
    classes['$'] = kVerilogChar;
    classes['-'] = classes['/'] = classes['#'] = kSpecial;
    classes['"'] = kQuote;
    return classes;
}

// Internal to each scanner's translation unit, so that the hot loops reach
// it directly rather than through the shared library's symbol table.
constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

inline bool Is(char c, unsigned char mask) { return (kClasses[static_cast<unsigned char>(c)] & mask) != 0; }

inline char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string Lowered(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) c = Lower(c);
    return lower;
}

// Whether the token is the word, letter case ignored; `word` is lower case.
inline bool IsWord(std::string_view token, std::string_view word)
{
    if (token.size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (Lower(token[i]) != word[i]) return false;
    return true;
}

// Whether the token is one of the words (each lower case), case ignored.
template <std::size_t N>
bool IsOneOf(std::string_view token, const std::array<std::string_view, N>& words)
{
    for (std::string_view word : words)
        if (IsWord(token, word)) return true;
    return false;
}

// The same with the letter case compared.
template <std::size_t N>
bool IsOneOfExactly(std::string_view token, const std::array<std::string_view, N>& words)
{
    for (std::string_view word : words)
        if (token == word) return true;
    return false;
}

// A set of words for the hot loops: a token is first checked against the
// lengths of the words that start with its first character, so that most
// tokens are refused after one table look-up, and is then compared with
// those words only. Words are at most 31 characters, at most 255 of them;
// with `ignoreCase` they are given in lower case.
template <std::size_t N>
class WordSet {
public:
    constexpr WordSet(const std::array<std::string_view, N>& words, bool ignoreCase)
        : m_words(words), m_ignoreCase(ignoreCase)
    {
        static_assert(N < 256);
        std::sort(m_words.begin(), m_words.end(), [](std::string_view a, std::string_view b) { return a[0] < b[0]; });
        for (std::size_t i = 0; i < N; ++i) {
            const auto first = static_cast<unsigned char>(m_words[i][0]);
            if (m_from[first] == m_to[first]) m_from[first] = static_cast<std::uint8_t>(i);
            m_to[first] = static_cast<std::uint8_t>(i + 1);
            m_lengths[first] |= 1u << m_words[i].size();
        }
    }

    bool Contains(std::string_view token) const
    {
        if (token.empty() || token.size() > 31) return false;
        const auto first = static_cast<unsigned char>(m_ignoreCase ? Lower(token[0]) : token[0]);
        if (((m_lengths[first] >> token.size()) & 1u) == 0) return false;
        for (std::size_t i = m_from[first]; i < m_to[first]; ++i)
            if (m_ignoreCase ? IsWord(token, m_words[i]) : token == m_words[i]) return true;
        return false;
    }

private:
    // The words sorted by their first character; those starting with c are
    // [m_from[c], m_to[c]).
    std::array<std::string_view, N> m_words;
    bool m_ignoreCase;
    std::array<std::uint32_t, 256> m_lengths{};
    std::array<std::uint8_t, 256> m_from{};
    std::array<std::uint8_t, 256> m_to{};
};

// Sixteen bytes of text classed at once, bit i for the byte at i: the
// walks step over plain runs and blanks a window at a time and look at the
// other bytes one by one. Blanks are space, tab, carriage return and line
// feed. A plain byte neither ends a word nor starts a comment, a string, a
// literal or a name of another kind, inside a word or at its start: letters,
// digits and operators, every byte below 128 but control bytes, ! " ( ) , .
// [ \ ] : ; - / and, in VHDL, ' @. A run of plain bytes
// that a delimiter ends is one word to every token reader of the scanners.
struct Window {
    unsigned plain;
    unsigned blank;
};

// The same, a byte at a time: for machines without SSE2, and the measure
// the vector form is held to.
inline bool IsPlainByte(char byte, bool vhdl)
{
    const auto c = static_cast<signed char>(byte);
    const auto within = [c](char low, char high) { return c >= low && c <= high; };
    return !(c < '#' || within(':', ';') || within(vhdl ? '\'' : '(', ')') || within('[', ']') || within(',', '/') ||
             (vhdl && c == '@'));
}

inline Window ClassWindowByBytes(const char* at, bool vhdl)
{
    Window window{0, 0};
    for (unsigned i = 0; i < 16; ++i) {
        const char c = at[i];
        if (IsPlainByte(c, vhdl)) window.plain |= 1u << i;
        if (c == ' ' || c == '\n' || c == '\t' || c == '\r') window.blank |= 1u << i;
    }
    return window;
}

inline Window ClassWindow(const char* at, bool vhdl)
{
#if !defined(__SSE2__)
    return ClassWindowByBytes(at, vhdl);
#else
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const auto within = [&bytes](char low, char high) {
        return _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8(static_cast<char>(low - 1))),
                             _mm_cmplt_epi8(bytes, _mm_set1_epi8(static_cast<char>(high + 1))));
    };
    // Bytes from 128 up are negative here.
    __m128i other = _mm_or_si128(_mm_or_si128(_mm_cmplt_epi8(bytes, _mm_set1_epi8('#')), within(':', ';')),
                                 _mm_or_si128(within(vhdl ? '\'' : '(', ')'), within('[', ']')));
    other = _mm_or_si128(other, within(',', '/'));
    if (vhdl) other = _mm_or_si128(other, _mm_cmpeq_epi8(bytes, _mm_set1_epi8('@')));
    const __m128i blank = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))),
        _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r'))));
    return {~static_cast<unsigned>(_mm_movemask_epi8(other)) & 0xFFFFu,
            static_cast<unsigned>(_mm_movemask_epi8(blank))};
#endif
}

// The first bit at or above `from` that is clear in `mask` (16 when none
// of the window's).
inline unsigned RunEnd(unsigned mask, unsigned from)
{
    return static_cast<unsigned>(__builtin_ctz((~mask & (~0u << from)) | 0x10000u));
}

// The window a walk classed last: the steps that read other tokens mostly
// leave the walk inside it.
struct WindowCache {
    const char* base = nullptr;
    Window window{};
};

// What a walk does at a byte that is neither blank nor plain: goes on at
// `to` (past a delimiter or a comment), ends with `to` when `done`, or, for
// a null `to`, leaves the byte to the walk's own step.
struct WindowStep {
    const char* to;
    bool done;
};

// Steps over blanks, plain words and the bytes `other` takes, a window of
// sixteen bytes at a time, while sixteen bytes are left. `word(start, stop)`
// is told of every run of plain bytes that a delimiter ends: a word to
// every token reader; a non-null answer ends the walk with it. Returns the
// end of the walk, or null with `pos` at the token or byte for the walk's
// own step (a word that runs on into other bytes is read from its start).
template <class Word, class Other>
[[gnu::always_inline]] inline const char* WalkWindows(WindowCache& cache, const char*& pos, const char* end, bool vhdl,
                                                      Word word, Other other)
{
    while (end - pos >= 16) {
        if (cache.base == nullptr || pos < cache.base || pos - cache.base >= 16) {
            cache.base = pos;
            cache.window = ClassWindow(pos, vhdl);
        }
        const char* const base = cache.base;
        const Window window = cache.window;
        unsigned at = static_cast<unsigned>(pos - base);
        for (;;) {
            if (at >= 16) {
                pos = base + 16;
                break;
            }
            if ((window.blank >> at) & 1u) {
                at = RunEnd(window.blank, at);
            } else if ((window.plain >> at) & 1u) {
                const unsigned stop = RunEnd(window.plain, at);
                if (stop == 16 || !Is(base[stop], kDelimiter)) {
                    pos = base + at;
                    if (at == 0 || stop != 16) return nullptr;
                    cache.base = nullptr;  // read again in a window that starts with it
                    break;
                }
                if (const char* done = word(base + at, base + stop)) return done;
                at = stop;
            } else {
                const WindowStep step = other(base + at);
                if (step.done) return step.to;
                if (step.to == nullptr) {
                    pos = base + at;
                    return nullptr;
                }
                if (step.to - base >= 16) {
                    pos = step.to;
                    break;
                }
                at = static_cast<unsigned>(step.to - base);
            }
        }
    }
    return nullptr;
}

// The same walk for walks that look at few words: only the bytes that are
// neither blank nor plain and the first byte of each word are visited; a
// word is read, as WalkWindows reads it, only when `lead` takes its first
// byte, and of the delimiters only parentheses and ";" are handed to
// `other`. A word that runs on into a byte that is neither plain nor a
// delimiter is left, from its start, to the walk's own step, as WalkWindows
// leaves it.
template <class Lead, class Word, class Other>
[[gnu::always_inline]] inline const char* WalkMarked(const char*& pos, const char* end, bool vhdl, Lead lead, Word word,
                                                     Other other)
{
    // No word the walk is in starts before `floor`: where it started or
    // where its last step went on.
    const char* floor = pos;
    while (end - pos >= 16) {
        const char* const base = pos;
        const Window window = ClassWindow(base, vhdl);
        const unsigned before = base > floor && IsPlainByte(base[-1], vhdl) ? 1u : 0u;
        unsigned marked = (~(window.plain | window.blank) | (window.plain & ~((window.plain << 1) | before))) & 0xFFFFu;
        pos = base + 16;
        while (marked != 0) {
            const unsigned at = static_cast<unsigned>(__builtin_ctz(marked));
            marked &= marked - 1;
            const char* const here = base + at;
            if ((window.plain >> at) & 1u) {
                // The first byte of a word.
                if (!lead(*here)) continue;
                const unsigned stop = RunEnd(window.plain, at);
                if (stop == 16) {
                    // Read again in a window that starts with it, or, as
                    // long as a window, by the walk's own step.
                    pos = here;
                    if (at == 0) return nullptr;
                    break;
                }
                if (!Is(base[stop], kDelimiter)) {
                    pos = here;
                    return nullptr;
                }
                if (const char* done = word(here, base + stop)) return done;
                continue;
            }
            if (Is(*here, kDelimiter)) {
                // Only parentheses and ";" tell a marked walk anything.
                if (*here != '(' && *here != ')' && *here != ';') continue;
            } else if (here > floor && IsPlainByte(here[-1], vhdl)) {
                // The end of a word that runs on into this byte.
                const char* start = here - 1;
                while (start > floor && IsPlainByte(start[-1], vhdl)) --start;
                pos = start;
                return nullptr;
            }
            const WindowStep step = other(here);
            if (step.done) return step.to;
            if (step.to == nullptr) {
                pos = here;
                return nullptr;
            }
            // Past a delimiter: the byte after it is marked as it should be.
            if (step.to == here + 1 && Is(*here, kDelimiter)) continue;
            floor = step.to;
            if (step.to - base >= 16) {
                pos = step.to;
                break;
            }
            // Bytes the step went over are not visited; a word may start
            // where it went on.
            const auto from = static_cast<unsigned>(step.to - base);
            marked &= ~0u << from;
            marked |= window.plain & (1u << from);
        }
    }
    // The walk's own step reads the rest, from the start of a word it stopped in.
    while (pos > floor && IsPlainByte(pos[-1], vhdl)) --pos;
    return nullptr;
}

// A delimiter met by a walk that skips a group: where the walk goes on,
// or, at the parenthesis that closes the group, the group's end.
inline WindowStep GroupDelimiter(const char* at, std::size_t& depth)
{
    if (*at == '(') {
        ++depth;
    } else if (*at == ')' && --depth == 0) {
        return {at + 1, true};
    }
    return {at + 1, false};
}

// The common case of the scanners' name readers, read in line: after
// blanks and line ends, a byte of class `first`, bytes of class `rest`, and
// a delimiter or the end. Empty, with `pos` unmoved, for any other text.
inline std::string_view PlainName(const char*& pos, const char* end, unsigned char first, unsigned char rest)
{
    const char* start = pos;
    while (start < end && Is(*start, kBlank | kLineEnd)) ++start;
    if (start == end || !Is(*start, first)) return {};
    const char* stop = start + 1;
    while (stop < end && Is(*stop, rest)) ++stop;
    if (stop < end && !Is(*stop, kDelimiter)) return {};
    pos = stop;
    return {start, static_cast<std::size_t>(stop - start)};
}

// Skips blanks, and line ends too with `lineEnds`.
inline void SkipBlanks(const char*& pos, const char* end, bool lineEnds)
{
    const unsigned char mask = lineEnds ? (kBlank | kLineEnd) : kBlank;
    while (pos < end && Is(*pos, mask)) ++pos;
}

// The first `c` in [pos, end), or null.
inline const char* Find(const char* pos, const char* end, char c)
{
    return pos < end ? static_cast<const char*>(std::memchr(pos, c, static_cast<std::size_t>(end - pos))) : nullptr;
}

// The first `c` in [pos, end) that comes before any `stop`, or null: one
// pass, so that a search on a long line costs the distance to what it
// finds, not the length of the line.
inline const char* FindBefore(const char* pos, const char* end, char c, char stop)
{
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    const __m128i stops = _mm_set1_epi8(stop);
    for (; end - pos >= 16; pos += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pos));
        const auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)));
        const auto stopped = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, stops)));
        if ((found | stopped) == 0) continue;
        const unsigned at = static_cast<unsigned>(__builtin_ctz(found | stopped));
        return ((found >> at) & 1u) != 0 ? pos + at : nullptr;
    }
#endif
    for (; pos < end; ++pos) {
        if (*pos == c) return pos;
        if (*pos == stop) return nullptr;
    }
    return nullptr;
}

// The start of the next line: past the next line feed, or the end.
inline const char* NextLine(const char* pos, const char* end)
{
    const char* lineFeed = Find(pos, end, '\n');
    return lineFeed ? lineFeed + 1 : end;
}

// The end of a word of any text that starts at `pos`: up to a delimiter or
// the start of a comment of the scanner's language.
template <class CommentStart>
const char* AnyWordEnd(const char* pos, const char* end, CommentStart isCommentStart)
{
    for (; pos < end; ++pos) {
        const unsigned char c = kClasses[static_cast<unsigned char>(*pos)];
        if ((c & (kDelimiter | kSpecial)) != 0 && ((c & kDelimiter) != 0 || isCommentStart(pos, end))) break;
    }
    return pos;
}

// Whether the statement [start, end) ends with that character.
inline bool EndsWith(const char* start, const char* end, char c) { return end > start && end[-1] == c; }

// What a scanner keeps of the statement its walk is at, so that the
// operations that each look at that statement do not read it again: the
// outermost groups findStatementEnd met in it and its first word.
class StatementMemo {
public:
    // The groups met from here on belong to the statement starting at `start`.
    void BeginGroups(const char* start)
    {
        m_groupsOf = start;
        m_groups.clear();
    }
    // An outermost group of the statement; they come in the order of the text.
    void AddGroup(const char* from, const char* to) { m_groups.emplace_back(from, to); }

    // Skips the group at `pos` as `skip` does; one that was met closed in
    // `statement` (the walk's statement, which ends at `end`) is not read
    // again. A statement of thousands of instances holds as many groups:
    // they are found by position.
    template <class Statement, class Skip>
    const char* SkipGroup(const Statement& statement, const char* pos, const char* end, Skip skip) const
    {
        if (statement.number == 0 || statement.start != m_groupsOf || statement.end != end) return skip(pos, end);
        const auto group = std::lower_bound(m_groups.begin(), m_groups.end(), pos,
                                            [](const auto& each, const char* at) { return each.first < at; });
        if (group != m_groups.end() && group->first == pos && group->second <= end) return group->second;
        return skip(pos, end);
    }

    // The first word of [start, end) as `read` reads it, `after` behind it;
    // read once per statement of the walk.
    template <class Statement, class Read>
    std::string_view FirstWord(const Statement& statement, const char* start, const char* end, const char*& after,
                               Read read)
    {
        if (statement.number == 0 || statement.start != start || statement.end != end) {
            after = start;
            return read(after, end);
        }
        if (m_firstOf != statement.number) {
            m_afterFirst = start;
            m_first = read(m_afterFirst, end);
            m_firstOf = statement.number;
        }
        after = m_afterFirst;
        return m_first;
    }

private:
    const char* m_groupsOf = nullptr;
    // Most statements hold a group or two: those are kept in place, so that
    // the scanner made for a file makes no block for them.
    boost::container::small_vector<std::pair<const char*, const char*>, 4> m_groups;
    std::uint64_t m_firstOf = 0;
    std::string_view m_first;
    const char* m_afterFirst = nullptr;
};

}  // namespace zorpaScan

class NdbWorld;

namespace zorpaScan {

// The netlist world of one scan: the caller's, or a temporary world "temp"
// that is deleted, with the cell library read for it, when the scan ends.
class ScanWorld {
public:
    explicit ScanWorld(NdbWorld* given);
    ~ScanWorld();
    ScanWorld(const ScanWorld&) = delete;
    ScanWorld& operator=(const ScanWorld&) = delete;
    NdbWorld* Get() const { return m_world; }

private:
    NdbWorld* m_world;
    bool m_owned;
};

}  // namespace zorpaScan
