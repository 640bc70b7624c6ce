// A component of the block-design kind that the workspace keeps for an
// editor over a design of the core-design library (the constraints
// editor's): its identity and definition file are the design's, and
// opening it opens the editor in the workspace, which writes the design's
// editor file and puts the editor in front.
#pragma once

#include <ktcore/ConstraintsEditorDesign.h>
#include <vy/IComponent.h>
#include <vy/VyengineCore.h>

#include <memory>
#include <string>

namespace Ktwkspace {

class Workspace;

class VyComponent : public VyIfaces::IComponent {
public:
    // `name`, when not empty, is the name its editor is shown under.
    VyComponent(Workspace* workspace, std::unique_ptr<Brndesign::ConstraintsEditorDesign> design,
                const std::string& name);

    const VyIfaces::ComponentID& GetComponentID() const override { return m_design->GetComponentID(); }
    VyModuleType GetModuleType() const override { return Veyrun; }
    // The design's editor file.
    std::string GetDefinitionFileName() const override { return m_design->GetEditorFileName(); }
    void Accept(VyIfaces::IComponentVisitor& visitor) override;
    std::string GetDisplayName() const override;
    // Made for a device of another family or die (letter case ignored); a
    // design made for no family depends on none.
    bool DependsOnDevice(const BrnDevice& device) const override;
    VyIfaces::IDesignObject* GetDesignObject() const override { return m_design.get(); }
    // Writes the design's editor file and opens the editor in the
    // workspace; false when either fails. The packages of the source whose
    // ports it shows are asked of the environment first; a constraint file
    // that is not there yet is made (a comment line naming its unit), and
    // the environment told of it, once the editor is open.
    bool Open() override;
    // Draws the design: its engine names the unit whose ports it shows, or
    // the unit it edits the constraints of when it shows none.
    const VyengineCore* GetEngine() const override { return &m_engine; }
    void SetDeleteHelper(DeleteHelper* helper) override { m_deleter = helper; }
    DeleteHelper* GetDeleteHelper() const override { return m_deleter; }

    Brndesign::ConstraintsEditorDesign& GetDesign() const { return *m_design; }

private:
    std::string EngineDesignName() const;

    Workspace* m_workspace;
    std::unique_ptr<Brndesign::ConstraintsEditorDesign> m_design;
    std::string m_name;
    VyengineCore m_engine;
    DeleteHelper* m_deleter = nullptr;
};

}  // namespace Ktwkspace
