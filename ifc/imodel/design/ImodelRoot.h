// Choosing the root unit: the top of the design that the flow works on.
#pragma once

#include "imodel/design/ImodelLinkList.h"

#include <deque>

class ImodelModule;

// Whether the unit may be the root: never null, never a package, and, while
// tests run, never a unit of ImodelModule::CannotBeSetAsRootList().
bool ImodelCanBeRoot(const ImodelModule* module);

// The first unit of the list that may be the root; when none may, the
// sub-block lists of the list's units are searched the same way, one after
// the other in list order. So every unit of a level is tried before any unit
// below it. Null for a null list or when no unit qualifies. Each unit's
// sub-blocks are searched once, so a cyclic hierarchy ends the search too.
// The search keeps its own stack: no hierarchy is too deep for it.
ImodelModule* ImodelGetFirstValidRoot(ImodelUnitListRef modules);

// The same over the top-level units of the library "work", rebuilt first;
// null when there is no such library.
ImodelModule* ImodelGetFirstValidRoot();
