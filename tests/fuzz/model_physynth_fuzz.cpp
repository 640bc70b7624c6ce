// The physical-synthesis options block of the project file: any lines read
// without fault; the reader takes exactly the lines up to and including the
// first "ENDLIST" (all of them when there is none) and leaves the rest in
// order; what it read writes and reads back the same.
#include "TextLines.h"

#include "imodel/options/ImodelPhySynthesisOptions.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> input = TextLines(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> lines = input;
    ImodelPhySynthesisOptions options;
    options.ReadFromFile(lines, {});
    const std::size_t consumed = TextLinesThroughEndList(input);
    if (lines != std::vector<std::string>(input.begin() + static_cast<std::ptrdiff_t>(consumed), input.end()))
        std::abort();

    std::ostringstream written;
    options.WriteToFile(&written);
    written << "ENDLIST\n";
    std::vector<std::string> again = TextLines(written.str());
    ImodelPhySynthesisOptions reread;
    reread.ReadFromFile(again, {});
    if (reread != options || !again.empty()) std::abort();
    return 0;
}
