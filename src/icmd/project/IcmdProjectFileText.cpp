#include "src/icmd/project/IcmdProjectFileText.h"

#include "icmd/args/IcmdComponentIDText.h"
#include "icmd/design/IcmdSetRoot.h"
#include "imodel/names/ImodelLineText.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>

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

namespace {

constexpr std::string_view kKeyLine = "KEY ";
constexpr std::string_view kListLine = "LIST ";
constexpr std::string_view kEndListLine = "ENDLIST";

bool BeginsWith(std::string_view line, std::string_view prefix) { return line.substr(0, prefix.size()) == prefix; }

// What is wrong with a key line as the last line of a file; empty when it
// holds its name and its whole value. The reader takes an unquoted value as
// the rest of the line, so that only a quote left open or no value at all
// is a key cut short.
std::string BrokenKey(std::string_view line)
{
    const std::string_view rest = line.substr(kKeyLine.size());
    const std::size_t blank = rest.find(' ');
    const std::string name(rest.substr(0, blank));
    const std::string_view value =
        blank == std::string_view::npos ? std::string_view() : UtlTrimLeft(rest.substr(blank + 1), " \t");
    if (name.empty()) return "a key without its name";
    if (UtlTrimRight(value, " \t").empty()) return "the key '" + name + "' without its value";
    const std::size_t open = value.find('"');
    if (open != std::string_view::npos && value.find('"', open + 1) == std::string_view::npos)
        return "the value of the key '" + name + "', which has no closing quote";
    return std::string();
}

// Whether the line is what is left of a statement's first word.
bool IsCutKeyword(std::string_view line)
{
    line = UtlTrimRight(line, " \t");
    if (line.empty()) return false;
    for (const std::string_view keyword : {kKeyLine, kListLine, kEndListLine})
        if (line.size() < keyword.size() && BeginsWith(keyword, line)) return true;
    return false;
}

// Calls `take(line)` for every line of the text as the project file's
// parser splits it: at a line feed, a CRLF or a lone carriage return.
template <class Take>
void ForEachLine(std::string_view text, Take&& take)
{
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            take(text.substr(start));
            return;
        }
        take(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

}  // namespace

std::string IcmdWhereCutShort(std::string_view text)
{
    const std::size_t lastEnd = text.find_last_not_of(" \t\r\n");
    if (lastEnd == std::string_view::npos) return std::string();
    const std::size_t lastStart = text.find_last_of("\r\n", lastEnd);
    const std::string_view last = text.substr(lastStart == std::string_view::npos ? 0 : lastStart + 1,
                                              lastEnd + 1 - (lastStart == std::string_view::npos ? 0 : lastStart + 1));
    // A whole file ends so: nothing more is read.
    if (BeginsWith(last, kEndListLine) || (BeginsWith(last, kKeyLine) && BrokenKey(last).empty())) return std::string();
    // The lists still open at the end, as the parser nests them: a key line
    // stands outside every list.
    std::size_t lineNumber = 0;
    std::size_t lastNumber = 0;
    std::size_t depth = 0;
    std::string outerList;
    ForEachLine(text.substr(0, lastEnd + 1), [&](std::string_view line) {
        ++lineNumber;
        if (!UtlTrimRight(line, " \t").empty()) lastNumber = lineNumber;
        if (BeginsWith(line, kKeyLine)) {
            depth = 0;
        } else if (BeginsWith(line, kListLine)) {
            if (depth++ == 0) outerList = std::string(UtlTrimRight(line.substr(kListLine.size()), " \t"));
        } else if (BeginsWith(line, kEndListLine) && depth > 0) {
            --depth;
        }
    });
    const std::string at = "it ends at line " + std::to_string(lastNumber);
    if (depth > 0) return at + " inside the list '" + outerList + "', which has no ENDLIST";
    if (BeginsWith(last, kKeyLine)) return at + " with " + BrokenKey(last);
    if (IsCutKeyword(last)) return at + " with '" + std::string(last) + "', which is not a whole line";
    return std::string();
}
