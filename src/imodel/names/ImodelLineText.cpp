#include "imodel/names/ImodelLineText.h"

#include <foundation/Sys.h>

#include <cstdint>
#include <cstring>

void ImodelTraceRefusedText(std::string_view text, const char* what)
{
    SysDebugPrintf("Error: the %s '%s' cannot be written to a line of the file; nothing is saved.\n",
                   what ? what : "text", std::string(text).c_str());
}

bool ImodelRefuseText(std::ostream& stream, const std::string& text, const char* what)
{
    ImodelTraceRefusedText(text, what);
    stream.setstate(std::ios::failbit);
    return false;
}

bool ImodelIsOneLine(std::string_view text) { return UtlIsOneLine(text); }

bool ImodelIsQuotable(const std::string& text)
{
    // A save checks the name of every member file (tens of bytes each):
    // 16 bytes at a time, the last 16 overlapping those before; a shorter
    // text one by one, most characters told by one comparison ('"' sorts
    // after both line-end characters).
    using Bytes = unsigned char __attribute__((vector_size(16)));
    using Flags = signed char __attribute__((vector_size(16)));
    const auto clean = [&text](std::size_t at) {
        Bytes bytes;
        std::memcpy(&bytes, text.data() + at, sizeof bytes);
        const Flags bad = (bytes == '\n') | (bytes == '\r') | (bytes == '"');
        std::uint64_t halves[2];
        std::memcpy(halves, &bad, sizeof halves);
        return (halves[0] | halves[1]) == 0;
    };
    if (text.size() < sizeof(Bytes)) {
        for (const char c : text)
            if (static_cast<unsigned char>(c) <= '"' && (c == '\n' || c == '\r' || c == '"')) return false;
        return true;
    }
    std::size_t at = 0;
    for (; at + sizeof(Bytes) < text.size(); at += sizeof(Bytes))
        if (!clean(at)) return false;
    return clean(text.size() - sizeof(Bytes));
}

bool ImodelCheckOneLine(std::ostream& stream, const std::string& text, const char* what)
{
    return ImodelIsOneLine(text) || ImodelRefuseText(stream, text, what);
}

bool ImodelCheckQuotable(std::ostream& stream, const std::string& text, const char* what)
{
    return ImodelIsQuotable(text) || ImodelRefuseText(stream, text, what);
}
