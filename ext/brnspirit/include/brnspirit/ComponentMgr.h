// The core-component library: the SPIRIT components the suite installs,
// by identity. The components are the SPIRIT core descriptions (root
// element "Component"; files "*.xml" and "*.cxf", letter case ignored)
// found in the folder "data/spirit" of the suite's install folder
// (BRENNIC_SW_DIR) and in its sub-folders, read the first time the manager
// is asked. Of each the manager keeps its identity, its file and the names
// of its generators:
//
//   <componentGenerators>
//     <componentGenerator><name>LGI_wizard</name></componentGenerator>
//   </componentGenerators>
#pragma once

#include <ulv/VlnvCoreId.h>

#include <string>
#include <vector>

namespace Brnspirit {

class Component {
public:
    Component(VlnvCoreId core, std::string fileName, std::vector<std::string> generators)
        : m_core(std::move(core)), m_fileName(std::move(fileName)), m_generators(std::move(generators))
    {
    }

    const VlnvCoreId& GetVLNV() const { return m_core; }
    const std::string& GetFileName() const { return m_fileName; }
    // The names of the component's generators, in file order.
    const std::vector<std::string>& GetGenerators() const { return m_generators; }

private:
    VlnvCoreId m_core;
    std::string m_fileName;
    std::vector<std::string> m_generators;
};

class ComponentMgr {
public:
    // The process's manager; it reads the install folder's components when
    // first asked.
    static ComponentMgr* GetInstance();

    // The component of that identity (each field compared without regard
    // to case); the first one read when several have it; null when none.
    const Component* GetComponent(const VlnvCoreId& core);
    // Replaces the components by those of the folder and its sub-folders;
    // the number read. A file that is no readable description is skipped.
    int Load(const std::string& folder);
    const std::vector<Component>& GetComponents();

private:
    ComponentMgr() = default;
    void LoadOnce();

    std::vector<Component> m_components;
    bool m_loaded = false;
};

}  // namespace Brnspirit
