// The flow tool that makes the files of a node, as ItoolCreatedBy names it.
#pragma once

#include <string>

class IprocessFileObject;

// For an optional constraint node, "DAVIRI" or "Synplify" after the first
// physical-synthesis or synthesis tool that makes it; "" otherwise.
std::string itoolCreatorOfNode(const IprocessFileObject& node);
