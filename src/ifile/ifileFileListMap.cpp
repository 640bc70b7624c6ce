// The file manager's map of entries and its indexes.
#include "src/ifile/ifileManagerImpl.h"

#include "imodel/names/ImodelPositionTable.h"
#include "imodel/names/imodelUtl.h"
#include "src/ifile/IfileObjectModel.h"

#include <algorithm>
#include <iterator>
#include <type_traits>
#include <utility>

namespace {

using FileListMap = ifileManagerImpl::FileListMap;
using ElementList = std::vector<FileListMap::const_iterator>;
using Bucket = FileListMap::Bucket;

// Merges buckets (each in key order) into one list in key order.
ElementList Merged(const std::vector<const Bucket*>& buckets)
{
    ElementList merged;
    for (const auto* bucket : buckets) {
        const auto middle = static_cast<std::ptrdiff_t>(merged.size());
        merged.insert(merged.end(), bucket->begin(), bucket->end());
        std::inplace_merge(merged.begin(), merged.begin() + middle, merged.end(), FileListMap::ByKey());
    }
    return merged;
}

// Elements mostly come in key order (a project file being read): the end
// is tried first.
void AddInOrder(Bucket& bucket, FileListMap::const_iterator element) { bucket.insert(bucket.end(), element); }

template <class Key>
const Bucket& BucketOf(const std::unordered_map<Key, Bucket>& index, const Key& key)
{
    static const Bucket none;
    const auto found = index.find(key);
    return found == index.end() ? none : found->second;
}

}  // namespace

// --- the hash index ------------------------------------------------------------------------

// Cells are copied bit for bit when the table moves them: the iterator a
// cell holds must be a plain value.
static_assert(std::is_trivially_copyable_v<FileListMap::const_iterator> &&
              std::is_trivially_destructible_v<FileListMap::const_iterator>);

FileListMap::HashIndex::HashIndex(HashIndex&& other) noexcept
    : m_cells(std::move(other.m_cells)), m_used(std::exchange(other.m_used, 0))
{
    other.m_cells.clear();
}

FileListMap::HashIndex& FileListMap::HashIndex::operator=(HashIndex&& other) noexcept
{
    if (this == &other) return *this;
    DeleteBuckets();
    m_cells = std::move(other.m_cells);
    m_used = std::exchange(other.m_used, 0);
    other.m_cells.clear();
    return *this;
}

FileListMap::HashIndex::~HashIndex() { DeleteBuckets(); }

void FileListMap::HashIndex::DeleteBuckets()
{
    for (Cell& cell : m_cells)
        if (cell.Which() == kBucket) delete cell.bucket;
}

void FileListMap::HashIndex::Prefetch(std::uint64_t hash) const
{
    if (!m_cells.empty()) __builtin_prefetch(&m_cells[Home(KeyOf(hash))]);
}

std::size_t FileListMap::HashIndex::Home(std::uint64_t key) const
{
    // The high bits of the spread hash's product with the size pick a cell
    // of a table of any size.
    const std::uint64_t spread = ImodelHashSpread(key);
    return static_cast<std::size_t>((static_cast<unsigned __int128>(spread) * m_cells.size()) >> 64);
}

std::size_t FileListMap::HashIndex::Probe(std::uint64_t key) const
{
    std::size_t cell = Home(key);
    while (m_cells[cell].Which() != kFree && m_cells[cell].Key() != key) cell = Next(cell);
    return cell;
}

void FileListMap::HashIndex::Reserve(std::size_t count)
{
    if (HasRoomFor(m_used + count)) return;
    // At most seven cells in ten taken once the hashes are in.
    Rehash(std::max<std::size_t>((m_used + count) * 10 / 7 + 1, 64));
}

void FileListMap::HashIndex::Rehash(std::size_t size)
{
    std::vector<Cell> old = std::exchange(m_cells, std::vector<Cell>(size));
    for (const Cell& cell : old)
        if (cell.Which() != kFree) m_cells[Probe(cell.Key())] = cell;
}

