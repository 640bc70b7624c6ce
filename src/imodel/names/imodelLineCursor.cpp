#include "src/imodel/names/imodelLineCursor.h"

const std::string& imodelLineCursor::Take()
{
    if (m_hasHead) {
        m_hasHead = false;
        m_last = std::move(m_head);
    } else {
        m_last = m_lines[m_next++];
    }
    return m_last;
}

void imodelLineCursor::EraseTaken(std::vector<std::string>& lines) const
{
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(m_next));
}

std::vector<std::string> imodelTakeListBody(imodelLineCursor& cursor)
{
    std::vector<std::string> body;
    while (!cursor.AtEnd() && !imodelIsListLine(cursor.Peek())) {
        const std::string& line = cursor.Take();
        if (imodelIsEndListLine(line)) break;
        body.push_back(line);
    }
    return body;
}

std::vector<std::string> imodelTakeBody(imodelLineCursor& cursor, const std::string& closing)
{
    std::vector<std::string> body;
    while (!cursor.AtEnd() && !imodelIsListLine(cursor.Peek()) && !imodelIsEndListLine(cursor.Peek())) {
        const std::string& line = cursor.Take();
        if (line == closing) break;
        body.push_back(line);
    }
    return body;
}

void imodelSkipBlock(imodelLineCursor& cursor)
{
    int depth = 1;
    while (!cursor.AtEnd() && !imodelIsModuleListLine(cursor.Peek())) {
        const std::string& line = cursor.Take();
        if (imodelIsEndListLine(line)) {
            if (--depth == 0) return;
        } else if (imodelIsListLine(line)) {
            ++depth;
        }
    }
}
