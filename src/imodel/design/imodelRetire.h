// Units deleted together (a closed project's, a dropped library's), split
// in two: what others can see of their going, done on the calling thread
// in their order, and their memory, which nothing reaches afterwards and
// which may be freed on any thread (imodelReclaimer).
#pragma once

#include "imodel/design/ImodelModule.h"

#include <zorpa/ZorpaLibrary.h>

#include <boost/shared_ptr.hpp>

#include <deque>
#include <vector>

// Units retired together; deleting it frees their memory, on whatever
// thread, and touches nothing else.
struct imodelRetiredUnits {
    using Libraries = std::deque<boost::shared_ptr<ZorpaLibrary<ImodelModule*>>>;
    imodelRetiredUnits() = default;
    explicit imodelRetiredUnits(std::vector<ImodelModule::Owned>&& retired) : units(std::move(retired)) {}
    imodelRetiredUnits(imodelRetiredUnits&&) = default;
    imodelRetiredUnits& operator=(imodelRetiredUnits&&) = delete;
    ~imodelRetiredUnits();

    std::vector<ImodelModule::Owned> units;
    // Libraries that held retired units and nothing else can reach.
    Libraries libraries;
    // The contexts' waiting lists, when they went as a whole.
    std::vector<std::vector<const ImodelContextImpl*>> waitingLists;
};

// Whether nobody can tell the units of `sets` from gone once they are
// taken out and deleted together: no view hears removals, the process
// display and manager hold none of them, the model has its process
// manager. Asked before they are taken out, so that what they hold may be
// given up as they leave (imodelUnitJournal::LeavingForGood).
bool imodelNobodyWatchesUnitsOf(const std::vector<const ImodelModule::UnitSet*>& sets);

// For units out of their library that nobody watches (as
// imodelNobodyWatchesUnitsOf said of their sets), does now what their
// destructors do that others can see: the units are unlinked (as
// UnlinkTogether does; when every unit alive goes, their lists are left to
// go with their memory), leave the change events' registry and the live
// count, their contexts leave the waiting lists (which go as a whole when
// they hold no other context), the tested unit is forgotten. Deleting
// `units` then frees their memory and nothing else.
void imodelRetireUnwatched(imodelRetiredUnits& units);

// The same for a closed project's libraries when they hold every unit
// alive and nothing else holds them or their unit sets: the units are
// retired without a look at any of them (the registry, the waiting lists
// when they hold only units' contexts, and the live count go as a whole),
// and the libraries move into `retired.libraries`, `libraries` left empty.
// False, with nothing done, when any of it does not hold.
bool imodelRetireLibrariesQuietly(imodelRetiredUnits::Libraries& libraries, imodelRetiredUnits& retired);

// True while imodelRetiredUnits deletes its units on this thread.
bool imodelDeletingRetired();
