#include "imodel/names/ImodelLineText.h"

#include <foundation/Sys.h>

bool ImodelRefuseText(std::ostream& stream, const std::string& text, const char* what)
{
    SysDebugPrintf("Error: the %s '%s' cannot be written to a line of the file; nothing is saved.\n",
                   what ? what : "text", text.c_str());
    stream.setstate(std::ios::failbit);
    return false;
}

bool ImodelIsOneLine(const std::string& text) { return UtlIsOneLine(text); }

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
