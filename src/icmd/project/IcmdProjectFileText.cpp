#include "src/icmd/project/IcmdProjectFileText.h"

#include "icmd/args/IcmdComponentIDText.h"
#include "icmd/design/IcmdSetRoot.h"
#include "imodel/names/ImodelLineText.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"

#include <cctype>
#include <climits>

int IcmdLeadingNumber(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        // Past the range of int the number holds at its limit.
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

bool IcmdIsStorableValue(const std::string& value) { return ImodelIsQuotable(value); }

bool IcmdIsValidProjectName(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.find("..") != std::string::npos) return false;
    for (const char c : name)
        if (c == '/' || c == '\\' || c == '"' || std::iscntrl(static_cast<unsigned char>(c))) return false;
    return true;
}

bool IcmdCheckDesignName(const std::string& name)
{
    // A design is known as name::library: a colon in its name would make
    // two designs one.
    if (!IcmdIsValidProjectName(name) || name.find(':') != std::string::npos) {
        ImodelDisplayINVALID_DESIGN_NAME_MSG(name.c_str());
        return false;
    }
    // The name reaches the path of the design's file, where the token would
    // stand for the project folder: the project refuses that file at every
    // open.
    if (name.find(ImodelProjectToken) != std::string::npos) {
        ImodelDisplayDESIGN_NAME_WITH_PROJECT_TOKEN_MSG(name.c_str());
        return false;
    }
    return true;
}

bool IcmdIsValidProjectLocation(const std::string& folder) { return !folder.empty() && IcmdIsStorableValue(folder); }

void IcmdDropEndOfFileMark(std::string& text)
{
    constexpr char kEndOfFile = '\x1a';
    // The first mark of the tail made of marks and line breaks only.
    std::size_t mark = std::string::npos;
    for (std::size_t i = text.size(); i > 0; --i) {
        const char c = text[i - 1];
        if (c == kEndOfFile) {
            mark = i - 1;
        } else if (c != '\n' && c != '\r') {
            break;
        }
    }
    if (mark != std::string::npos) text.resize(mark);
}

bool IcmdQuotedText(const std::string& line, std::string& text)
{
    const std::size_t first = line.find('"');
    const std::size_t last = line.rfind('"');
    if (first == std::string::npos || last == first) return false;
    text = line.substr(first + 1, last - first - 1);
    return true;
}

bool IcmdSplitAtLastComma(const std::string& line, std::string& before, std::string& after)
{
    const std::size_t comma = line.rfind(',');
    if (comma == std::string::npos) return false;
    before = line.substr(0, comma);
    after = line.substr(comma + 1);
    return true;
}

void IcmdRestoreActiveRoot(const std::string& text)
{
    // set_root brings the flow and the views along with the root.
    IcmdDoSetRoot(false, IcmdReadComponentID(text));
}
