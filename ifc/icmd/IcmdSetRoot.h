// set_root: chooses the root module of the design, the unit at the top of
// the hierarchy from which the project's flow is built.
//
//   set_root -module <name[::library[::package]]>
//   set_root <name[::library[::package]]>     the module as one bare word
//
// A module that cannot be the root (a package) or a name that names no module
// fails the command and leaves the root as it was. The root's identity is
// stored in the design, the flow of the new root becomes current, and the
// views hear IeventCurrentRootChanged each time, also when the root stays
// the same; only a change marks the project as needing a save.
#pragma once

#include "icmd/IcmdCommandFactory.h"

class ImodelModule;
namespace VyIfaces {
class ComponentID;
}

// The module of that identity becomes the root; the default identity (no
// name) leaves the design without a root. True when set_root succeeded.
bool IcmdDoSetRoot(bool keep, const VyIfaces::ComponentID& id);
// The module becomes the root; null leaves the design without a root.
bool IcmdDoSetRoot(bool keep, ImodelModule* module);

// After files were parsed with the design tree held back: the root is set
// again (the first unit that may be the root when there is none), so that
// every view builds its tree from it.
void IcmdSetRootAgain();

IcmdCommandFactory IcmdSetRootFactory();
