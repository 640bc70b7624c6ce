// The builders of the one design flow the system knows: its file nodes, its
// tool nodes and the transitions between them, each in the fixed order
// later code relies on (lookups take the first node of a type, the file
// watcher and the flow-order sorting follow the node order).
#pragma once

#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessToolObject.h"

#include <memory>
#include <vector>

class IfileManager;

// The 17 file nodes; each listens to `fileManager` (none when null).
bool IprocessCreateFlowFileObjects(std::vector<std::unique_ptr<IprocessFileObject>>& nodes, IfileManager* fileManager);
// The 15 tool nodes, 16 with the core configurator (fourth) when the model
// integrates it.
bool IprocessCreateFlowToolObjects(std::vector<std::unique_ptr<IprocessToolObject>>& tools);
