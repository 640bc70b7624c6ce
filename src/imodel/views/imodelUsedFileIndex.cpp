#include "src/imodel/views/imodelUsedFileIndex.h"

#include "src/imodel/views/imodelFileNameIndex.h"

namespace {

// Made once and never deleted: revisions may outlive the statics of this
// file at the process's end.
imodelFileNameIndex<ImodelRevContextImpl>& TheIndex()
{
    static auto* const index = new imodelFileNameIndex<ImodelRevContextImpl>;
    return *index;
}

}  // namespace

void imodelUsedFileIndex::Add(ImodelRevContextImpl* revision, const ImodelRevContextImpl::UsedFiles& files)
{
    if (!files.empty()) TheIndex().AddAll(revision, files);
}

void imodelUsedFileIndex::Remove(ImodelRevContextImpl* revision, const ImodelRevContextImpl::UsedFiles& files)
{
    if (!files.empty()) TheIndex().RemoveAll(revision, files);
}

void imodelUsedFileIndex::Add(ImodelRevContextImpl* revision, const IfileObject& file)
{
    TheIndex().Add(revision, file);
}

void imodelUsedFileIndex::Remove(ImodelRevContextImpl* revision, const IfileObject& file)
{
    TheIndex().Remove(revision, file);
}

bool imodelUsedFileIndex::Any(const IfileObject& file) { return TheIndex().Any(file); }

std::vector<ImodelRevContextImpl*> imodelUsedFileIndex::Holding(const IfileObject& file)
{
    return TheIndex().Holding(file);
}
