// The netlist scanner: any text scans without fault; a cell found is a
// whole token of the text that follows a "cellRef", and the library is read
// only when asked for.
#include "ifile/IfilePredecessorObject.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const VyIfaces::ComponentID withLibrary = IfilePredecessorObjectEdif::ScanTopCell(text, true);
    const VyIfaces::ComponentID withoutLibrary = IfilePredecessorObjectEdif::ScanTopCell(text, false);
    if (withLibrary.name != withoutLibrary.name || withoutLibrary.library != "work") abort();
    for (const std::string& token : {withLibrary.name, withLibrary.library}) {
        if (token.find_first_of("() \t\r\n") != std::string::npos) abort();
        if (token != "work" && text.find(token) == std::string::npos) abort();
    }
    if (!withLibrary.name.empty() && text.find("cellRef") == std::string::npos) abort();
    return 0;
}