void FileListMap::HashIndex::Add(std::uint64_t hash, const_iterator element)
{
    // An empty table has room for nothing.
    if (!HasRoomFor(m_used + 1)) Rehash(std::max<std::size_t>(2 * m_cells.size(), 64));
    const std::uint64_t key = KeyOf(hash);
    Cell& cell = m_cells[Probe(key)];
    switch (cell.Which()) {
    case kFree:
        cell.tag = key | kSingle;
        cell.single = element;
        ++m_used;
        return;
    case kSingle: {
        if (cell.single == element) return;
        auto bucket = std::make_unique<Bucket>();
        bucket->insert(cell.single);
        AddInOrder(*bucket, element);
        cell.bucket = bucket.release();
        cell.tag = key | kBucket;
        return;
    }
    case kBucket:
        AddInOrder(*cell.bucket, element);
        return;
    }
}

void FileListMap::HashIndex::Remove(std::uint64_t hash, const_iterator element)
{
    if (m_cells.empty()) return;
    const std::size_t at = Probe(KeyOf(hash));
    Cell& cell = m_cells[at];
    if (cell.Which() == kSingle) {
        if (cell.single == element) Free(at);
        return;
    }
    if (cell.Which() != kBucket) return;
    cell.bucket->erase(element);
    if (cell.bucket->size() == 1) {
        const const_iterator last = *cell.bucket->begin();
        delete cell.bucket;
        cell.single = last;
        cell.tag = cell.Key() | kSingle;
    }
}

void FileListMap::HashIndex::Free(std::size_t at)
{
    // Backward shift: the cells after the freed one that probed past it
    // move up, so every hash stays reachable from its home without
    // crossing a free cell.
    m_cells[at] = Cell();
    --m_used;
    for (std::size_t next = Next(at); m_cells[next].Which() != kFree; next = Next(next)) {
        const std::size_t home = Home(m_cells[next].Key());
        // It stays when its home lies cyclically in (at, next].
        const bool stays = at <= next ? (at < home && home <= next) : (at < home || home <= next);
        if (stays) continue;
        m_cells[at] = m_cells[next];
        m_cells[next] = Cell();
        at = next;
    }
}

bool FileListMap::HashIndex::Any(std::uint64_t hash, const std::function<bool(const_iterator)>& visit) const
{
    if (m_cells.empty()) return false;
    const Cell& cell = m_cells[Probe(KeyOf(hash))];
    if (cell.Which() == kSingle) return visit(cell.single);
    if (cell.Which() == kBucket)
        for (const_iterator element : *cell.bucket)
            if (visit(element)) return true;
    return false;
}

void FileListMap::HashIndex::Sample(std::size_t count, std::vector<const_iterator>& out) const
{
    if (m_used == 0 || count == 0) return;
    count = std::min(count, m_cells.size());
    for (std::size_t part = 0; part < count; ++part) {
        const std::size_t end = (part + 1) * m_cells.size() / count;
        for (std::size_t at = part * m_cells.size() / count; at < end; ++at) {
            const Cell& cell = m_cells[at];
            if (cell.Which() == kFree) continue;
            out.push_back(cell.Which() == kSingle ? cell.single : *cell.bucket->begin());
            break;
        }
    }
}

void FileListMap::HashIndex::Clear()
{
    DeleteBuckets();
    std::vector<Cell>().swap(m_cells);
    m_used = 0;
}

// --- the map -------------------------------------------------------------------------------

std::vector<FileListMap::const_iterator> FileListMap::Spread(std::size_t count) const
{
    ElementList marks;
    m_exact.Sample(count, marks);
    std::sort(marks.begin(), marks.end(), ByKey());
    marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
    return marks;
}

std::uint64_t FileListMap::ExactHash(const ImodelFileName& key)
{
    return std::hash<std::string_view>()(key.GetString());
}

void FileListMap::Prefetch(const ImodelFileName& key) const { m_exact.Prefetch(ExactHash(key)); }

FileListMap::const_iterator FileListMap::Find(const ImodelFileName& key) const
{
    const_iterator found = m_map.end();
    m_exact.Any(ExactHash(key), [&found, &key](const_iterator element) {
        if (element->first.GetString() != key.GetString()) return false;
        found = element;
        return true;
    });
    return found;
}

bool FileListMap::Insert(const Entry& entry, const_iterator* inserted)
{
    if (!entry) return false;
    const ImodelFileName& key = entry->GetInternalFileName();
    if (Find(key) != m_map.end()) return false;
    const bool last = m_map.empty() || m_map.rbegin()->first < key;
    const auto element = m_map.emplace_hint(last ? m_map.end() : m_map.lower_bound(key), key, entry);
    m_exact.Add(ExactHash(element->first), element);
    AddToIndexes(element);
    ++m_changes;
    if (inserted) *inserted = element;
    return true;
}

