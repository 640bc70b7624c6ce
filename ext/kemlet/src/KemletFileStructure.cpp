#include "kemlet/KemletFileStructure.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace {

// Known at compile time, so that each test is a compare of a few bytes
// rather than a call: a project file has a line per member and per view.
constexpr std::string_view kKey = "KEY ";
constexpr std::string_view kList = "LIST ";
constexpr std::string_view kEndList = "ENDLIST";
constexpr std::string_view kValue = "VALUE \"";

constexpr bool StartsWith(std::string_view line, std::string_view prefix)
{
    return line.substr(0, prefix.size()) == prefix;
}

// What a line opens or closes, told from its start.
enum class LineKind {
    Key,
    List,
    EndList,
    Other
};

LineKind KindOf(std::string_view line)
{
    if (line.empty()) return LineKind::Other;
    switch (line.front()) {
    case 'K':
        return StartsWith(line, kKey) ? LineKind::Key : LineKind::Other;
    case 'L':
        return StartsWith(line, kList) ? LineKind::List : LineKind::Other;
    case 'E':
        return StartsWith(line, kEndList) ? LineKind::EndList : LineKind::Other;
    default:
        return LineKind::Other;
    }
}

std::string_view TrimRight(std::string_view text) { return UtlTrimRight(text, " \t"); }

std::string_view TrimLeft(std::string_view text) { return UtlTrimLeft(text, " \t"); }

ImodelFileObject_KEY ParseKey(std::string_view line)
{
    const std::string_view rest = line.substr(kKey.size());
    const std::size_t blank = rest.find(' ');
    const std::string_view name = rest.substr(0, blank);
    const std::string_view after = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
    const std::size_t open = after.find('"');
    if (open == std::string_view::npos) return ImodelFileObject_KEY(std::string(name), std::string(TrimLeft(after)));
    const std::size_t close = after.rfind('"');
    const std::string_view value = close > open ? after.substr(open + 1, close - open - 1) : after.substr(open + 1);
    return ImodelFileObject_KEY(std::string(name), std::string(value));
}

// A block line as the readers take it: the text of a VALUE line that holds
// nothing but its quoted text, every other line as written.
std::string_view Delivered(std::string_view line)
{
    if (!StartsWith(line, kValue)) return line;
    const std::string_view text = TrimRight(line.substr(kValue.size()));
    const std::size_t quote = text.find('"');
    if (quote == std::string_view::npos) return text;
    if (text.back() == '"') return text.substr(0, text.size() - 1);
    return line;
}

// What one parse produces: keys and top-level blocks by name, each name's
// entries in file order.
struct Contents {
    std::unordered_map<std::string, std::deque<ImodelFileObject_KEY>> keys;
    std::unordered_map<std::string, std::deque<ImodelFileObject_LIST>> lists;
    // The first sign that the text is damaged; empty when there is none.
    std::string damage;
};

// One pass over the text; every line is looked at once.
class Parser {
public:
    Parser(const char* fileName, Contents& out) : m_fileName(fileName), m_out(out) {}

    void Parse(std::string_view text, std::string_view stop)
    {
        std::size_t start = 0;
        bool stopped = false;
        while (start < text.size() && !stopped) {
            std::size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            std::string_view piece = text.substr(start, end - start);
            start = end + 1;
            // A carriage return ends a line as well: the one of a CRLF ends
            // the piece, a lone one (CR line ends) splits it.
            while (!stopped) {
                const std::size_t cr = piece.find('\r');
                stopped = Take(piece.substr(0, cr), stop);
                if (cr == std::string_view::npos) break;
                piece.remove_prefix(cr + 1);
                if (piece.empty()) break;
            }
        }
        if (m_open) CloseUnterminated();
    }

private:
    struct OpenBlock {
        std::string name;
        // Into the text, copied into the block's own text when it closes:
        // a block of a line per member or per view (a hundred thousand) is
        // then made at its size, its lines not moved as it grows.
        std::vector<std::string_view> lines;
        std::size_t firstLine = 0;
        std::size_t depth = 1;  // the block itself and the nested blocks open inside it
    };

    // Takes one line; true when it is the top-level line to stop after.
    bool Take(std::string_view line, std::string_view stop)
    {
        ++m_lineNumber;
        // What a merge left unresolved holds both sides: neither is the
        // project, and a save would keep the marks as members.
        if (StartsWith(line, "<<<<<<<") || StartsWith(line, ">>>>>>>") || TrimRight(line) == "=======")
            NoteDamage("line " + std::to_string(m_lineNumber) + " marks a merge conflict left unresolved");
        const LineKind kind = KindOf(line);
        const bool topLevel = !m_open || kind == LineKind::Key;
        TakeLine(line, kind);
        return topLevel && !stop.empty() && StartsWith(line, stop);
    }

    void TakeLine(std::string_view line, LineKind kind)
    {
        if (kind == LineKind::Key) {
            if (m_open) CloseUnterminated();
            ImodelFileObject_KEY key = ParseKey(line);
            m_out.keys[key.GetName()].push_back(std::move(key));
        } else if (m_open) {
            TakeBlockLine(line, kind);
        } else if (kind == LineKind::List) {
            m_open = OpenBlock{};
            m_open->name = std::string(TrimRight(line.substr(kList.size())));
            m_open->firstLine = m_lineNumber;
        } else if (kind == LineKind::EndList) {
            // The list it closed lost its LIST line: its lines were skipped.
            Trace("Project file '%s', line %zu: ENDLIST outside any list ignored.\n", m_lineNumber);
            NoteDamage("line " + std::to_string(m_lineNumber) + " ends a list that no LIST line opened");
        }
    }

