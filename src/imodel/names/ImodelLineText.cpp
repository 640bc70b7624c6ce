#include "imodel/names/ImodelLineText.h"

#include <foundation/Sys.h>

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
    // One pass, most characters told by one comparison ('"' sorts after
    // both line-end characters).
    for (const char c : text)
        if (static_cast<unsigned char>(c) <= '"' && (c == '\n' || c == '\r' || c == '"')) return false;
    return true;
}

bool ImodelCheckOneLine(std::ostream& stream, const std::string& text, const char* what)
{
    return ImodelIsOneLine(text) || ImodelRefuseText(stream, text, what);
}

bool ImodelCheckQuotable(std::ostream& stream, const std::string& text, const char* what)
{
    return ImodelIsQuotable(text) || ImodelRefuseText(stream, text, what);
}