bool FileListMap::Rekey(const Entry& entry, const IfileObject& oldName)
{
    if (!entry) return false;
    const auto old = Find(oldName.GetInternalFileName());
    if (old == m_map.end()) return false;
    // Erasing first and then failing to insert would lose the element.
    const auto taken = Find(entry->GetInternalFileName());
    if (taken != m_map.end() && taken != old) return false;
    Erase(old);
    return Insert(entry);
}

FileListMap::const_iterator FileListMap::Erase(const_iterator element)
{
    ++m_changes;
    RemoveFromIndexes(element);
    m_exact.Remove(ExactHash(element->first), element);
    return m_map.erase(element);
}

void FileListMap::Clear()
{
    ++m_changes;
    // The indexes refer to the map's elements and keys: they go first.
    m_exact.Clear();
    m_byType.clear();
    m_byRevision.clear();
    m_byName.Clear();
    m_byParent.Clear();
    m_byFolder.clear();
    m_map.clear();
}

std::unique_ptr<FileListMap> FileListMap::Release()
{
    ++m_changes;
    auto released = std::make_unique<FileListMap>();
    // The pools go with the nodes: each map's allocator names its own pool
    // again after both are swapped.
    std::swap(m_pool, released->m_pool);
    m_map.swap(released->m_map);
    std::swap(m_exact, released->m_exact);
    m_byType.swap(released->m_byType);
    m_byRevision.swap(released->m_byRevision);
    std::swap(m_byName, released->m_byName);
    std::swap(m_byParent, released->m_byParent);
    m_byFolder.swap(released->m_byFolder);
    return released;
}

std::string_view FileListMap::FolderOf(std::string_view key)
{
    const std::size_t separator = key.find_last_of("/\\");
    return separator == std::string_view::npos ? std::string_view() : key.substr(0, separator + 1);
}

const Bucket& FileListMap::OfSpecificType(int type) const { return BucketOf(m_byType, type); }

ElementList FileListMap::OfRevision(int revision) const
{
    if (revision != -1) {
        const Bucket& bucket = BucketOf(m_byRevision, revision);
        return ElementList(bucket.begin(), bucket.end());
    }
    ElementList none;
    for (auto element = m_map.begin(); element != m_map.end(); ++element)
        if (element->second.revision == -1) none.push_back(element);
    return none;
}

ElementList FileListMap::OfGlobalType(int globalType) const
{
    std::vector<const Bucket*> buckets;
    for (const auto& [type, bucket] : m_byType)
        if (ImodelGetGlobalType(type) == globalType) buckets.push_back(&bucket);
    return Merged(buckets);
}

void FileListMap::Reserve(std::size_t files, std::size_t named)
{
    // The name index is made again, empty, when the folder changed.
    SyncFolder();
    m_exact.Reserve(files);
    m_byName.Reserve(4 * named + 2 * (files - std::min(files, named)));
}

bool FileListMap::AnyNamed(const std::string& name, const std::function<bool(const_iterator)>& visit)
{
    SyncFolder();
    return m_byName.Any(Hash(name), visit);
}

bool FileListMap::AnyChildOf(const IfileObject& parent, const std::function<bool(const_iterator)>& visit)
{
    SyncFolder();
    return m_byParent.Any(Hash(parent.GetInternalFileName()), visit);
}

bool FileListMap::AnyFiledUnderParent()
{
    SyncFolder();
    return !m_byParent.Empty();
}

// --- the indexes -------------------------------------------------------------------------

std::uint64_t FileListMap::Hash(const std::string& name) const { return ImodelFileNameKeyHash(name, m_indexFolder); }

void FileListMap::SyncFolder()
{
    const ImodelFileName& folder = ifileProjectFolder();
    if (folder.GetString() == m_indexFolder) return;
    m_indexFolder = folder.GetString();
    m_byName.Clear();
    m_byParent.Clear();
    for (auto element = m_map.begin(); element != m_map.end(); ++element) {
        Mutable(element).parents.clear();
        FileNames(element);
        FileParents(element);
    }
}

