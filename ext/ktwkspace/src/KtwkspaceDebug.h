// Debug lines of the core-workspace library, printed only while the
// suite's DEBUG_MSG switch is on, and the library's XML text.
#pragma once

#include <string>

namespace Ktwkspace {

void DebugLine(const std::string& text);
// The value as the text of an XML element or attribute.
std::string KtwkspaceXmlText(const std::string& value);

}  // namespace Ktwkspace