    void TakeBlockLine(std::string_view line, LineKind kind)
    {
        if (kind == LineKind::EndList && m_open->depth == 1) {
            Close(true);
            return;
        }
        if (kind == LineKind::List) {
            ++m_open->depth;
        } else if (kind == LineKind::EndList) {
            --m_open->depth;
        }
        m_open->lines.push_back(Delivered(line));
    }

    void CloseUnterminated()
    {
        Trace("Project file '%s', line %zu: list '%s' has no ENDLIST.\n", m_open->firstLine, m_open->name.c_str());
        // Where it should have ended is not known: the blocks after it may
        // have been taken for its own lines.
        NoteDamage("the list '" + m_open->name + "' has no ENDLIST");
        Close(false);
    }

    void Close(bool terminated)
    {
        std::string name = m_open->name;
        m_out.lists[name].emplace_back(std::move(name), m_open->lines, terminated);
        m_open.reset();
    }

    void NoteDamage(std::string what)
    {
        if (m_out.damage.empty()) m_out.damage = std::move(what);
    }

    template <typename... Args>
    void Trace(const char* format, std::size_t line, Args... args)
    {
        if (m_debug < 0) {
            int on = 0;
            m_debug = DefGetBoolFL("DEBUG_MSG", &on) == 0 && on == 1;
        }
        if (m_debug) SysDebugPrintf(format, m_fileName, line, args...);
    }

    const char* m_fileName;
    Contents& m_out;
    std::optional<OpenBlock> m_open;
    std::size_t m_lineNumber = 0;
    int m_debug = -1;  // the debug switch, read at the first trace
};

template <typename Entry>
std::unique_ptr<Entry> Lookup(std::unordered_map<std::string, std::deque<Entry>>& entries, const char* name, bool take)
{
    if (!name) return nullptr;
    const auto found = entries.find(name);
    if (found == entries.end()) return nullptr;
    if (!take) return std::make_unique<Entry>(found->second.front());
    auto entry = std::make_unique<Entry>(std::move(found->second.front()));
    found->second.pop_front();
    if (found->second.empty()) entries.erase(found);
    return entry;
}

class kemletFileStructureImpl : public KemletFileStructure {
public:
    bool Read(const char* fileName, const std::string& stop) override
    {
        std::string text;
        if (!fileName || !SysReadFile(fileName, text)) return false;
        Parse(fileName, text, stop);
        return true;
    }

    void Parse(const char* source, const std::string& text, const std::string& stop) override
    {
        Contents contents;
        Parser(source ? source : "", contents).Parse(text, stop);
        m_contents = std::move(contents);
    }

    std::unique_ptr<ImodelFileObject_KEY> GetKEY(const char* name, bool take) override
    {
        return Lookup(m_contents.keys, name, take);
    }

    std::unique_ptr<ImodelFileObject_LIST> GetLIST(const char* name, bool take) override
    {
        return Lookup(m_contents.lists, name, take);
    }

    const ImodelFileObject_LIST* PeekLIST(const char* name) const override
    {
        if (!name) return nullptr;
        const auto found = m_contents.lists.find(name);
        return found == m_contents.lists.end() ? nullptr : &found->second.front();
    }

    const std::string& Damage() const override { return m_contents.damage; }

private:
    Contents m_contents;
};

}  // namespace

ImodelFileObject_LIST::ImodelFileObject_LIST(std::string name, const std::vector<std::string_view>& lines,
                                             bool terminated)
    : m_name(std::move(name)), m_terminated(terminated)
{
    std::size_t size = 0;
    for (const std::string_view line : lines) size += line.size();
    m_text.reserve(size);
    m_ends.reserve(lines.size());
    for (const std::string_view line : lines) {
        m_text.append(line);
        m_ends.push_back(m_text.size());
    }
}

std::vector<std::string_view> ImodelFileObject_LIST::GetLineViews() const
{
    std::vector<std::string_view> views;
    views.reserve(m_ends.size());
    for (std::size_t i = 0; i < m_ends.size(); ++i) views.push_back(GetLine(i));
    return views;
}

std::vector<std::string>& ImodelFileObject_LIST::GetLines()
{
    return const_cast<std::vector<std::string>&>(std::as_const(*this).GetLines());
}

const std::vector<std::string>& ImodelFileObject_LIST::GetLines() const
{
    if (!m_lines) {
        std::vector<std::string> lines;
        lines.reserve(m_ends.size());
        for (std::size_t i = 0; i < m_ends.size(); ++i) lines.emplace_back(GetLine(i));
        m_lines = std::move(lines);
    }
    return *m_lines;
}

KemletFileStructure* KemletFileGetNewStructure()
{
    // The caller owns the structure until KemletFileDeleteStructure.
    return std::make_unique<kemletFileStructureImpl>().release();
}

void KemletFileDeleteStructure(KemletFileStructure*& structure)
{
    std::unique_ptr<KemletFileStructure> owned(structure);
    structure = nullptr;
}
