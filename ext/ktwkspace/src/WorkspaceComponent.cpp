#include "ktwkspace/WorkspaceComponent.h"

#include "ktwkspace/Workspace.h"

#include <foundation/UtlAscii.h>
#include <ndb/BrnDevice.h>
#include <vy/IComponentVisitor.h>

namespace Ktwkspace {

void WorkspaceComponent::Accept(VyIfaces::IComponentVisitor& visitor)
{
    switch (m_record.type) {
    case Kiltora:
        return visitor.VisitKiltoraCore(*this);
    case Dremmet:
        return visitor.VisitDremmetCore(*this);
    case IP:
        return visitor.VisitIPCore(*this);
    case HDL:
        return visitor.VisitHDLComponent(*this);
    case Block:
        return visitor.VisitBlock(*this);
    case Schematic:
        return visitor.VisitSchematic(*this);
    case Veyrun:
        return visitor.VisitVeyrunDesign(*this);
    case SynplifyDSP:
        return visitor.VisitSynplifyDSPCore(*this);
    case UserIP:
        return visitor.VisitUserIPCore(*this);
    case SpiritDesign:
        return visitor.VisitSpiritDesign(*this);
    default:
        // Kinds without a visit operation of their own.
        return;
    }
}

bool WorkspaceComponent::DependsOnDevice(const BrnDevice& device) const
{
    if (m_record.family.empty()) return false;
    return !UtlIsSameNoCase(m_record.family, device.family) || !UtlIsSameNoCase(m_record.die, device.die);
}

VyIfaces::IDesignObject* WorkspaceComponent::GetDesignObject() const
{
    m_design = Brndesign::DesignBase(m_record.designFiles, BrnDevice(m_record.family, m_record.die, m_record.package),
                                     m_record.state);
    return &m_design;
}

bool WorkspaceComponent::Open() { return m_owner != nullptr && m_owner->OpenComponent(GetComponentID()); }

}  // namespace Ktwkspace
