#include "vy/VyBusDefMgr.h"

namespace Vybusdef {

VyBusDefMgr& VyBusDefMgr::GetInstance()
{
    static VyBusDefMgr manager;
    return manager;
}

bool VyBusDefMgr::Load(const std::string& family)
{
    // The stand-in ships no bus-definition files: every family has the
    // empty set of definitions, so loading is choosing the family.
    if (family.empty()) return false;
    m_family = family;
    return true;
}

}  // namespace Vybusdef
