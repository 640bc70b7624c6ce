// A component of the core workspace: a core or a block design, known by its
// identity, with its definition file, its IXF file (the generated
// description), the state of its generated files and the device it was made
// for. The workspace owns its components; everyone else holds them by plain
// pointer, and a component stays alive as long as the workspace that made it.
#pragma once

#include <ktcore/DesignBase.h>
#include <vy/ComponentID.h>
#include <vy/IComponent.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Ktwkspace {

class Workspace;

// What the workspace file keeps of a component.
struct WorkspaceComponentRecord {
    VyIfaces::ComponentID id;
    VyIfaces::IComponent::VyModuleType type = VyIfaces::IComponent::Kiltora;
    // 0 generated, 1 saved (not generated since), 2 out of date.
    int state = 1;
    // The state it had when its definition file went missing and the audit
    // made it out of date; none when it is not so. With the file back it
    // takes that state again.
    std::optional<int> stateBeforeMissing;
    std::string definitionFile;
    std::string ixfFile;
    // The device the component was made for; an empty family: none.
    std::string family;
    std::string die;
    std::string package;
    // The files of the unit a component of an HDL or schematic kind stands for.
    std::vector<std::string> designFiles;
    std::vector<VyIfaces::ComponentInstance> instances;
    // The values the core was configured with, in the order they were set.
    std::vector<std::pair<std::string, std::string>> parameters;
};

class WorkspaceComponent : public VyIfaces::IComponent {
public:
    explicit WorkspaceComponent(WorkspaceComponentRecord record) : m_record(std::move(record)) {}

    const VyIfaces::ComponentID& GetComponentID() const override { return m_record.id; }
    VyModuleType GetModuleType() const override { return m_record.type; }
    std::string GetDefinitionFileName() const override { return m_record.definitionFile; }
    void Accept(VyIfaces::IComponentVisitor& visitor) override;
    int GetState() const override { return m_record.state; }
    std::string GetIXFFileName() const override { return m_record.ixfFile; }
    // Made for a device whose family or die (letter case ignored) differs
    // from `device`'s; a component made for no family depends on none.
    bool DependsOnDevice(const BrnDevice& device) const override;
    // Its design: its design files, the device it was made for, its state.
    // The object stays the component's; it tells what the record says now.
    VyIfaces::IDesignObject* GetDesignObject() const override;
    // A generated component may be packaged.
    int GetPackagingState() const override { return m_record.state == 0 ? 0 : 1; }
    std::vector<VyIfaces::ComponentInstance> GetInstances() const override { return m_record.instances; }
    // Opens its editor in the workspace that holds it.
    bool Open() override;

    const WorkspaceComponentRecord& GetRecord() const { return m_record; }

private:
    friend class Workspace;
    WorkspaceComponentRecord m_record;
    // The workspace that holds it; set when it is taken in.
    Workspace* m_owner = nullptr;
    mutable Brndesign::DesignBase m_design;
};

}  // namespace Ktwkspace
