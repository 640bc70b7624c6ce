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
// and the dump go once along every path, as their answers are defined.
#pragma once

#include <zorpa/ZorpaLibrary.h>

#include <boost/shared_ptr.hpp>

#include <deque>
#include <memory>
#include <ostream>
#include <string>

class IfileObject;
class IfileObjectEx;
class ImodelModule;

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
ImodelModule* ImodelFindModuleInTree(const std::string& name, const std::deque<ImodelModule*>* modules);

// The next unit after `start`, depth-first along every path, whose name
// matches `name`: a wildcard pattern with `wildcard`, else the name itself;
// with or without letter case. A null `start` tests every unit from the
// first; passing `start` sets it to null. Null when nothing matches.
ImodelModule* ImodelFindModuleMatch(const std::string& name, const std::deque<ImodelModule*>* modules,
                                    ImodelModule*& start, bool caseSensitive, bool wildcard);
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
bool ImodelIsLoop(const ImodelModule* module, const std::deque<ImodelModule*>* modules);

// Whether a unit of the list, or below it, is an HDL unit (VHDL or Verilog).
bool ImodelHasSubHdlBlocks(const std::deque<ImodelModule*>* modules);

// Whether some library of the design holds a unit.
bool ImodelHasModule();

// Whether the unit's defining file lies in the library, or uses a package
// ("library.package...") of it; library names compare without letter case.
bool ImodelIsModuleDependentOfLibrary(const ImodelModule* module,
                                      boost::shared_ptr<ZorpaLibrary<ImodelModule*>> library);

// False when a unit of the list, or above it along the parent lists, is
// defined by `file` (the same object); true otherwise and for a null list.
// Given a unit's parent list: whether the unit is a top unit of its file.
bool ImodelIsTopLevelModuleOfFileRec(const boost::shared_ptr<IfileObjectEx>& file,
                                     const std::deque<ImodelModule*>* parents);

// Whether `file` defines a unit of the design's module tree.
bool ImodelIsUsedInHierarchy(const IfileObject& file);

// --- operations on the tree ---------------------------------------------------------------------

// Calls `ftor` with every unit of every library, libraries in the design's
// order, units in set order.
void ImodelApplyToAllModules(const ImodelModifyModuleFtor& ftor);

// Deletes every unit of the list (each once, however often it is listed),
// then the list itself. Nothing for null.
void ImodelDestroyTree(std::unique_ptr<std::deque<ImodelModule*>> modules);

// Appends the simulator parameters of the unit and of every unit below it,
// in depth-first order, each separated from what is already there by a blank.
void ImodelAppendVSimParams(const ImodelModule* module, std::string& params);

// Writes the tree as text, one unit a line: `indent`, the name, " [library]"
// when the unit's library is not empty and differs from `library`, then
// " (" the title and extension of its file, or "?" without file, ")". Each
// level is sorted by the unit order (lower-cased names first) and followed by
// its sub-blocks, indented three more blanks. A unit met again below itself
// is written but not entered.
std::ostream& ImodelDumpTree(std::ostream& out, const std::string& indent, const std::deque<ImodelModule*>* modules,
                             const std::string& library);
