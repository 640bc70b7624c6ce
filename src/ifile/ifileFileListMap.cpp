// The file manager's map of entries and its indexes.
#include "src/ifile/ifileManagerImpl.h"

#include "imodel/names/imodelUtl.h"
#include "src/ifile/IfileObjectModel.h"

#include <algorithm>
#include <iterator>

namespace {

using ElementList = std::vector<ifileManagerImpl::FileListMap::const_iterator>;
using Bucket = ifileManagerImpl::FileListMap::Bucket;

// Merges buckets (each in key order) into one list in key order.
ElementList Merged(const std::vector<const Bucket*>& buckets)
{
    ElementList merged;
    for (const auto* bucket : buckets) {
        const auto middle = static_cast<std::ptrdiff_t>(merged.size());
        merged.insert(merged.end(), bucket->begin(), bucket->end());
        std::inplace_merge(merged.begin(), merged.begin() + middle, merged.end(),
                           ifileManagerImpl::FileListMap::ByKey());
    }
    return merged;
}

template <class Key>
const Bucket& BucketOf(const std::unordered_map<Key, Bucket>& index, const Key& key)
{
    static const Bucket none;
    const auto found = index.find(key);
    return found == index.end() ? none : found->second;
}

}  // namespace

namespace {

// The keys of every form of the name a file stored as `stored` has: stored,
// full, relative and short. The names are those of the file values, made
// from the stored name alone, so that an element is found under the same
// keys later whatever became of its entry.
std::vector<std::string> NameKeys(const ImodelFileName& stored, const std::string& folder)
{
    IfileObject file;
    file.SetFileName(stored, ImodelFMInternal, false);
    std::vector<std::string> keys;
    const auto add = [&keys, &folder](const std::string& name) {
        std::string key = ImodelFileNameKey(name, folder);
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(std::move(key));
    };
    add(stored);
    // Without a project folder the full name is the relative one (the file
    // value would trace the missing folder on every ask).
    add(folder.empty() && ifileStartsWithProjectToken(stored) ? ifileStripProjectToken(stored)
                                                              : file.GetFullFileName().GetString());
    ImodelFileName relative;
    if (file.GetRelativeFileName(relative)) add(relative);
    add(file.GetFileTitleAndExt());
    return keys;
}

}  // namespace

const ifileManagerImpl::FileListMap::Bucket& ifileManagerImpl::FileListMap::OfSpecificType(int type) const
{
    return BucketOf(m_byType, type);
}

const ifileManagerImpl::FileListMap::Bucket& ifileManagerImpl::FileListMap::OfRevision(int revision) const
{
    return BucketOf(m_byRevision, revision);
}

bool ifileManagerImpl::FileListMap::Insert(const Entry& entry)
{
    if (!entry) return false;
    const auto [element, inserted] = m_map.emplace(entry->GetInternalFileName(), entry);
    if (inserted) AddToIndexes(element);
    return inserted;
}

bool ifileManagerImpl::FileListMap::Rekey(const Entry& entry, const IfileObject& oldName)
{
    if (!entry) return false;
    const auto old = m_map.find(oldName.GetInternalFileName());
    if (old == m_map.end()) return false;
    // Erasing first and then failing to insert would lose the element.
    const auto taken = m_map.find(entry->GetInternalFileName());
    if (taken != m_map.end() && taken != old) return false;
    Erase(old);
    return Insert(entry);
}

ifileManagerImpl::FileListMap::const_iterator ifileManagerImpl::FileListMap::Erase(const_iterator element)
{
    RemoveFromIndexes(element);
    return m_map.erase(element);
}

ElementList ifileManagerImpl::FileListMap::OfGlobalType(int globalType) const
{
    std::vector<const Bucket*> buckets;
    for (const auto& [type, bucket] : m_byType)
        if (ImodelGetGlobalType(type) == globalType) buckets.push_back(&bucket);
    return Merged(buckets);
}

const Bucket& ifileManagerImpl::FileListMap::Named(const std::string& name)
{
    SyncNameIndex();
    return BucketOf(m_byName, ImodelFileNameKey(name, m_nameIndexFolder));
}

void ifileManagerImpl::FileListMap::SyncNameIndex()
{
    const ImodelFileName& folder = ifileProjectFolder();
    if (folder.GetString() == m_nameIndexFolder) return;
    m_nameIndexFolder = folder.GetString();
    m_byName.clear();
    for (auto element = m_map.begin(); element != m_map.end(); ++element)
        for (const std::string& key : NameKeys(element->first, m_nameIndexFolder)) m_byName[key].insert(element);
}

void ifileManagerImpl::FileListMap::AddToIndexes(const_iterator element)
{
    const IfileObjectEx& file = *element->second;
    m_byType[file.GetFileSpecificType()].insert(element);
    m_byRevision[file.GetRevNum()].insert(element);
    SyncNameIndex();
    for (const std::string& key : NameKeys(element->first, m_nameIndexFolder)) m_byName[key].insert(element);
}

void ifileManagerImpl::FileListMap::RemoveFromIndexes(const_iterator element)
{
    // The entry may have been renamed into another view since it was
    // filed: when the element is not under the entry's present value, it
    // is looked for in every bucket (there are few).
    const auto drop = [element](auto& index, const auto& key) {
        auto found = index.find(key);
        if (found == index.end() || found->second.erase(element) == 0) {
            found = std::find_if(index.begin(), index.end(),
                                 [element](auto& bucket) { return bucket.second.erase(element) != 0; });
            if (found == index.end()) return;
        }
        if (found->second.empty()) index.erase(found);
    };
    const IfileObjectEx& file = *element->second;
    drop(m_byType, static_cast<int>(file.GetFileSpecificType()));
    drop(m_byRevision, file.GetRevNum());
    SyncNameIndex();
    for (const std::string& key : NameKeys(element->first, m_nameIndexFolder)) drop(m_byName, key);
}