void FileListMap::FileNames(const_iterator element)
{
    // The forms of the name that the file value has, made from the stored
    // name alone: stored, full, relative and short. Equal keys are filed
    // once.
    Element& filed = Mutable(element);
    filed.nameCount = 0;
    const auto add = [this, &filed, element](std::string_view name) {
        const std::uint64_t hash = ImodelFileNameKeyHash(name, m_indexFolder);
        const auto end = filed.names.begin() + filed.nameCount;
        if (std::find(filed.names.begin(), end, hash) != end) return;
        filed.names[filed.nameCount++] = hash;
        m_byName.Add(hash, element);
    };
    const std::string& stored = element->first.GetString();
    add(stored);
    if (ifileStartsWithProjectToken(stored)) {
        const std::string_view relative = ifileStripProjectToken(stored);
        // The full name: the folder, a separator and the relative name. Its
        // key is the stored name's when a separator follows the token and
        // the folder has none at its end; without a folder it is the
        // relative name (a file value would trace the missing folder).
        const bool separated = relative.size() < stored.size() - std::char_traits<char>::length(ImodelProjectToken);
        if (m_indexFolder.empty())
            add(relative);
        else if (!separated || ifileIsSeparator(m_indexFolder.back()))
            add(ifileJoinProjectFolder(m_indexFolder, std::string(relative)));
        if (!ifileClimbsOut(relative)) add(relative);
    }
    add(ifileTitleOf(stored));
}

void FileListMap::UnfileNames(const_iterator element)
{
    const Element& filed = element->second;
    for (std::uint8_t i = 0; i < filed.nameCount; ++i) m_byName.Remove(filed.names[i], element);
    Mutable(element).nameCount = 0;
}

void FileListMap::FileParents(const_iterator element)
{
    SyncFolder();
    std::vector<std::uint64_t> now;
    for (const IfileObjectEx::ParentFile& parent : element->second.entry->GetParentFileList())
        now.push_back(Hash(parent.first.GetInternalFileName()));
    std::sort(now.begin(), now.end());
    now.erase(std::unique(now.begin(), now.end()), now.end());
    std::vector<std::uint64_t>& filed = Mutable(element).parents;
    if (now == filed) return;
    for (const std::uint64_t hash : filed)
        if (!std::binary_search(now.begin(), now.end(), hash)) m_byParent.Remove(hash, element);
    for (const std::uint64_t hash : now)
        if (!std::binary_search(filed.begin(), filed.end(), hash)) m_byParent.Add(hash, element);
    filed = std::move(now);
}

void FileListMap::UnfileParents(const_iterator element)
{
    for (const std::uint64_t hash : element->second.parents) m_byParent.Remove(hash, element);
    Mutable(element).parents.clear();
}

void FileListMap::AddToIndexes(const_iterator element)
{
    SyncFolder();
    Element& filed = Mutable(element);
    const IfileObjectEx& file = *filed.entry;
    filed.type = file.GetFileSpecificType();
    filed.revision = file.GetRevNum();
    const auto bucketOf = [this](std::unordered_map<int, Bucket>& index, int key) -> Bucket& {
        return index.try_emplace(key, ByKey(), Bucket::allocator_type(m_pool.get())).first->second;
    };
    AddInOrder(bucketOf(m_byType, filed.type), element);
    if (filed.revision != -1) AddInOrder(bucketOf(m_byRevision, filed.revision), element);
    // Most files share their folder with others: its text is made once.
    const std::string_view folder = FolderOf(element->first.GetString());
    auto found = m_byFolder.find(folder);
    if (found == m_byFolder.end())
        found = m_byFolder.try_emplace(std::string(folder), ByKey(), Bucket::allocator_type(m_pool.get())).first;
    AddInOrder(found->second, element);
    FileNames(element);
}

void FileListMap::RemoveFromIndexes(const_iterator element)
{
    const Element& filed = element->second;
    const auto drop = [element](std::unordered_map<int, Bucket>& index, int key) {
        const auto found = index.find(key);
        if (found == index.end()) return;
        found->second.erase(element);
        if (found->second.empty()) index.erase(found);
    };
    drop(m_byType, filed.type);
    if (filed.revision != -1) drop(m_byRevision, filed.revision);
    if (const auto folder = m_byFolder.find(FolderOf(element->first.GetString())); folder != m_byFolder.end()) {
        folder->second.erase(element);
        if (folder->second.empty()) m_byFolder.erase(folder);
    }
    SyncFolder();
    UnfileNames(element);
    UnfileParents(element);
}
