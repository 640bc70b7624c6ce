#include "src/ifile/IfileFileListLines.h"

#include <cctype>
#include <cstring>
#include <iterator>
#include <string_view>

namespace {

bool IsKeywordCharacter(char c)
{
    return std::isupper(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)) || c == '_';
}

bool CanBelongToFileBlock(const std::string& line)
{
    return ifileIsMemberLine(line) || ifileIsBlockWord(line, ifileBeginConstraint) ||
           ifileIsBlockWord(line, ifileEndConstraint);
}

}  // namespace

std::string_view ifileWithoutLineEnd(std::string_view line)
{
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

bool ifileIsBlockWord(std::string_view line, const char* word)
{
    const std::size_t length = std::strlen(word);
    if (line.size() < length || line.compare(0, length, word) != 0) return false;
    return line.find_first_not_of(" \t\r", length) == std::string_view::npos;
}

bool ifileIsMemberLine(const std::string& line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0 || !std::isupper(static_cast<unsigned char>(line[0]))) return false;
    for (std::size_t i = 1; i < equals; ++i)
        if (!IsKeywordCharacter(line[i])) return false;
    return true;
}

bool ifileMemberValue(const char* keyword, const std::string& line, std::string& value)
{
    const std::size_t length = std::strlen(keyword);
    if (line.size() <= length || line.compare(0, length, keyword) != 0 || line[length] != '=') return false;
    // Cut down in place and copied once: a project file has such a line
    // for every member.
    std::string_view rest = ifileWithoutLineEnd(std::string_view(line).substr(length + 1));
    if (!rest.empty() && rest.front() == '"') rest.remove_prefix(1);
    if (!rest.empty() && rest.back() == '"') rest.remove_suffix(1);
    value.assign(rest);
    return true;
}

bool ifileCanStartFile(const std::string& line)
{
    return line.find_first_not_of(" \t\r") != std::string::npos && !CanBelongToFileBlock(line) &&
           !ifileIsBlockWord(line, ifileEndFile);
}

ifileLineIterator ifileFileBlockEnd(ifileLineIterator first, ifileLineIterator end)
{
    for (ifileLineIterator it = first; it != end; ++it)
        if (ifileIsBlockWord(*it, ifileEndFile) || !CanBelongToFileBlock(*it)) return it;
    return end;
}

ifileLineIterator ifileLastLineOfBlock(ifileLineIterator start, ifileLineIterator end)
{
    const ifileLineIterator stop = ifileFileBlockEnd(std::next(start), end);
    return stop != end && ifileIsBlockWord(*stop, ifileEndFile) ? stop : std::prev(stop);
}
