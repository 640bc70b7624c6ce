// The flow graph as text: nodes in order with their naming and conditions,
// then the transitions of each kind in order, with their numbers, names,
// ends and conditions.
#pragma once

#include "iprocess/IprocessFlow.h"

#include <string>

std::string DumpFlow(const IprocessFlow& flow);
