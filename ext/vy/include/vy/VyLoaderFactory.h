// The module loader of the block-design model library: reads a Verilog
// library file and gives its modules by component identity. The cell
// library of the device maker is read this way.
#pragma once

#include "vy/ComponentID.h"

#include <boost/shared_ptr.hpp>

#include <map>
#include <string>

class IIDEObject;

namespace Vymodel {

// A module of a loaded library.
class VyModule {
public:
    explicit VyModule(const std::string& name) : m_name(name) {}
    std::string GetName() const { return m_name; }

private:
    std::string m_name;
};

// Orders identities as ComponentID compares them: field by field, letter
// case ignored.
struct ComponentIDLess {
    bool operator()(const VyIfaces::ComponentID& a, const VyIfaces::ComponentID& b) const;
};

using VyModuleMap = std::map<VyIfaces::ComponentID, boost::shared_ptr<VyModule>, ComponentIDLess>;

class VyLoaderFactory {
public:
    // The modules of the Verilog file `libraryPath` (taken against `baseFolder`
    // when relative and `baseFolder` is not empty), each under the identity
    // (module name, library named after the file's title, no package). Of
    // modules whose names differ only in case the first is kept. An empty
    // pointer when the file cannot be read; an empty map when it holds no
    // module. The design environment object is not needed to read a file.
    static boost::shared_ptr<VyModuleMap> LoadModules(const std::string& libraryPath, const std::string& baseFolder,
                                                      IIDEObject* environment);
};

}  // namespace Vymodel
