#include "ktwkspace/WorkspaceComponent.h"

#include <ndb/BrnDevice.h>
#include <vy/IComponentVisitor.h>

#include <algorithm>

namespace Ktwkspace {

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsSameNoCase(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

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
    return !IsSameNoCase(m_record.family, device.family) || !IsSameNoCase(m_record.die, device.die);
}

}  // namespace Ktwkspace
