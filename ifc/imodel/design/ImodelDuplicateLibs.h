// Deep copies of the design's libraries: each copy holds clones of the
// library's units with their data and shares nothing with the design. The
// caller owns the copies and empties them with ImodelDestroyLibs.
#pragma once

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"

// Appends a copy of each library of the design, in the design's order. The
// first form copies the process-wide design.
void ImodelDuplicateLibs(ImodelDesignManager::Libraries& copies);
void ImodelDuplicateLibs(const ImodelDesignManager& design, ImodelDesignManager::Libraries& copies);
