// The files the views chose for the flow (each revision's used files),
// indexed by name: a file that leaves the project is looked for here, not
// in every unit's views. A project opened with thousands of chosen files
// missing would otherwise walk every unit for each of them.
//
// The key is the name after its last separator, letter case folded: two
// names of one file share it, and it does not depend on the project folder
// (a "<project>" name keeps its key when the project moves). Files of
// several folders may share a key: the caller compares what it finds.
//
// Revisions may be deleted on the reclaimer's thread: the index is locked.
#pragma once

#include "imodel/views/ImodelRevContextImpl.h"

#include <vector>

namespace imodelUsedFileIndex {

void Add(ImodelRevContextImpl* revision, const ImodelRevContextImpl::UsedFiles& files);
void Remove(ImodelRevContextImpl* revision, const ImodelRevContextImpl::UsedFiles& files);
void Add(ImodelRevContextImpl* revision, const IfileObject& file);
void Remove(ImodelRevContextImpl* revision, const IfileObject& file);
// Whether some revision holds a file of the file's key.
bool Any(const IfileObject& file);
// The revisions holding a file of the file's key, each once.
std::vector<ImodelRevContextImpl*> Holding(const IfileObject& file);

}  // namespace imodelUsedFileIndex
