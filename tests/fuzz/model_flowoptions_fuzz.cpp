// The flow-options block of the project file: any lines read without fault;
// the reader takes exactly the lines up to and including the first "ENDLIST"
// (all of them when there is none) and leaves the rest in order; what it
// read writes and reads back the same.
#include "TextLines.h"
#include "imodel/views/ImodelFlowOptions.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::size_t ExpectedConsumed(const std::vector<std::string>& lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "ENDLIST") return i + 1;
    }
    return lines.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> input = TextLines(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> lines = input;
    ImodelFlowOptions options;
    bool hasUseSynth = false;
    options.ReadFlowOptions(lines, hasUseSynth);
    const std::size_t consumed = ExpectedConsumed(input);
    if (lines != std::vector<std::string>(input.begin() + static_cast<std::ptrdiff_t>(consumed), input.end()))
        std::abort();

    std::ostringstream written;
    options.WriteFlowOptions(&written);
    std::vector<std::string> again = TextLines(written.str());
    if (again.empty() || again.front() != "LIST FlowOptions") std::abort();
    again.erase(again.begin());
    ImodelFlowOptions reread;
    bool rereadHasUseSynth = false;
    reread.ReadFlowOptions(again, rereadHasUseSynth);
    if (reread != options || !rereadHasUseSynth || !again.empty()) std::abort();
    return 0;
}
