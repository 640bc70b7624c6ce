// The identity of a block-design component: its name, its HDL library and
// its package. Ids compare field by field without regard to case; the
// default id has an empty name and package and the library "work".
#pragma once

#include <string>

namespace VyIfaces {

class ComponentID {
public:
    ComponentID() = default;
    ComponentID(const std::string& name, const std::string& library, const std::string& package)
        : name(name), library(library), package(package)
    {
    }

    // Every field equal, letter case ignored.
    bool operator==(const ComponentID& other) const;
    bool operator!=(const ComponentID& other) const { return !(*this == other); }

    // Equal to the default id.
    bool IsDefault() const;
    // The name; when the name is not empty, "::" and the library; when the
    // package is not empty, a further "::" and the package.
    std::string ToString() const;
    // The reverse reading: the name before the first "::", the library
    // between the first and the second, the package the rest (further "::"
    // stay in it); a text without "::" names library "work".
    static ComponentID FromString(const std::string& text);

    std::string name;
    std::string library = "work";
    std::string package;
};

}  // namespace VyIfaces
