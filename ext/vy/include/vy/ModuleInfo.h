// What the block-design library is told about a module that the design
// environment offers it: its kind, its type text, its status, its identity
// and the file that defines it.
#pragma once

#include "vy/ComponentID.h"

#include <string>

namespace Vymodel {

// The block-design library's state of a module, a plain number it defines.
class ModuleStatus {
public:
    explicit ModuleStatus(int state) : m_state(state) {}
    int GetState() const { return m_state; }

private:
    int m_state;
};

class ModuleInfo {
public:
    ModuleInfo(int kind, const std::string& type, const ModuleStatus& status, const VyIfaces::ComponentID& id,
               const std::string& moduleName, const std::string& fileName)
        : m_kind(kind), m_type(type), m_status(status), m_id(id), m_moduleName(moduleName), m_fileName(fileName)
    {
    }

    int GetKind() const { return m_kind; }
    const std::string& GetType() const { return m_type; }
    const ModuleStatus& GetStatus() const { return m_status; }
    const VyIfaces::ComponentID& GetComponentID() const { return m_id; }
    const std::string& GetModuleName() const { return m_moduleName; }
    // The full name of the file that defines the module.
    const std::string& GetFileName() const { return m_fileName; }

private:
    int m_kind;
    std::string m_type;
    ModuleStatus m_status;
    VyIfaces::ComponentID m_id;
    std::string m_moduleName;
    std::string m_fileName;
};

}  // namespace Vymodel
