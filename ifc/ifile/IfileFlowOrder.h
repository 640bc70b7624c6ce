// Files in the order of the design flow: by the place of their type among
// the flow's file nodes. The file manager sorts member files with it, and
// the file watcher orders its filters the same way.
#pragma once

#include "ifile/IfileObjectEx.h"

#include <deque>
#include <unordered_map>
#include <vector>

class IprocessFileObject;

class IfileSortFilesFlowOrder {
public:
    // Keeps a copy of the node list (the nodes are not owned).
    explicit IfileSortFilesFlowOrder(const std::vector<IprocessFileObject*>& nodes);
    virtual ~IfileSortFilesFlowOrder() = default;

    // The index of the first node of the type; -1 when no node has it, so
    // that files of types the flow does not know come first.
    int GetFlowPosition(int type) const;
    // `a`'s type comes earlier in the flow than `b`'s.
    bool operator()(const IfileObject& a, const IfileObject& b) const;

private:
    std::vector<IprocessFileObject*> m_nodes;
    std::unordered_map<int, int> m_positions;
};

// Sorts the member files by flow order; files of the same place keep their
// order.
void IfileSortFileListRegardingFlowOrder(const std::vector<IprocessFileObject*>& nodes,
                                         std::deque<IfileObjectEx>& files);
