#include "ktcore/DesignBase.h"

#include <foundation/UtlAscii.h>

namespace Brndesign {

CoreStatus DesignBase::getStatus() const
{
    switch (m_state) {
    case 0:
        return {"Generated", 0};
    case 2:
        return {"Out of date", 2};
    default:
        return {"Not generated", 1};
    }
}

bool DesignBase::IsDeviceSupported(IIDEObject*, const BrnDevice& device) const
{
    return m_device.family.empty() || UtlIsSameNoCase(m_device.family, device.family);
}

}  // namespace Brndesign
