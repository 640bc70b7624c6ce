#include "vy/ComponentID.h"

#include <foundation/UtlAscii.h>

#include <algorithm>
#include <string_view>

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

ComponentID ComponentID::FromString(const std::string& text)
{
    static constexpr std::string_view kSeparator = "::";
    ComponentID id;
    const std::size_t first = text.find(kSeparator);
    if (first == std::string::npos) {
        id.name = text;
        return id;
    }
    id.name = text.substr(0, first);
    const std::size_t libraryStart = first + kSeparator.size();
    const std::size_t second = text.find(kSeparator, libraryStart);
    if (second == std::string::npos) {
        id.library = text.substr(libraryStart);
        return id;
    }
    id.library = text.substr(libraryStart, second - libraryStart);
    id.package = text.substr(second + kSeparator.size());
    return id;
}

}  // namespace VyIfaces
