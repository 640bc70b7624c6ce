#include "icmd/scan/ZorpaPort.h"

namespace {

bool IsKeySensitive(zorpaModuleTypes kind)
{
    zorpaModuleIsKeySensitiveVisitor visitor;
    visitor.Visit(kind);
    return visitor.IsKeySensitive();
}

}  // namespace

ZorpaPort::ZorpaPort(const std::string& name, std::uint32_t direction, zorpaModuleTypes unitKind, std::int32_t left,
                     std::int32_t right)
    : m_name(name), m_direction(direction), m_left(left), m_right(right), m_caseSensitive(IsKeySensitive(unitKind))
{
}
