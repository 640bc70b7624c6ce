// Lines of text as the project-file readers take them: a text cut at its
// line ends, and the extent of a block read up to its "ENDLIST".
#pragma once

#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::string> TextLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// How many lines a block reader takes: up to and including the first line
// that is "ENDLIST" once its carriage returns are dropped, else all of them.
inline std::size_t TextLinesThroughEndList(const std::vector<std::string>& lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        while (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "ENDLIST") return i + 1;
    }
    return lines.size();
}
