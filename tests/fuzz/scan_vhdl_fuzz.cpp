// VHDL sources come from anywhere: the scanner takes any bytes, ends, and
// leaves the design's links consistent.
#include "ScanFuzzSupport.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ScanIntoDesign(zorpaMODULE_VHDL, "fuzz.vhd", std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
