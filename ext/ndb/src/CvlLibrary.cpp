#include "ndb/CvlLibrary.h"

#include "ndb/NdbWorld.h"

#include <foundation/Def.h>
#include <vy/VyLoaderFactory.h>

#include <atomic>
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
    // Read and without a cell, as it is where no library is set: the scanners
    // ask for every unit name, and the answer then needs no lock.
    std::atomic<bool> readEmpty{false};

    void ReadIfNeeded()
    {
        if (read) return;
        read = true;
        const std::optional<std::string> path = DefGetFL("VERILOGLIB", __FILE__, __LINE__);
        if (path && !path->empty())
            if (const auto modules = Vymodel::VyLoaderFactory::LoadModules(*path, "", nullptr))
                for (const auto& entry : *modules) cells.insert(Lower(entry.second->GetName()));
        readEmpty.store(cells.empty(), std::memory_order_release);
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
    if (library.readEmpty.load(std::memory_order_acquire)) return false;
    const std::lock_guard<std::mutex> guard(library.lock);
    library.ReadIfNeeded();
    return !library.cells.empty() && !name.empty() && library.cells.count(Lower(name)) != 0;
}

void CvlLibFree()
{
    CellLibrary& library = TheCellLibrary();
    const std::lock_guard<std::mutex> guard(library.lock);
    library.read = false;
    library.readEmpty.store(false, std::memory_order_release);
    library.cells.clear();
}
