// Visibility of design units through use clauses.
//
// A unit's possible libraries (the list the HDL scanner keeps on each unit)
// are the use clauses met before it, then the name of the unit's own
// library: "ieee.std_logic_1164.all", "work.types.all", "lib.unit", ...,
// "work". A clause names a library, then either a unit or everything
// ("all"), or a package and one of its items or everything. In a clause the
// library "work" stands for the unit's own library: the last entry of the
// list without a dot ("work" when there is none). Names and libraries
// compare without regard to case.
#pragma once

#include "zorpa/ZorpaLibrary.h"
#include "zorpa/ZorpaModule.h"
#include "zorpa/ZorpaString.h"

#include <deque>
#include <iterator>
#include <string>
#include <type_traits>

// A use clause split at its dots, each part lower-cased. A two-part clause
// ("library.item") has an empty package; in a longer one the package is
// the second part and the item all that follows it.
struct ZorpaUseClause {
    std::string library;
    std::string package;
    std::string item;

    // Whether the clause reaches a unit of that name: its item is "all" or
    // the name.
    bool Names(const std::string& name) const;
};

// False, leaving `clause` alone, for a text without a dot.
bool ZorpaSplitUseClause(const std::string& text, ZorpaUseClause& clause);

// The own library of a unit with these possible libraries: the last entry
// without a dot, `fallback` when there is none.
std::string ZorpaOwnLibrary(const std::deque<std::string>& possibleLibraries, const std::string& fallback);

// Whether a unit with these possible libraries may see the unit `name` of
// `library`: the library is its own, or a clause of that library names the
// unit or everything, directly or through one of its packages.
bool ZorpaFindModuleInPossibleLib2(const std::string& name, const std::string& library,
                                   const std::deque<std::string>& possibleLibraries);

namespace zorpaDetail {

// The first library of that name; empty when there is none.
template <class LibIt>
typename std::iterator_traits<LibIt>::value_type FindLibrary(LibIt first, LibIt last, const std::string& name)
{
    for (; first != last; ++first)
        if (*first && ZorpaCompareNoCase((*first)->GetName(), name) == 0) return *first;
    return {};
}

template <class T>
bool DeclaresUnit(const T& package, const std::string& name)
{
    const auto* subBlocks = package->GetSubBlocks();
    if (subBlocks == nullptr) return false;
    for (const T& sub : *subBlocks)
        if (sub && sub->IsSameModule(name)) return true;
    return false;
}

}  // namespace zorpaDetail

// The package through which a unit with the possible libraries `clauses`
// reaches `module`: for the first clause "library.package.item" whose item
// is "all" or the module's name, whose library is among the design's
// libraries [first, last) and holds a package of that name with a defining
// file, that package; with `declaringOnly`, only a package that declares the
// module (holds a sub-block of its name) counts. In a clause "work" is the
// clause owner's own library, or the module's library when the list names
// none. Null when no clause leads to such a package, and for a null `key`
// (the prototype of the caller's units).
// T is a pointer to a unit type with GetName, GetDefinedInLibrary,
// IsPackage, GetModuleFile, GetSubBlocks, IsSameModule and GetUnitOrder
// (a library's units of one name are found by their lower-cased name).
template <class T, class LibIt>
T ZorpaFindUsedPackages(LibIt first, LibIt last, T module, std::deque<std::string> clauses, bool declaringOnly, T key)
{
    static_assert(std::is_pointer_v<T>, "ZorpaFindUsedPackages works on unit pointers");
    if (module == nullptr || key == nullptr) return nullptr;
    const std::string ownLibrary = ZorpaOwnLibrary(clauses, module->GetDefinedInLibrary());
    for (const std::string& text : clauses) {
        ZorpaUseClause clause;
        if (!ZorpaSplitUseClause(text, clause) || clause.package.empty() || !clause.Names(module->GetName())) continue;
        const std::string& libraryName = clause.library == "work" ? ownLibrary : clause.library;
        const auto library = zorpaDetail::FindLibrary(first, last, libraryName);
        if (!library) continue;
        const auto [from, to] = library->GetModules()->equal_range(ZorpaUnitName{clause.package});
        for (auto it = from; it != to; ++it) {
            const T candidate = *it;
            if (candidate && candidate->IsPackage() && candidate->GetModuleFile() &&
                (!declaringOnly || zorpaDetail::DeclaresUnit(candidate, module->GetName())))
                return candidate;
        }
    }
    return nullptr;
}
