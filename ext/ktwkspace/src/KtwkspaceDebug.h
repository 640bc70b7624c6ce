// Debug lines of the core-workspace library: printed only while the
// suite's DEBUG_MSG switch is on.
#pragma once

#include <string>

namespace Ktwkspace {

void DebugLine(const std::string& text);

}  // namespace Ktwkspace
