// What the project model keeps while the design's libraries are saved
// (Imodel::SaveLibraries): the nesting depth, the root id and deep copies of
// the libraries. The copies' units go with the holder.
#pragma once

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelDestroyLib.h"

#include <vy/ComponentID.h>

struct imodelSavedLibraries {
    imodelSavedLibraries() = default;
    imodelSavedLibraries(const imodelSavedLibraries&) = delete;
    imodelSavedLibraries& operator=(const imodelSavedLibraries&) = delete;
    ~imodelSavedLibraries() { ImodelDestroyLibs(libraries); }

    int depth = 0;
    VyIfaces::ComponentID rootId;
    ImodelDesignManager::Libraries libraries;
};
