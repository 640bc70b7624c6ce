#include "src/imodel/views/imodelUsedFileIndex.h"

#include "imodel/names/imodelUtl.h"

#include <mutex>
#include <string>
#include <unordered_map>

namespace {

// Per key, the revisions holding a file of it and how many (one view may
// choose files of one name in two folders, for two steps).
using Holders = std::unordered_map<ImodelRevContextImpl*, unsigned>;

struct Index {
    std::mutex lock;
    std::unordered_map<std::string, Holders> byKey;
};

// Made once and never deleted: revisions may outlive the statics of this
// file at the process's end.
Index& TheIndex()
{
    static Index* const index = new Index;
    return *index;
}

std::string KeyOf(const IfileObject& file)
{
    const std::string& name = file.GetInternalFileName().GetString();
    std::string key = name.substr(name.find_last_of("/\\") + 1);
    ImodelMakeUpper(key);
    return key;
}

void AddLocked(Index& index, ImodelRevContextImpl* revision, const IfileObject& file)
{
    ++index.byKey[KeyOf(file)][revision];
}

void RemoveLocked(Index& index, ImodelRevContextImpl* revision, const IfileObject& file)
{
    const auto holders = index.byKey.find(KeyOf(file));
    if (holders == index.byKey.end()) return;
    const auto held = holders->second.find(revision);
    if (held == holders->second.end()) return;
    if (--held->second == 0) holders->second.erase(held);
    if (holders->second.empty()) index.byKey.erase(holders);
}

}  // namespace

void imodelUsedFileIndex::Add(ImodelRevContextImpl* revision, const ImodelRevContextImpl::UsedFiles& files)
{
    if (files.empty()) return;
    Index& index = TheIndex();
    const std::lock_guard<std::mutex> held(index.lock);
    for (const IfileObject& file : files) AddLocked(index, revision, file);
}

void imodelUsedFileIndex::Remove(ImodelRevContextImpl* revision, const ImodelRevContextImpl::UsedFiles& files)
{
    if (files.empty()) return;
    Index& index = TheIndex();
    const std::lock_guard<std::mutex> held(index.lock);
    for (const IfileObject& file : files) RemoveLocked(index, revision, file);
}

void imodelUsedFileIndex::Add(ImodelRevContextImpl* revision, const IfileObject& file)
{
    Index& index = TheIndex();
    const std::lock_guard<std::mutex> held(index.lock);
    AddLocked(index, revision, file);
}

void imodelUsedFileIndex::Remove(ImodelRevContextImpl* revision, const IfileObject& file)
{
    Index& index = TheIndex();
    const std::lock_guard<std::mutex> held(index.lock);
    RemoveLocked(index, revision, file);
}

bool imodelUsedFileIndex::Any(const IfileObject& file)
{
    Index& index = TheIndex();
    const std::lock_guard<std::mutex> held(index.lock);
    return index.byKey.contains(KeyOf(file));
}

std::vector<ImodelRevContextImpl*> imodelUsedFileIndex::Holding(const IfileObject& file)
{
    Index& index = TheIndex();
    const std::lock_guard<std::mutex> held(index.lock);
    std::vector<ImodelRevContextImpl*> revisions;
    const auto holders = index.byKey.find(KeyOf(file));
    if (holders == index.byKey.end()) return revisions;
    revisions.reserve(holders->second.size());
    for (const auto& [revision, count] : holders->second) revisions.push_back(revision);
    return revisions;
}
