// The files the views chose for the flow (each revision's used files),
// indexed by name (imodelFileNameIndex): a project opened with thousands of
// chosen files missing would otherwise walk every unit for each of them.
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
