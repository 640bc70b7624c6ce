// The parsed project file: any text reads without fault, with or without a
// stop text; the same lines with CRLF and with LF ends give the same keys
// and blocks; every key and block named in the text can be looked up and
// taken until none is left, and what is handed out holds no line end and
// never more lines than the file has.
#include "kemlet/KemletFileStructure.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

struct StructureDeleter {
    void operator()(KemletFileStructure* structure) const { KemletFileDeleteStructure(structure); }
};
using Structure = std::unique_ptr<KemletFileStructure, StructureDeleter>;

Structure Parse(const std::string& text, const std::string& stop)
{
    Structure structure(KemletFileGetNewStructure());
    structure->Parse("fuzz.prj", text, stop);
    return structure;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The names that the text's key and block lines could give, a bounded few.
// Names are asked for as C texts: one that holds a NUL cannot be asked for.
std::set<std::string> Names(const std::vector<std::string>& lines)
{
    std::set<std::string> names;
    const auto add = [&names](const std::string& name) {
        if (name.find('\0') == std::string::npos) names.insert(name);
    };
    for (const std::string& line : lines) {
        if (names.size() >= 64) break;
        if (line.rfind("KEY ", 0) == 0) add(line.substr(4, line.find(' ', 4) - 4));
        if (line.rfind("LIST ", 0) == 0) {
            const std::size_t end = line.find_last_not_of(" \t");
            add(end < 5 ? std::string() : line.substr(5, end - 4));
        }
    }
    return names;
}

bool Same(const std::unique_ptr<ImodelFileObject_KEY>& a, const std::unique_ptr<ImodelFileObject_KEY>& b)
{
    if (!a || !b) return !a && !b;
    return a->GetName() == b->GetName() && a->GetValue() == b->GetValue();
}

bool Same(const std::unique_ptr<ImodelFileObject_LIST>& a, const std::unique_ptr<ImodelFileObject_LIST>& b)
{
    if (!a || !b) return !a && !b;
    return a->GetName() == b->GetName() && a->GetLines() == b->GetLines() && a->IsTerminated() == b->IsTerminated();
}

void Check(bool condition)
{
    if (!condition) std::abort();
}

// Takes every key and block of each name from both structures, which must
// agree, and checks what comes out against the file's line count.
void TakeAll(KemletFileStructure& lf, KemletFileStructure& crlf, const std::set<std::string>& names,
             std::size_t lineCount)
{
    std::size_t linesHandedOut = 0;
    for (const std::string& name : names) {
        Check(Same(lf.GetKEY(name.c_str(), false), crlf.GetKEY(name.c_str(), false)));
        Check(Same(lf.GetLIST(name.c_str(), false), crlf.GetLIST(name.c_str(), false)));
        for (std::size_t taken = 0;; ++taken) {
            Check(taken <= lineCount);
            auto key = lf.GetKEY(name.c_str(), true);
            Check(Same(key, crlf.GetKEY(name.c_str(), true)));
            if (!key) break;
            Check(key->GetName() == name && key->GetValue().find('\n') == std::string::npos);
        }
        for (std::size_t taken = 0;; ++taken) {
            Check(taken <= lineCount);
            auto list = lf.GetLIST(name.c_str(), true);
            Check(Same(list, crlf.GetLIST(name.c_str(), true)));
            if (!list) break;
            linesHandedOut += list->GetLines().size();
            for (const std::string& line : list->GetLines()) Check(line.find('\n') == std::string::npos);
        }
    }
    Check(linesHandedOut <= lineCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    Parse(input, "KEY HDLTechnology ");

    std::string lf, crlf;
    for (char c : input) {
        if (c == '\r') continue;
        lf += c;
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    const std::vector<std::string> lines = Lines(lf);
    const Structure fromLf = Parse(lf, "");
    const Structure fromCrlf = Parse(crlf, "");
    TakeAll(*fromLf, *fromCrlf, Names(lines), lines.size());
    return 0;
}
