#include "ktwkspace/VyComponent.h"

#include "ktwkspace/IIDEObject.h"
#include "ktwkspace/Workspace.h"

#include <foundation/Sys.h>
#include <foundation/UtlAscii.h>
#include <vy/IComponentVisitor.h>
#include <vy/IDEVeyrunCallBack.h>

namespace Ktwkspace {

VyComponent::VyComponent(Workspace* workspace, std::unique_ptr<Brndesign::ConstraintsEditorDesign> design,
                         const std::string& name)
    : m_workspace(workspace), m_design(std::move(design)), m_name(name), m_engine(EngineDesignName())
{
}

std::string VyComponent::EngineDesignName() const
{
    // A unit whose ports it cannot show is still the unit it draws.
    const std::string& shown = m_design->GetDesignName();
    return shown.empty() ? m_design->GetUnitID().name : shown;
}

void VyComponent::Accept(VyIfaces::IComponentVisitor& visitor) { visitor.VisitVeyrunDesign(*this); }

std::string VyComponent::GetDisplayName() const { return m_name.empty() ? GetComponentID().name : m_name; }

bool VyComponent::DependsOnDevice(const BrnDevice& device) const
{
    const BrnDevice& made = m_design->GetDevice();
    if (made.family.empty()) return false;
    return !UtlIsSameNoCase(made.family, device.family) || !UtlIsSameNoCase(made.die, device.die);
}

bool VyComponent::Open()
{
    if (m_workspace == nullptr) return false;
    IIDEObject* environment = m_workspace->GetIDECallBack();
    IDEVeyrunCallBack* engine = environment ? environment->GetVYCallBack() : nullptr;
    // The ports' types come from the packages their source uses, which the
    // environment knows.
    if (engine && !m_design->GetSourceFileName().empty()) {
        Brndesign::ConstraintsEditorDesign::Packages packages;
        engine->VYGetUsedPackages(m_design->GetSourceFileName(), packages);
        m_design->SetPackages(std::move(packages));
    }
    // A constraint file that is not there yet is the editor's to make: a
    // new constraint file of its unit, which says so in its first line (an
    // empty file would be no change worth taking in).
    const std::string constraints = m_design->GetConstraintFileName();
    const std::string& unit = m_design->GetUnitID().name;
    const bool made =
        !constraints.empty() && !UtlDoesDiskObjectExist(constraints) &&
        SysWriteFileAtomically(constraints, "# Constraints of " + (unit.empty() ? "no unit" : unit) + "\n");
    if (!m_design->Save()) return false;
    m_engine = VyengineCore(EngineDesignName());
    if (!m_workspace->OpenEditor(this)) return false;
    if (made && engine) engine->NewConstraintFileAdded(constraints, m_design->GetUnitID());
    return true;
}

}  // namespace Ktwkspace
