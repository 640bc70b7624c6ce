// The top-level units of a library (its packages, then the units that no
// unit of the library instantiates), kept up to date by change rather than
// made anew from every unit of the library each time a file is parsed.
//
// A unit tells this bookkeeping of every change that may move it into or out
// of its library's top-level list: it entered or left the library, its
// parents changed, one of its parents changed library, it became or stopped
// being a package, or its place in the library's order changed. The next
// update of that library's list then looks at those units only. What is
// told is kept per library unit set, for the sets whose list was made here
// once; a set whose changes pile up (its list not asked for a long time) is
// made anew at its next update instead.
#pragma once

#include "imodel/design/ImodelModule.h"

#include <zorpa/ZorpaLibrary.h>

#include <boost/shared_ptr.hpp>

namespace imodelTopUnits {

// The unit, standing in `set` (none: nothing), may have changed its standing.
void Touched(const ImodelModule& unit, const ImodelModule::UnitSet* set);
// The unit leaves `set`, or is about to change its order or package flag
// there: told while it still has them.
void Leaving(const ImodelModule& unit, const ImodelModule::UnitSet* set);

// Brings the library's top-level list up to date (made when missing):
// packages first, in the reverse order of the library's unit set, then the
// other units in that order; a unit counts when none of its parents is
// defined in a library of this library's name (letter case ignored).
// Nothing for null.
void Update(const boost::shared_ptr<ZorpaLibrary<ImodelModule*>>& library);

// The list Update gives, made from every unit of the library.
void Rebuild(ZorpaLibrary<ImodelModule*>& library);

}  // namespace imodelTopUnits
