#include "ktwkspace/VyComponent.h"

#include "ktwkspace/Workspace.h"

#include <foundation/UtlAscii.h>
#include <vy/IComponentVisitor.h>

namespace Ktwkspace {

VyComponent::VyComponent(Workspace* workspace, std::unique_ptr<Brndesign::ConstraintsEditorDesign> design,
                         const std::string& name)
    : m_workspace(workspace), m_design(std::move(design)), m_name(name), m_engine(m_design->GetDesignName())
{
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
    if (m_workspace == nullptr || !m_design->Save()) return false;
    m_engine = VyengineCore(m_design->GetDesignName());
    return m_workspace->OpenEditor(this);
}

}  // namespace Ktwkspace
