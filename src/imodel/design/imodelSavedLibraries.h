// What the project model keeps while the design's libraries are saved
// (Imodel::SaveLibraries): the nesting depth, the root id and the journal of
// what the change does to the units that stood before it.
#pragma once

#include "src/imodel/design/imodelUnitJournal.h"

#include <vy/ComponentID.h>

#include <memory>

struct imodelSavedLibraries {
    int depth = 0;
    VyIfaces::ComponentID rootId;
    std::unique_ptr<imodelUnitJournal> journal;
};
