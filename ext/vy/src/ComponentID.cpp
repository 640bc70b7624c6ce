#include "vy/ComponentID.h"

#include <foundation/UtlAscii.h>

#include <algorithm>

namespace VyIfaces {

namespace {

// ASCII only, whatever the locale: HDL names compare the same everywhere.
bool IsSameNoCase(const std::string& a, const std::string& b) { return UtlIsSameNoCase(a, b); }

}  // namespace

bool ComponentID::operator==(const ComponentID& other) const
{
    return IsSameNoCase(name, other.name) && IsSameNoCase(library, other.library) &&
           IsSameNoCase(package, other.package);
}

bool ComponentID::IsDefault() const { return *this == ComponentID(); }

std::string ComponentID::ToString() const
{
    std::string text = name;
    if (!name.empty()) text += "::" + library;
    if (!package.empty()) text += "::" + package;
    return text;
}

}  // namespace VyIfaces
