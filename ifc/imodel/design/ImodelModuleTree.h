// Walks over the design hierarchy: the lists of units formed by the design's
// top-level units (ImodelDesignManager::GetModuleTree) and each unit's
// sub-block list, or the unit sets of the design's libraries.
//
// Walks are depth-first in list order, a unit before its sub-blocks; null
// lists and null entries are skipped. User HDL may instantiate itself, so
// every walk keeps the units on its current path and does not enter one of
// them again: on an acyclic hierarchy the answers are those of a plain walk,
// on a cyclic one the walk still ends. Walks that only look for a unit visit
// each unit once; the search for the next match, the simulator parameters
// and the dump answer as if they went once along every path, the first two
// without doing so. Every walk keeps its own stack: no hierarchy is too
// deep for it. Each walk that starts from a list takes a plain list (the
// top-level units) or a unit's sub-block or parent list.
#pragma once

#include "imodel/design/ImodelModule.h"

#include <zorpa/ZorpaLibrary.h>

#include <boost/shared_ptr.hpp>

#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class IfileObject;
class IfileObjectEx;

// A change applied to every unit of the design (ImodelApplyToAllModules).
class ImodelModifyModuleFtor {
public:
    virtual ~ImodelModifyModuleFtor() = default;
    // The result is the functor's own; the walk does not stop on it.
    virtual bool operator()(ImodelModule* module) const = 0;
};

// --- searching ---------------------------------------------------------------------------------

// The first unit, depth-first, whose name is `name` (ImodelModule::IsSameModule:
// with case where the unit's key is case-sensitive); null for an empty name.
ImodelModule* ImodelFindModuleInTree(const std::string& name, ImodelUnitListRef modules);

// The next unit after `start`, depth-first along every path, whose name
// matches `name`: a wildcard pattern with `wildcard`, else the name itself;
// with or without letter case. A null `start` tests every unit from the
// first; passing `start` sets it to null. Null when nothing matches.
ImodelModule* ImodelFindModuleMatch(const std::string& name, ImodelUnitListRef modules, ImodelModule*& start,
                                    bool caseSensitive, bool wildcard);
// The same over the design's module tree, wrapping around: when nothing
// matches after `start`, the search runs once more from the first unit.
ImodelModule* ImodelFindModuleMatch(const std::string& name, ImodelModule* start, bool caseSensitive, bool wildcard);

// Among the unit's parents that are packages, in list order, the first whose
// name differs from `name` (letter case ignored), or the first package
// parent when `name` is empty; null when there is none.
ImodelModule* ImodelFindAnotherPackageDeclaringAModule(const ImodelModule* module, const std::string& name);

// --- questions ------------------------------------------------------------------------------------

// Whether `module` equals (ImodelModule::operator==) a unit of the list or
// of the sub-block lists below it: linking the list's units below `module`
// would make it instantiate itself.
bool ImodelIsLoop(const ImodelModule* module, ImodelUnitListRef modules);

// Whether a unit of the list, or below it, is an HDL unit (VHDL or Verilog).
bool ImodelHasSubHdlBlocks(ImodelUnitListRef modules);

// Whether some library of the design holds a unit.
bool ImodelHasModule();

// Whether the unit's defining file lies in the library, or uses a package
// ("library.package...") of it; library names compare without letter case.
bool ImodelIsModuleDependentOfLibrary(const ImodelModule* module,
                                      boost::shared_ptr<ZorpaLibrary<ImodelModule*>> library);

// False when a unit of the list, or above it along the parent lists, is
// defined by `file` (the same object); true otherwise and for a null list.
// Given a unit's parent list: whether the unit is a top unit of its file.
bool ImodelIsTopLevelModuleOfFileRec(const boost::shared_ptr<IfileObjectEx>& file, ImodelUnitListRef parents);

// Whether `file` defines a unit of the design's module tree.
bool ImodelIsUsedInHierarchy(const IfileObject& file);

// --- operations on the tree ---------------------------------------------------------------------

// Calls `ftor` with every unit of every library, libraries in the design's
// order, units in set order: the units each library held when the walk
// reached it, for a call may add or remove units.
// A unit's work is mostly a wait for its memory: the units some places
// ahead are prefetched meanwhile (ImodelPrefetchUnitAhead).
void ImodelApplyToAllModules(const ImodelModifyModuleFtor& ftor);
void ImodelApplyToAllModules(const std::function<void(ImodelModule*)>& visit);

// For a walk over units that prefetches ahead (ImodelVisitAhead): the unit at
// stage 0, its context at stage 1; nothing for the null unit.
void ImodelPrefetchUnitAhead(const ImodelModule* unit, int stage);

// The units of the list and of the sub-block lists below it, each once, in
// the order in which a depth-first walk first meets them.
std::vector<ImodelModule*> ImodelUnitsInTreeOrder(ImodelUnitListRef modules);

// Deletes every unit of the list, each once it has left the list.
void ImodelDestroyTree(ImodelModule::OwnedList modules);

// Appends the simulator parameters of the unit and of every unit below it,
// in depth-first order along every path (a unit used twice adds its own
// twice), each separated from what is already there by a blank. The time
// grows with the units, the links and the text appended. A text longer
// than a simulator could take (16 MiB) is not appended; the user is told.
void ImodelAppendVSimParams(const ImodelModule* module, std::string& params);

// Writes the tree as text, one unit a line: `indent`, the name, " [library]"
// when the unit's library is not empty and differs from `library`, then
// " (" the title and extension of its file, or "?" without file, ")". Each
// level is sorted by the unit order (lower-cased names first) and followed by
// its sub-blocks, indented three more blanks. A unit met again below itself
// is written but not entered. A dump goes down 1000 levels at most and
// stops after 1,000,000 lines; a line beginning "..." says where it stopped.
std::ostream& ImodelDumpTree(std::ostream& out, const std::string& indent, ImodelUnitListRef modules,
                             const std::string& library);

// The walk behind every hierarchy dump: `line` writes each unit met, depth
// first, with the indent of its level (`indent`, then three more blanks a
// level). A level is sorted by the unit order when `sorted`, else kept in
// its own order; null entries are passed over. A unit met again below itself
// is written but not entered; the limits and the "..." lines are the tree
// dump's.
using ImodelDumpLine = std::function<void(std::ostream&, const std::string& indent, const ImodelModule&)>;
void ImodelDumpHierarchy(std::ostream& out, const std::string& indent, ImodelUnitListRef modules, bool sorted,
                         const ImodelDumpLine& line);
