// The top-level units of a library: its packages, then the units that no
// unit of the library instantiates.
//
// The list is made lazily. Bringing it up to date only marks it stale; it
// is made anew from every unit of the library, in one pass, when it is next
// read. A project whose files are parsed one after the other (each parse
// brings the list up to date) thus pays one pass per reading of the list
// rather than one per parsed file.
#pragma once

#include "imodel/design/ImodelModule.h"

#include <zorpa/ZorpaLibrary.h>

#include <deque>
#include <string>

namespace imodelTopUnits {

// Marks the library's list stale, making an empty one when it has none.
void MarkStale(ZorpaLibrary<ImodelModule*>& library);

// The library's list, made anew first when it is stale; null when the
// library has none.
std::deque<ImodelModule*>* Current(ZorpaLibrary<ImodelModule*>& library);

// Makes the list anew (made when missing): packages first, in the reverse
// order of the library's unit set, then the other units in that order; a
// unit counts when none of its parents is defined in a library of this
// library's name (letter case ignored).
void Rebuild(ZorpaLibrary<ImodelModule*>& library);

// Whether no unit of the library of that name (letter case ignored)
// instantiates the unit.
bool IsTop(const ImodelModule& unit, const std::string& library);

// The first unit of the list, packages left out, for which `wanted` holds,
// found without making the list: the list's other units come in the order
// of the library's unit set, so a walk of that set that stops at the first
// one gives the same unit. Null when there is none.
template <class Wanted>
ImodelModule* FirstNonPackage(const ZorpaLibrary<ImodelModule*>& library, Wanted wanted)
{
    const auto& units = library.GetModules();
    if (!units) return nullptr;
    const std::string name = library.GetName();
    for (ImodelModule* unit : *units)
        if (unit != nullptr && !unit->IsPackage() && IsTop(*unit, name) && wanted(unit)) return unit;
    return nullptr;
}

}  // namespace imodelTopUnits
