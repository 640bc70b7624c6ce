// The file-list block and the file lists of the project file come from
// project files written anywhere, by older versions or by hand: the readers
// take any lines without fault, every file they make can be written, and
// what they make of their own output writes the same bytes again.
#include "TextLines.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileObjectEx.h"

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The block's lines as the project-file parser delivers them: a VALUE line
// reduced to the text between its quotes.
std::vector<std::string> Delivered(const std::string& written)
{
    std::vector<std::string> lines = TextLines(written);
    const std::string value = "VALUE \"";
    for (std::string& line : lines)
        if (line.rfind(value, 0) == 0) line = line.substr(value.size(), line.size() - value.size() - 1);
    return lines;
}

// The files' block; false when a file could not be written.
bool Write(const std::deque<IfileObjectEx>& files, std::string& text)
{
    std::ostringstream out;
    bool all = true;
    for (const IfileObjectEx& file : files) all = file.WriteFileManagerFile(&out) && all;
    text = out.str();
    return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> lines = TextLines(std::string(reinterpret_cast<const char*>(data), size));

    std::deque<IfileObjectEx> files;
    IfileReadFileList(lines, files, {}, true);
    if (files.size() > lines.size()) std::abort();  // no file without a line of its own
    std::string first;
    if (Write(files, first)) {
        std::deque<IfileObjectEx> again;
        IfileReadFileList(Delivered(first), again, {}, true);
        std::string second;
        if (!Write(again, second) || second != first) std::abort();
    }

    std::deque<IfileObject> plain;
    IfileReadFileList(lines, plain, {}, true);
    std::ostringstream out;
    IfileWriteFileList(plain, &out, "LIST", "ENDLIST");
    for (const std::string& line : lines) {
        std::vector<std::string> pieces;
        IfileObject::ParseFileLine(line, pieces);
        if (pieces.empty()) std::abort();
    }
    return 0;
}
