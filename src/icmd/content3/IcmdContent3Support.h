// TEMPORARY until parse_file lands.
#pragma once
#include <boost/shared_ptr.hpp>
#include <deque>
#include <string>
#include <vector>
class IfileObject;
class IfileObjectEx;
namespace VyIfaces {
class IComponent;
}
inline bool IcmdContent3ParseFile(const boost::shared_ptr<IfileObjectEx>&, bool, bool, std::deque<IfileObject>*,
                                  std::vector<std::string>*, VyIfaces::IComponent*, bool,
                                  std::vector<VyIfaces::IComponent*>*, std::string&)
{
    return true;
}
#include <foundation/Sys.h>
inline bool IcmdContent3IsSameFile(const std::string& a, const std::string& b)
{
    return !a.empty() && SysGetQualifiedPath(a) == SysGetQualifiedPath(b);
}
