#include "ndb/CvlLibrary.h"

#include "ndb/NdbWorld.h"

#include <foundation/Def.h>
#include <vy/VyLoaderFactory.h>

#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>

namespace {

std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// The cell names, lower-cased, once read.
struct CellLibrary {
    std::mutex lock;
    bool read = false;
    std::unordered_set<std::string> cells;

    void ReadIfNeeded()
    {
        if (read) return;
        read = true;
        const std::optional<std::string> path = DefGetFL("VERILOGLIB", __FILE__, __LINE__);
        if (!path || path->empty()) return;
        if (const auto modules = Vymodel::VyLoaderFactory::LoadModules(*path, "", nullptr))
            for (const auto& entry : *modules) cells.insert(Lower(entry.second->GetName()));
    }
};

CellLibrary& TheCellLibrary()
{
    static CellLibrary library;
    return library;
}

}  // namespace

bool CvlIsBrennicMacro(std::string_view name, NdbWorld*)
{
    CellLibrary& library = TheCellLibrary();
    const std::lock_guard<std::mutex> guard(library.lock);
    library.ReadIfNeeded();
    return !library.cells.empty() && !name.empty() && library.cells.count(Lower(name)) != 0;
}

void CvlLibFree()
{
    CellLibrary& library = TheCellLibrary();
    const std::lock_guard<std::mutex> guard(library.lock);
    library.read = false;
    library.cells.clear();
}
