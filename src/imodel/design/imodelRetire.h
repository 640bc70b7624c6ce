// Units deleted together (a closed project's, a dropped library's), split
// in two: what others can see of their going, done on the calling thread
// in their order, and their memory, which nothing reaches afterwards and
// which may be freed on any thread (imodelReclaimer).
#pragma once

#include "imodel/design/ImodelModule.h"

#include <vector>

// When nobody can tell (no view hears removals, the process display and
// manager hold none of the units, the model has its process manager),
// does now for every unit, out of its library, what its destructor does
// that others can see: the units are unlinked (as UnlinkTogether does;
// when every unit alive goes, their lists are left to go with their
// memory), leave the change events' registry and the live count, their
// contexts leave the waiting lists, the tested unit is forgotten. True
// then: the units must be deleted inside an imodelRetiredUnits. False,
// with nothing done, otherwise: they are deleted one by one as before.
bool imodelRetireQuietly(const std::vector<ImodelModule::Owned>& units);

// Units retired together; deleting it frees their memory, on whatever
// thread, and touches nothing else.
struct imodelRetiredUnits {
    explicit imodelRetiredUnits(std::vector<ImodelModule::Owned>&& retired) : units(std::move(retired)) {}
    imodelRetiredUnits(imodelRetiredUnits&&) = default;
    imodelRetiredUnits& operator=(imodelRetiredUnits&&) = delete;
    ~imodelRetiredUnits();

    std::vector<ImodelModule::Owned> units;
};
