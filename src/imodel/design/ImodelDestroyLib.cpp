#include "imodel/design/ImodelDestroyLib.h"

#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/names/ImodelVisitAhead.h"
#include "src/imodel/design/imodelReclaimer.h"
#include "src/imodel/design/imodelRetire.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// Empties the library's set and list, handing over its units.
void TakeUnits(ZorpaLibrary<ImodelModule*>& library, std::vector<ImodelModule::Owned>& units)
{
    // Grown once: a list of a hundred thousand units grown unit by unit has
    // the allocator sort its free blocks at every step.
    // Each unit is read whole as it leaves while a change keeps note of it
    // (its data and its context are copied): both are asked for ahead.
    std::vector<ImodelModule::Owned> taken = library.GetModules()->TakeAll(&ImodelAskForUnitAhead);
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
// A hundred thousand units lie apart in memory: each unit is asked for some
// places ahead, and its context once the unit is there, so that their
// misses overlap instead of coming one after the other.
void DeleteInOrder(std::vector<ImodelModule::Owned>& units)
{
    const auto ahead = [](const ImodelModule::Owned* unit, int step) { ImodelAskForUnitAhead(unit->get(), step); };
    // The list is this function's own: its entries may be emptied.
    ImodelVisitAhead(units, ahead,
                     [](const ImodelModule::Owned* unit) { const_cast<ImodelModule::Owned*>(unit)->reset(); });
    units.clear();
}

// When nobody can tell the units apart from gone, what others could see of
// their going is done here and their memory, which nothing reaches any
// more, is freed on the reclaimer's thread: a hundred thousand units lie
// apart in memory, and freeing them is mostly waiting for the cache.
// Otherwise the units go one by one, as the views hear them go.
void DeleteTogether(std::vector<ImodelModule::Owned>& units)
{
    if (units.empty()) return;
    imodelRetiredUnits retired(std::move(units));
    if (imodelRetireQuietly(retired)) {
        imodelTheReclaimer().HandOverValue(std::move(retired));
        return;
    }
    units = std::move(retired.units);
    retired.units.clear();
    ImodelModule::UnlinkTogether(units);
    DeleteInOrder(units);
}

}  // namespace

void ImodelDestroyLib(boost::shared_ptr<ZorpaLibrary<ImodelModule*>> library)
{
    if (!library) return;
    std::vector<ImodelModule::Owned> units;
    TakeUnits(*library, units);
    DeleteTogether(units);
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
    std::vector<ImodelModule::Owned> units;
    for (const boost::shared_ptr<ZorpaLibrary<ImodelModule*>>& library : libraries) {
        if (library) TakeUnits(*library, units);
    }
    libraries.clear();
    // The links among the units go with them, without a search of each
    // list for each unit.
    DeleteTogether(units);
}
