// Reading the state blocks of the project file from the front of the
// caller's lines. The readers walk a cursor over the lines and the caller
// erases what was read once, at the end: taking lines off the front one by
// one would cost the square of the block's length.
//
// Every reader stops at the end of its own block, even when a closing line
// is missing: a line that opens another block ends a list, and a module's
// block ("LIST \"<module>\"") is never entered by the reader of another.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

inline bool imodelBeginsWith(std::string_view line, std::string_view prefix)
{
    return line.substr(0, prefix.size()) == prefix;
}

// The lines that begin, respectively close, a block.
inline bool imodelIsListLine(std::string_view line) { return imodelBeginsWith(line, "LIST "); }
inline bool imodelIsEndListLine(std::string_view line) { return imodelBeginsWith(line, "ENDLIST"); }
// The opening line of a module's state block, which holds the module's
// name between double quotes; a view name never holds a double quote.
inline bool imodelIsModuleListLine(std::string_view line) { return imodelBeginsWith(line, "LIST \""); }

class imodelLineCursor {
public:
    // `head`, when not empty, is a line the caller already took from the
    // front of `lines`: it is read first.
    explicit imodelLineCursor(const std::vector<std::string>& lines, std::string head = std::string())
        : m_lines(lines), m_head(std::move(head)), m_hasHead(!m_head.empty())
    {
    }

    bool AtEnd() const { return !m_hasHead && m_next == m_lines.size(); }
    // The next line; only when not AtEnd.
    const std::string& Peek() const { return m_hasHead ? m_head : m_lines[m_next]; }
    // Moves past the next line and returns it; only when not AtEnd.
    const std::string& Take();
    // The line last taken; empty before the first.
    const std::string& Last() const { return m_last; }

    // Erases from the front of `lines` (the cursor's own) what was taken.
    void EraseTaken(std::vector<std::string>& lines) const;

private:
    const std::vector<std::string>& m_lines;
    std::string m_head;
    bool m_hasHead;
    std::size_t m_next = 0;
    std::string m_last;
};

// The lines of a list whose "LIST" line was taken, up to the line that
// closes it (taken, not returned), or up to a line that opens another
// block (left), or the end.
std::vector<std::string> imodelTakeListBody(imodelLineCursor& cursor);
// The lines up to the exact line `closing` (taken, not returned), or up to
// a line that opens or closes a block (left), or the end.
std::vector<std::string> imodelTakeBody(imodelLineCursor& cursor, const std::string& closing);
// Skips a block whose "LIST" line was taken, nested blocks counted, up to
// and including its closing line, but never into another module's block.
void imodelSkipBlock(imodelLineCursor& cursor);
