// The round trip of a section through the real project-file reader: the
// text a writer produced is parsed as a project file and the named block's
// lines come back as the project reader hands them to the section's reader
// (without the LIST and ENDLIST lines, a file's VALUE line reduced to the
// text between its quotes).
#pragma once

#include "imodel/names/ImodelProjectFileStructure.h"

#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::string> ProjectFileBlock(const std::string& text, const char* name)
{
    ImodelProjectFileStructure structure;
    structure.Parse("test.prj", text, "");
    std::vector<std::string> lines;
    structure.GetLIST(lines, name, true);
    return lines;
}

// What `write(stream)` writes, as text.
template <class Write>
std::string WrittenBy(Write write)
{
    std::ostringstream stream;
    write(&stream);
    return stream.str();
}

// `lines` wrapped in a block of their own, as a writer of "key=value" lines
// leaves them in the project file, read back through the parser; each line
// is handed to `read` split at its first "=".
template <class Read>
void ReadKeyValueLines(const std::string& lines, Read read)
{
    for (const std::string& line : ProjectFileBlock("LIST Block\n" + lines + "ENDLIST\n", "Block")) {
        const std::size_t equal = line.find('=');
        if (equal != std::string::npos) read(line.substr(0, equal), line.substr(equal + 1));
    }
}
