// The design units concerned by a file, found through an index kept as
// units and their lists change rather than by a walk of every unit.
#pragma once

#include "ifile/IfileObject.h"

#include <vector>

class IfileObjectEx;
class ImodelModule;

// The units of the design's libraries that may name one of `files` in the
// lists ImodelModule::updateModel brings in line (packages to ignore,
// stimulus, CDB order, synthesis and physical-synthesis constraints,
// customized lists), with the units `defining` is the file of (when given)
// and, with `anyPhySynthList`, every unit whose physical-synthesis
// constraint list is not empty. Each once, in the order
// ImodelApplyToAllModules visits them. Units that name another file of the
// same last name part may be among them: the caller checks each unit as a
// walk of every unit would. For the main thread.
std::vector<ImodelModule*> ImodelUnitsNamingFiles(const std::vector<IfileObject>& files, const IfileObjectEx* defining,
                                                  bool anyPhySynthList);
