#include "imodel/names/ImodelLineText.h"

#include <foundation/Sys.h>

#include <cstdint>
#include <cstring>
#include <utility>

namespace {

thread_local std::string t_refused;

// The text with its control characters spelled out, for a message.
std::string Visible(std::string_view text)
{
    std::string shown;
    for (const char c : text) {
        if (!UtlIsLineControl(c)) {
            shown += c;
        } else {
            static const char kHex[] = "0123456789abcdef";
            const auto byte = static_cast<unsigned char>(c);
            shown += c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string{'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        }
    }
    return shown;
}

}  // namespace

void ImodelTraceRefusedText(std::string_view text, const char* what)
{
    t_refused = std::string("the ") + (what ? what : "text") + " '" + Visible(text) +
                "' cannot be written to a line of the file (a line break, another control character or a double "
                "quote where the value stands between quotes)";
    SysDebugPrintf("Error: %s; nothing is saved.\n", t_refused.c_str());
}

std::string ImodelTakeRefusedText() { return std::exchange(t_refused, std::string()); }

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
    // after every control character). A control character but the tab
    // would make the file unreadable as text.
    using Bytes = unsigned char __attribute__((vector_size(16)));
    using Flags = signed char __attribute__((vector_size(16)));
    const auto clean = [&text](std::size_t at) {
        Bytes bytes;
        std::memcpy(&bytes, text.data() + at, sizeof bytes);
        const Flags bad = ((bytes < ' ') & (bytes != '\t')) | (bytes == '"');
        std::uint64_t halves[2];
        std::memcpy(halves, &bad, sizeof halves);
        return (halves[0] | halves[1]) == 0;
    };
    if (text.size() < sizeof(Bytes)) {
        for (const char c : text)
            if (static_cast<unsigned char>(c) <= '"' && (UtlIsLineControl(c) || c == '"')) return false;
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
