// The wire files of a schematic's pages are written by another program and
// may be damaged: the scanner takes any lines. The input is cut into pages
// at each byte 0x01.
#include "ScanFuzzSupport.h"
#include "TempFolder.h"

#include <foundation/Sys.h>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TempFolder folder;
    const std::string input(reinterpret_cast<const char*>(data), size);
    int pages = 0;
    for (std::size_t start = 0; start <= input.size() && pages < 8;) {
        std::size_t stop = input.find('\x01', start);
        if (stop == std::string::npos) stop = input.size();
        folder.Write("wir/page." + std::to_string(++pages), input.substr(start, stop - start));
        start = stop + 1;
    }
    SysDelete(folder / ("wir/page." + std::to_string(pages + 1)));
    ScanIntoDesign(zorpaMODULE_SCHEMATIC, folder / "sch/page.1", std::string());
    ScanIntoDesign(zorpaMODULE_SCHEMATIC, folder / "sch/page.1", std::string(), 1, pages);
    return 0;
}
