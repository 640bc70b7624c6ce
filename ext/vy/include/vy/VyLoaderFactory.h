// The module loader of the block-design model library: reads a Verilog
// library file and gives its modules by component identity (the cell
// library of the device maker is read this way), and reads one module with
// its ports from a Verilog or VHDL source file.
#pragma once

#include "vy/ComponentID.h"
#include "vy/VyPort.h"

#include <boost/shared_ptr.hpp>

#include <map>
#include <string>
#include <vector>

class IIDEObject;

namespace Vymodel {

// A module: its name and its ports in declaration order.
class VyModule {
public:
    using Ports = std::vector<boost::shared_ptr<VyPort>>;

    explicit VyModule(const std::string& name, Ports ports = {}) : m_name(name), m_ports(std::move(ports)) {}
    std::string GetName() const { return m_name; }
    // The ports in declaration order; with `sortedByName` by name instead
    // (letter case ignored, declaration order among equal names).
    Ports GetPorts(bool sortedByName) const;

private:
    std::string m_name;
    Ports m_ports;
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

    // The module `moduleName` (the first one when empty) of the source file
    // `fileName` with its ports: a Verilog module (".v", ".vh", ".sv",
    // ".svh") with its ANSI or older port declarations, or a VHDL entity
    // (".vhd", ".vhdl") with its port clause; the name compares with letter
    // case (Verilog) or without (VHDL). Bus bounds may be numbers or
    // expressions (+ - * / and parentheses) over numbers and the module's
    // parameters or generics with a number as value. An empty pointer for a
    // file of another kind, one that cannot be read, a module that is not
    // there, or a port whose direction or bounds cannot be told. The
    // environment object is not needed to read a file.
    static boost::shared_ptr<VyModule> LoadModule(const std::string& fileName, IIDEObject* environment,
                                                  const std::string& moduleName = std::string());
};

}  // namespace Vymodel
