#include "imodel/design/ImodelDestroyLib.h"

#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/names/ImodelVisitAhead.h"
#include "src/imodel/design/imodelReclaimer.h"
#include "src/imodel/design/imodelRetire.h"
#include "src/imodel/design/imodelUnitJournal.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace {

// Empties the library's set and list, handing over its units.
void TakeUnits(ZorpaLibrary<ImodelModule*>& library, std::vector<ImodelModule::Owned>& units)
{
    // Grown once: a list of a hundred thousand units grown unit by unit has
    // the allocator sort its free blocks at every step.
    // Each unit is read whole as it leaves while a change keeps note of it
    // (its data and its context are copied): both are prefetched.
    std::vector<ImodelModule::Owned> taken;
    {
        const imodelUnitJournal::Emptying emptying(*library.GetModules());
        taken = library.GetModules()->TakeAll(&ImodelPrefetchUnitAhead);
    }
    // The first library's list is kept as it is: a copy of a hundred
    // thousand units is a large block taken and given back for nothing.
    if (units.empty()) {
        units = std::move(taken);
    } else {
        units.reserve(units.size() + taken.size());
        std::move(taken.begin(), taken.end(), std::back_inserter(units));
    }
    library.SetModuleList(nullptr);
}

// Deletes the units in their order (the views hear of each in that order).
// A hundred thousand units lie apart in memory: each unit is prefetched some
// places ahead, and its context once the unit is there, so that their
// misses overlap instead of coming one after the other.
void DeleteInOrder(std::vector<ImodelModule::Owned>& units)
{
    const auto ahead = [](const ImodelModule::Owned* unit, int step) { ImodelPrefetchUnitAhead(unit->get(), step); };
    // The list is this function's own: its entries may be emptied.
    ImodelVisitAhead(units, ahead,
                     [](const ImodelModule::Owned* unit) { const_cast<ImodelModule::Owned*>(unit)->reset(); });
    units.clear();
}

// The units taken out of libraries, and whether nobody can tell them
// apart from gone (asked before they were taken out).
struct Taken {
    std::vector<ImodelModule::Owned> units;
    bool unwatched = false;
};

// Takes every unit out of the libraries. Units that nobody watches go for
// good as they leave: a change under way takes what it keeps of each
// rather than copying it.
template <class Libraries>
Taken TakeUnitsOf(const Libraries& libraries)
{
    std::vector<const ImodelModule::UnitSet*> sets;
    for (const boost::shared_ptr<ZorpaLibrary<ImodelModule*>>& library : libraries)
        if (library && library->GetModules()) sets.push_back(library->GetModules().get());
    Taken taken;
    taken.unwatched = imodelNobodyWatchesUnitsOf(sets);
    const imodelUnitJournal::LeavingForGood forGood(taken.unwatched);
    for (const boost::shared_ptr<ZorpaLibrary<ImodelModule*>>& library : libraries)
        if (library) TakeUnits(*library, taken.units);
    return taken;
}

// When nobody can tell the units apart from gone, what others could see of
// their going is done here and their memory, which nothing reaches any
// more, is freed on the reclaimer's thread: a hundred thousand units lie
// apart in memory, and freeing them is mostly waiting for the cache.
// Otherwise the units go one by one, as the views hear them go.
void DeleteTogether(Taken&& taken)
{
    std::vector<ImodelModule::Owned>& units = taken.units;
    if (units.empty()) return;
    if (taken.unwatched) {
        imodelRetiredUnits retired(std::move(units));
        units.clear();
        imodelRetireUnwatched(retired);
        imodelTheReclaimer().HandOverValue(std::move(retired));
        return;
    }
    ImodelModule::UnlinkTogether(units);
    DeleteInOrder(units);
}

}  // namespace

void ImodelDestroyLib(boost::shared_ptr<ZorpaLibrary<ImodelModule*>> library)
{
    if (!library) return;
    DeleteTogether(TakeUnitsOf(std::array{library}));
}

void ImodelDestroyLibs(std::deque<boost::shared_ptr<ZorpaLibrary<ImodelModule*>>>& libraries)
{
    // A closed project, nobody watching: no unit is looked at here.
    imodelRetiredUnits retired;
    if (imodelRetireLibrariesQuietly(libraries, retired)) {
        imodelTheReclaimer().HandOverValue(std::move(retired));
        return;
    }
    // The units go once no library holds them any more.
    Taken taken = TakeUnitsOf(libraries);
    libraries.clear();
    // The links among the units go with them, without a search of each
    // list for each unit.
    DeleteTogether(std::move(taken));
}
