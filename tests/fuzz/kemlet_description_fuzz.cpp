// The place-and-route description: any text either reads or is refused
// without fault; what reads is written again, and the written text reads
// back to the same content and writes the same text (the writer states the
// database it writes for).
#include "kemlet/KemletContentIf.h"
#include "kemlet/KemletIde_pldFileManagerIf.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    KemletContentIf content;
    if (!KemletParseDescription(input, content)) return 0;
    const std::string database = content.GetDescribedDatabase();
    std::string text;
    // A value read from a line holds no line break, so what was read can be written.
    Check(KemletFormatDescription(content, static_cast<WhoWroteTheFile>(content.GetWhoWroteTheFile()), database, text));
    KemletContentIf again;
    Check(KemletParseDescription(text, again));
    Check(again == content);
    std::string second;
    Check(KemletFormatDescription(again, static_cast<WhoWroteTheFile>(again.GetWhoWroteTheFile()), database, second));
    Check(second == text);
    return 0;
}
