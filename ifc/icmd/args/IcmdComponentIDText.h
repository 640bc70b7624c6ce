// The text form of a design unit's or core's identity on a command line, in
// the active root and in the module blocks of the project file:
// "name", "name::library" or "name::library::package". A text without "::"
// names library "work".
#pragma once

#include <vy/ComponentID.h>

#include <string>

// Name before the first "::", library between the first and the second,
// package the rest (further "::" stay in the package).
VyIfaces::ComponentID IcmdReadComponentID(const std::string& text);
// The name; when the name is not empty, "::" and the library, then "::" and
// the package when there is one. An identity without a name is written as
// an empty text, whatever its library and package.
std::string IcmdWriteComponentID(const VyIfaces::ComponentID& id);
