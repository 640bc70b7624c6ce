// Finding design units in the design's libraries: by name (and, when asked,
// by defining file), by block-design identity or component, by name pattern,
// and the package that a use clause of an HDL file names.
//
// Names compare without regard to case. Searches over every library go
// through the design manager's libraries in creation order and stop at the
// first hit. A lookup by name in one library is a search of its ordered unit
// set, not a walk over it. Nothing here reports to the user: a missing
// library, an empty name or no match gives null.
#pragma once

#include <zorpa/ZorpaLibrary.h>
#include <zorpa/ZorpaModule.h>

#include <boost/shared_ptr.hpp>

#include <deque>
#include <string>
#include <vector>

class IfileObjectEx;
class ImodelModule;
namespace VyIfaces {
class ComponentID;
class IComponent;
}  // namespace VyIfaces

// The unit of that name in the library, or null. Of several units of one
// name (each defined by its own file) the one whose file orders first is
// taken; with a non-empty `fileName`, the one defined by that file (file-name
// equality), null when none is. The kind does not narrow the search.
ImodelModule* ImodelFindModuleInLib(boost::shared_ptr<ZorpaLibrary<ImodelModule*>> library, const std::string& name,
                                    zorpaModuleTypes kind, const std::string& fileName);

// The unit of a block-design identity: its name in the library the identity
// names. The identity's package is not looked at.
ImodelModule* ImodelFindModule(const VyIfaces::ComponentID& id);

// The first library, in the design's order, that holds such a unit decides.
ImodelModule* ImodelFindModuleInAnyLib(const std::string& name, const std::string& fileName);

// The first unit, in the library's set order, whose cached block-design
// component has the identity of `component`; null when either is null.
ImodelModule* ImodelFindModule(VyIfaces::IComponent* component, boost::shared_ptr<ZorpaLibrary<ImodelModule*>> library);
// The same over the design's libraries in order; null for a null component.
ImodelModule* ImodelFindModuleInAnyLib(VyIfaces::IComponent* component);

// Appends to `out`, in set order, every unit of the library whose name
// matches the wildcard `pattern` (letter case ignored) and that `accept`
// takes (a null `accept` takes every unit). Returns the number of units
// looked at, that is every unit of the library, not the number appended;
// 0, with `out` unchanged, for a null library or an empty pattern.
int ImodelGetMatchingModules(boost::shared_ptr<ZorpaLibrary<ImodelModule*>> library, const std::string& pattern,
                             std::vector<ImodelModule*>& out, bool (*const& accept)(ImodelModule*));

// The package unit that a use clause "library.package.item" of `file`
// names, or null. `useName` is left holding the clause's library part,
// lower-cased (unchanged for a clause without a dot). The library part
// "work" is looked for in the file's own library first, then in "work".
// `visited` collects the "library.package" keys searched; a key already in
// it is not searched again, so one list shared by the calls of one search
// looks at each package once.
ImodelModule* ImodelFindUsedPackage(boost::shared_ptr<IfileObjectEx> file, std::string& useName,
                                    std::deque<std::string>& visited);

// One step of the search above: the package of that name among the
// top-level units of the library (the last one listed when several are);
// null when the key was visited already, the library does not exist or has
// no top-level list. A null `visited` remembers nothing.
ImodelModule* ImodelFindPackageInLib(std::deque<std::string>* visited, const std::string& library,
                                     const std::string& package);
