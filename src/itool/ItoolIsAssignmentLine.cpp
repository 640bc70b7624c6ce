#include "itool/ItoolIsAssignmentLine.h"

bool ItoolIsAssignmentLine(const std::string& line, const std::string& key)
{
    if (line.compare(0, key.size(), key) != 0) return false;
    const std::size_t value = line.find_first_not_of(' ', key.size());
    return value != std::string::npos && line[value] == '=';
}
