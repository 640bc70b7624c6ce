// Fuzz target: the core catalogue's reader over XML text. A refusal always
// says why and leaves no core behind; what is accepted has the identity of
// every core filled in.
#include <ktwkspace/Catalog.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<Ktwkspace::CatalogCore> cores;
    std::string error;
    if (!Ktwkspace::KtwkspaceReadCatalog(text, "fuzz.xml", cores, error)) {
        if (error.empty() || !cores.empty()) __builtin_trap();
        return 0;
    }
    for (const Ktwkspace::CatalogCore& core : cores) {
        if (core.vendor.empty() || core.library.empty() || core.name.empty() || core.version.empty()) __builtin_trap();
        core.IsOfferedFor("ZX7");
    }
    return 0;
}
