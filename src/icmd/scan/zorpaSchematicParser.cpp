#include "src/icmd/scan/zorpaSchematicParser.h"

#include "imodel/design/ImodelModule.h"
#include "src/icmd/scan/zorpaScanText.h"

#include <foundation/Brennic.h>
#include <foundation/Sys.h>
#include <zorpa/ZorpaString.h>

#include <climits>
#include <cstdio>
#include <unordered_map>

using namespace zorpaScan;

namespace {

std::string PageFile(const std::string& base, long long page) { return base + "." + std::to_string(page); }

// Calls `line` with each line of the text, without its line end.
template <class Function>
void ForEachLine(std::string_view text, Function line)
{
    const char* pos = text.data();
    const char* end = pos + text.size();
    while (pos < end) {
        const char* stop = Find(pos, end, '\n');
        const char* next = stop ? stop + 1 : end;
        if (stop == nullptr) stop = end;
        if (stop > pos && stop[-1] == '\r') --stop;
        line(std::string_view(pos, static_cast<std::size_t>(stop - pos)));
        pos = next;
    }
}

bool StartsWith(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

std::string Upper(std::string_view text)
{
    std::string upper(text);
    ZorpaMakeUpper(upper);
    return upper;
}

}  // namespace

template <class T>
zorpaSchematicParser<T>::zorpaSchematicParser(T prototype, T nullModule)
    : ZorpaParser<T>(prototype, nullModule, zorpaMODULE_SCHEMATIC)
{
}

template <class T>
bool zorpaSchematicParser<T>::parse(const std::string& fileName, const std::string& libraryName, NdbWorld* world,
                                    bool readPorts, int firstPage, int lastPage)
{
    if (this->prototype() == this->nullModule()) return false;
    this->prepare(fileName, libraryName, readPorts);
    const ScanWorld scanWorld(world);
    this->setWorld(scanWorld.Get());

    // <parent>/<folder>/<title>.<page>: the pages are <parent>/wir/<title>.<page>.
    std::string name = fileName;
    ZorpaSetValidSeparator(name, false);
    const char separator = SysGetDirChar();
    const std::size_t slash = name.rfind(separator);
    const std::string folder = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
    std::string title = slash == std::string::npos ? name : name.substr(slash + 1);
    std::string parent = "../";
    if (folder.size() == 1) {
        parent = folder;  // the root folder
    } else if (!folder.empty()) {
        const std::size_t parentSlash = folder.rfind(separator, folder.size() - 2);
        parent = parentSlash == std::string::npos ? std::string() : folder.substr(0, parentSlash + 1);
    }
    long long first = 0;
    const std::size_t dot = title.rfind('.');
    if (dot != std::string::npos) {
        first = BrennicAToI(std::string_view(title).substr(dot + 1));
        title.erase(dot);
    }
    const std::string wireBase = parent + "wir" + separator + title;
    long long last = first;
    if (firstPage == -1 && lastPage == -1) {
        while (last < INT_MAX && SysAccess(PageFile(wireBase, last + 1), 4) == 0) ++last;
        // The unit stands for the schematic's last page; a schematic named
        // without a page number keeps its own file.
        if (dot != std::string::npos) {
            const std::string unitFile = PageFile(folder + title, last);
            this->prototype()->SetModuleFileName(unitFile, this->nullModule(), false);
            this->setFileName(unitFile);
        }
    } else {
        first = firstPage;
        last = lastPage;
    }

    this->addDeclaredUnit(Upper(title), false);
    for (long long page = last; page >= first; --page) {
        std::string text;
        if (!SysReadFile(PageFile(wireBase, page), text)) {
            std::fputs("Unable to open file!\n", stdout);
            continue;
        }
        scanPage(text);
    }
    this->finishScan();
    return true;
}

template <class T>
void zorpaSchematicParser<T>::scanPage(std::string_view text)
{
    // The HDL blocks of the page, by lower-cased name: "AS ... VHDL=<name>".
    std::unordered_map<std::string, std::string_view> hdlBlocks;
    ForEachLine(text, [&](std::string_view line) {
        if (!StartsWith(line, "AS ")) return;
        if (line.find("VHDL=") == std::string_view::npos && line.find("VERILOG=") == std::string_view::npos) return;
        const std::string_view block = line.substr(line.rfind('=') + 1);
        hdlBlocks.emplace(Lowered(block), block);
    });
    ForEachLine(text, [&](std::string_view line) {
        if (!StartsWith(line, "I ")) return;
        // "I <number> <symbol> ...": words separated by single blanks.
        const std::size_t firstBlank = line.find(' ', 2);
        if (firstBlank == std::string_view::npos) return;
        std::string_view symbol = line.substr(firstBlank + 1);
        symbol = symbol.substr(0, symbol.find(' '));
        if (symbol.empty() || symbol == "?" || symbol.find(':') != std::string_view::npos) return;
        const auto block = hdlBlocks.find(Lowered(symbol));
        const std::string instance = block != hdlBlocks.end() ? std::string(block->second) : Upper(symbol);
        if (this->isUserUnit(instance, this->world())) this->addInstance(instance);
    });
}

template <class T>
bool zorpaSchematicParser<T>::skipComment(const char*&, const char*)
{
    return false;
}

template <class T>
const char* zorpaSchematicParser<T>::findStatementEnd(const char*, const char* end)
{
    return end;
}

template <class T>
std::string_view zorpaSchematicParser<T>::readToken(const char*&, const char*, bool, bool, bool)
{
    return {};
}

template <class T>
std::string_view zorpaSchematicParser<T>::declaredUnitName(const char*, const char*)
{
    return {};
}

template <class T>
std::string_view zorpaSchematicParser<T>::instantiatedUnitName(const char*, const char*)
{
    return {};
}

template <class T>
ZorpaPortList zorpaSchematicParser<T>::readPorts(const char*, const char*)
{
    return {};
}

template <class T>
bool zorpaSchematicParser<T>::isStructuralStatement(const char*, const char*)
{
    return true;
}

template class zorpaSchematicParser<ImodelModule*>;
