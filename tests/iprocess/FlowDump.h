// The flow graph as text: nodes in order with their naming and conditions,
// then the transitions of each kind in order, with their numbers, names,
// ends and conditions.
#pragma once

#include "iprocess/IprocessFlow.h"

#include <string>
#include <vector>

class ImodelModule;
class IfileManager;

std::string DumpFlow(const IprocessFlow& flow);

// What a change left of the states: each unit's views with their state,
// the states they can reach and each tool's state (a unit whose views are
// not made yet is told as such), then every file with its state, then the
// names of the events a view was sent (`events`).
std::string DumpStates(const IprocessFlow& flow, IfileManager& files, const std::vector<ImodelModule*>& units,
                       const std::vector<std::string>& events);
