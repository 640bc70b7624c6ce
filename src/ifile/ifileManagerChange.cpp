// The file manager's changes of its set of files: registering, updating and
// removing files, keeping the error groups and the parent index in step,
// and telling the listeners, then the views.
#include "src/ifile/ifileManagerImpl.h"

#include "ievent/IeventClasses.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileManagerFilterParent.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileProjectOpening.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFreeLater.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelBlockPool.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/ImodelVisitAhead.h"
#include "imodel/names/imodelUtl.h"
#include "src/ifile/IfileObjectModel.h"

#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <climits>

namespace {

using Entry = IfileManager::Entry;
using FileListMap = ifileManagerImpl::FileListMap;

void SendEvent(const boost::shared_ptr<Ievent>& event) { Imodel::GetInstance().SendEvent(event, true); }

IfileManager::Entry CannotAccess(const IfileObject& file)
{
    if (!IfileSkipFileDoesNotExistMessage())
        SysDebugPrintf("Error: Cannot access file %s\n", file.GetInternalFileName().c_str());
    return IfileManager::Entry();
}

void MarkProjectNeedsSave()
{
    if (ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager()) design->SetNeedSave(true);
}

// Whether the member refers to that very entry (also after it expired).
bool Refers(const IfileErrorFile& member, const Entry& file)
{
    return !member.file.owner_before(file) && !file.owner_before(member.file);
}

bool BelongsToErrorGroup(ImodelErrorFileType kind, const std::string& text)
{
    return kind == ImodelModuleAlreadyDefined || (kind == ImodelNoError && !text.empty());
}

}  // namespace

void ifileManagerImpl::ActionRemoveParent::operator()(Entry file)
{
    if (file && file->RemoveParentFile(m_parent)) m_changed.Insert(file);
}

// --- announcing -------------------------------------------------------------------------------

namespace {

// Prefetches a file's memory ahead of a walk that copies its entry and
// asks the file something: its first fields.
void PrefetchFileAhead(const IfileObjectEx* file)
{
    if (file != nullptr) ImodelPrefetch(file, 128);
}

}  // namespace

void ifileManagerImpl::NotifyFiles(bool asNew, const FileListMap& list, const IfileManagerFilterParent* filter)
{
    const bool wasBlocked = Imodel::BlockDesignHierarchyDisplay(true, false);
    // A listener may change the map while it is told: the walk is over a copy
    // of the files that pass the filter. Each walk over every file of a large
    // project is a cache miss per file, so the filter is asked once per file
    // (what it asks, a listener's update does not change) and the events are
    // made in the same walk, with the files prefetched some places ahead.
    std::vector<Entry> files;
    files.reserve(list.Size());
    IeventBatch batch;
    batch.reserve(asNew ? 2 * list.Size() : list.Size());
    ImodelVisitAhead(
        list.Elements(),
        [](const auto* element, int stage) {
            if (stage == 0) PrefetchFileAhead(element->second.entry.get());
        },
        [&](const auto* element) {
            const Entry& file = element->second.entry;
            if (filter && !(*filter)(file)) return;
            files.push_back(file);
            if (asNew) batch.push_back(boost::make_shared<IeventFileRemoved>(file));
            batch.push_back(boost::make_shared<IeventFileAddedOrModified>(file, asNew));
        });
    Announce(asNew, files, batch);
    Imodel::BlockDesignHierarchyDisplay(wasBlocked, false);
}

void ifileManagerImpl::NotifyNamedFiles(const std::deque<IfileObject>& named)
{
    // The entries equal to a named file are filed under the hash of its
    // name's key, so the name index holds every one of them; each candidate
    // is then asked as a walk over every file would ask it, and the ones
    // kept are told in the walk's order (key order).
    const IfileManagerFilterIsOneOf isNamed(named);
    std::vector<FileListMap::const_iterator> elements;
    for (const IfileObject& file : named)
        m_files.AnyNamed(file.GetInternalFileName().GetString(), [&](FileListMap::const_iterator element) {
            if (isNamed(element->second.entry)) elements.push_back(element);
            return false;
        });
    const auto less = m_files.Elements().key_comp();
    std::sort(elements.begin(), elements.end(),
              [&less](const auto& left, const auto& right) { return less(left->first, right->first); });
    elements.erase(std::unique(elements.begin(), elements.end()), elements.end());

    const bool wasBlocked = Imodel::BlockDesignHierarchyDisplay(true, false);
    std::vector<Entry> files;
    IeventBatch batch;
    files.reserve(elements.size());
    batch.reserve(elements.size());
    for (const auto& element : elements) {
        files.push_back(element->second.entry);
        batch.push_back(boost::make_shared<IeventFileAddedOrModified>(files.back(), false));
    }
    Announce(false, files, batch);
    Imodel::BlockDesignHierarchyDisplay(wasBlocked, false);
}

void ifileManagerImpl::Announce(bool asNew, std::vector<Entry>& files, IeventBatch& batch)
{
    // Each listener hears of every file before the next one hears of any, as
    // the listeners rely on (a flow node's own work on its files' type).
    const auto fileAhead = [](const Entry* file, int stage) {
        if (stage == 0) PrefetchFileAhead(file->get());
    };
    TellListeners([&files, &fileAhead, asNew](IfileListener& listener) {
        ImodelVisitAhead(files, fileAhead, [&listener, asNew](const Entry* file) {
            if (asNew) listener.RemoveFile(*file);
            listener.UpdateFile(*file, asNew);
        });
    });
    Imodel::GetInstance().SendEvents(batch, true);
    // Letting go of a file's events and of its copy touches its counts once
    // more: both go in one walk rather than one walk each. The copy is this
    // function's own: its entries may be emptied.
    const std::size_t perFile = asNew ? 2 : 1;
    ImodelVisitAhead(files, fileAhead, [&files, &batch, perFile](const Entry* file) {
        const auto at = static_cast<std::size_t>(file - files.data());
        for (std::size_t event = at * perFile; event < (at + 1) * perFile; ++event) batch[event].reset();
        const_cast<Entry*>(file)->reset();
    });
}

void ifileManagerImpl::UpdateFiles(const IfileManagerFilterParent& filter) { NotifyFiles(false, m_files, &filter); }

void ifileManagerImpl::UpdateFilesAndNotify(int)
{
    const IfileManagerFilterRevDependentFiles ofAView(true);
    NotifyFiles(false, m_files, &ofAView);
}

// --- registering -------------------------------------------------------------------------------

void ifileManagerImpl::PrefetchEntryOf(const IfileObject& file) const { m_files.Prefetch(file.GetInternalFileName()); }

IfileManager::Entry ifileManagerImpl::AddOrUpdateFile(const IfileObjectEx& file, bool trackErrors)
{
    // The project file could not hold the name (file values refuse such
    // names; this is the last door).
    if (file.GetInternalFileName().empty() || !IfileCheckStorableName(file.GetInternalFileName(), "file")) {
        SysDebugPrintf("Error: Cannot add file '%s' to the project\n", file.GetInternalFileName().c_str());
        return Entry();
    }
    const std::string text = file.GetModuleAlreadyDefined();
    const ImodelErrorFileType kind = file.GetErrorFileType();
    auto registered = m_files.Find(file.GetInternalFileName());
    const bool isNew = registered == m_files.Elements().end();
    Entry result;
    if (isNew) {
        // One reading of the disk both stamps a new file and tells whether
        // a file of the project exists.
        result = boost::allocate_shared<IfileObjectEx>(ImodelPoolAllocator<IfileObjectEx>(), file);
        bool changed = false;
        result->StoreStatInfo(changed, false, false);
        const bool exists = result->IsFoundOnDisk() && SysIsRegularFile(*result->GetStatInfo());
        if (result->IsLocalFile() && !exists && !ImodelImportsMissingFiles()) return CannotAccess(file);
    } else if (file.IsLocalFile() && !ImodelDoesFileExist(file.GetFullFileName())) {
        return CannotAccess(file);
    } else {
        result = registered->second.entry;
    }
    ++m_lookupCount;  // as GetFile would
    // The text names the one error group the entry may be in.
    const std::string formerText = isNew ? std::string() : result->GetModuleAlreadyDefined();
    if (isNew) {
        if (!result->IsLocalFile() && !result->IsBrokenLink() && Imodel::GetIsReadingProject() && file.GetStatInfo() &&
            result->IsNewerThan(file.GetStatInfo()))
            ImodelDisplayLINK_FILE_WAS_MODIFIED_MSG(result->GetFileTitleAndExt().c_str());
        if (result->GetFileState() == imodelFileAbsent) result->SetFileState(imodelFileUpToDate);
        m_files.Insert(result, &registered);
        ++m_inserted;
    } else {
        if (trackErrors) result->SetErrorFile(kind, text);
        result->AddConstraintsFrom(file);
        if (file.IsFileInProject()) result->SetFileState(file.GetFileState());
        result->AddParentFilesFrom(file);
        result->SetIDEReadOnly(file.IsIDEReadOnly());
    }
    m_files.FileParents(registered);
    if (trackErrors) TrackError(result, formerText, kind, text);
    TellListeners([&result, isNew](IfileListener& listener) { listener.UpdateFile(result, isNew); });
    SendEvent(boost::make_shared<IeventFileAddedOrModified>(result, isNew));
    return result;
}

// --- removing -------------------------------------------------------------------------------------

FileListMap::const_iterator ifileManagerImpl::EraseFile(FileListMap::const_iterator element, bool notify)
{
    if (element == m_files.Elements().end()) return element;
    // A unit whose file this was has none once the entry goes.
    ImodelModule::HierarchyChanged();
    const Entry file = element->second.entry;
    const ImodelFileName key = element->first;
    file->SetErrorFile(ImodelNoError, "");
    LeaveErrorGroups(file);

    const bool wasRemoving = m_removing;
    m_removing = true;
    ActionRemoveParent removeParent(*file);
    std::vector<FileListMap::const_iterator> children;
    m_files.AnyChildOf(*file, [&children](FileListMap::const_iterator child) {
        children.push_back(child);
        return false;
    });
    for (FileListMap::const_iterator child : children) {
        removeParent(child->second.entry);
        m_files.FileParents(child);
    }
    file->SetAbsent();
    m_removing = wasRemoving;

    if (notify) {
        TellListeners([&file](IfileListener& listener) { listener.RemoveFile(file); });
        SendEvent(boost::make_shared<IeventFileRemoved>(file));
        NotifyFiles(true, removeParent.GetChangedFiles(), nullptr);
    }
    // Those told may have changed the map: the element is looked up again.
    const auto current = m_files.Find(key);
    if (current != m_files.Elements().end() && current->second.entry == file) return m_files.Erase(current);
    return m_files.Elements().upper_bound(key);
}

void ifileManagerImpl::EraseFiles(const std::vector<ImodelFileName>& keys)
{
    for (const ImodelFileName& key : keys) EraseFile(m_files.Find(key), true);
}

void ifileManagerImpl::RemoveFile(const IfileObject& file)
{
    EraseFile(m_files.Find(file.GetInternalFileName()), true);
}

namespace {

// A file map emptied of its entries: its nodes, keys and indexes are memory
// alone, freed on the reclaimer's thread, with the texts of the files that
// died with it.
struct ReleasedFileMap : ImodelUnreachable {
    std::unique_ptr<ifileManagerImpl::FileListMap> map;
    std::vector<std::string> texts;
};

}  // namespace

void ifileManagerImpl::RemoveAllFiles()
{
    SendEvent(boost::make_shared<IeventFileRemoveAll>());
    TellListeners([](IfileListener& listener) { listener.EmptyFileList(); });
    if (m_files.Empty()) return;
    // Every file goes and nobody is told of each: the entries are left as
    // erasing them one by one in key order leaves them, and the map and its
    // indexes go as a whole instead of being kept in step at every step.
    ImodelModule::HierarchyChanged();
    const bool wasRemoving = m_removing;
    m_removing = true;
    const FileListMap::Map& elements = m_files.Elements();
    // The parent index only shrinks here: when it is empty now, no file has
    // a child to let go of.
    const bool anyChild = m_files.AnyFiledUnderParent();
    std::vector<FileListMap::const_iterator> children;
    auto released = std::make_unique<ReleasedFileMap>();
    // Most files have a name and a full name on the heap.
    released->texts.reserve(2 * m_files.Size());
    // Each file is a few cache misses (its node, the file's lines):
    // prefetched some files ahead, the file's first half when the walk
    // reaches it and its second half some files later. Fewer prefetches are
    // then in flight at once (each holds a load slot of the processor till
    // its line comes), and the walk measured faster so.
    const auto ahead = [](const FileListMap::Map::value_type* element, int stage) {
        const char* file = reinterpret_cast<const char*>(element->second.entry.get());
        constexpr std::size_t kFirst = sizeof(IfileObjectEx) / 2;
        if (stage == 0)
            ImodelPrefetch(file, kFirst);
        else
            ImodelPrefetch(file + kFirst, sizeof(IfileObjectEx) - kFirst);
    };
    ImodelVisitAhead(elements, ahead, [&](const FileListMap::Map::value_type* element) {
        const Entry& file = element->second.entry;
        file->SetErrorFile(ImodelNoError, "");
        // A child erased before this file no longer stood in the parent
        // index; the file itself still does.
        children.clear();
        if (anyChild)
            m_files.AnyChildOf(*file, [&children, element](FileListMap::const_iterator child) {
                if (!(child->first < element->first)) children.push_back(child);
                return false;
            });
        if (!children.empty()) {
            ActionRemoveParent removeParent(*file);
            for (FileListMap::const_iterator child : children) removeParent(child->second.entry);
        }
        file->SetAbsent();
        // The map lets the file go here, on this thread, while the file is
        // at hand: a file that only the map held goes now, and those who
        // hold it weakly find it gone, as when the map was emptied here. No
        // one else is told anything meanwhile (m_removing), so no one can
        // tell this from the end of the walk. Such a file's texts are
        // memory that nobody reaches once it is gone: freeing them is cold
        // work, done off this thread.
        if (file.use_count() == 1) file->MoveHeapTextsOut(released->texts);
        const Entry dropped = m_files.TakeEntry(*element);
    });
    m_removing = wasRemoving;
    // No file is left in any group: each group is emptied, as leaving it one
    // file at a time would, and goes.
    for (auto& [text, group] : m_errorGroups)
        if (group) group->clear();
    m_errorGroups.clear();
    // What is left is memory alone: nodes, keys and indexes that nothing
    // reaches. Freeing it is mostly cache misses; it goes off this thread.
    released->map = m_files.Release();
    ImodelFreeLater(std::move(released));
}

namespace {

// The keys of the elements whose entries lie within the scope.
template <class Range>
std::vector<ImodelFileName> KeysInScope(const Range& elements, int revisionScope)
{
    std::vector<ImodelFileName> keys;
    for (FileListMap::const_iterator element : elements) {
        const IfileObjectEx& file = *element->second.entry;
        if (revisionScope != 1 || !file.IsRevSpecific() || file.IsInCurRev()) keys.push_back(element->first);
    }
    return keys;
}

}  // namespace

void ifileManagerImpl::RemoveFilesOfGlobalType(int globalType, int revisionScope)
{
    EraseFiles(KeysInScope(m_files.OfGlobalType(globalType), revisionScope));
}

void ifileManagerImpl::RemoveFilesOfSpecificType(int specificType, int revisionScope)
{
    EraseFiles(KeysInScope(m_files.OfSpecificType(specificType), revisionScope));
}

void ifileManagerImpl::RemoveFilesOfRevision(int revision) { EraseFiles(KeysInScope(m_files.OfRevision(revision), 0)); }

// --- error groups -------------------------------------------------------------------------------------

void ifileManagerImpl::PruneErrorGroup(ErrorFiles& group) const
{
    for (auto member = group.begin(); member != group.end();) {
        if (IsRegistered(member->file.lock()))
            ++member;
        else
            member = group.erase(member);
    }
}

void ifileManagerImpl::LeaveErrorGroups(const Entry& removed)
{
    for (auto group = m_errorGroups.begin(); group != m_errorGroups.end();) {
        ErrorFiles& files = *group->second;
        const auto member = std::find_if(files.begin(), files.end(),
                                         [&removed](const IfileErrorFile& file) { return Refers(file, removed); });
        if (member != files.end()) files.erase(member);
        PruneErrorGroup(files);
        // A file that uses its module anyway is in error only beside another.
        if (files.size() == 1) {
            const Entry last = files.begin()->file.lock();
            if (last->GetErrorFileType() == ImodelNoError) files.clear();
        }
        group = files.empty() ? m_errorGroups.erase(group) : std::next(group);
    }
}

void ifileManagerImpl::LeaveErrorGroup(const Entry& file, const std::string& text)
{
    const auto group = m_errorGroups.find(text);
    if (group == m_errorGroups.end()) return;
    ErrorFiles& files = *group->second;
    PruneErrorGroup(files);
    const auto member = std::find_if(files.begin(), files.end(),
                                     [&file](const IfileErrorFile& member) { return Refers(member, file); });
    if (member != files.end()) {
        files.erase(member);
        MarkProjectNeedsSave();
    }
    if (files.empty()) {
        m_errorGroups.erase(group);
        MarkProjectNeedsSave();
    }
}

void ifileManagerImpl::JoinErrorGroup(const Entry& file, const std::string& text)
{
    auto group = m_errorGroups.find(text);
    if (group == m_errorGroups.end()) {
        if (text.empty()) return;
        group = m_errorGroups.emplace(text, boost::make_shared<ErrorFiles>()).first;
    }
    ErrorFiles& files = *group->second;
    PruneErrorGroup(files);
    const auto member = std::find_if(files.begin(), files.end(),
                                     [&file](const IfileErrorFile& member) { return Refers(member, file); });
    if (member != files.end()) return;
    files.insert(IfileErrorFile{file->GetRelativeOrFullFileName(), file});
    MarkProjectNeedsSave();
}

void ifileManagerImpl::TrackError(const Entry& file, const std::string& formerText, ImodelErrorFileType kind,
                                  const std::string& text)
{
    Entry shown = file;
    IfileGetFileToUseInDH(shown);
    // Groups refer only to files of the project, and a file is in the group
    // of its current text only: the text a file had names the one group it
    // may have to leave, and no other group is visited.
    const bool belongs = BelongsToErrorGroup(kind, text);
    if (shown != file && (formerText != text || !belongs)) LeaveErrorGroup(file, formerText);
    const std::string shownFormerText = shown == file ? formerText : shown->GetModuleAlreadyDefined();
    shown->SetErrorFile(kind, text);
    if (shownFormerText != text || !belongs) LeaveErrorGroup(shown, shownFormerText);
    if (belongs && IsRegistered(shown)) JoinErrorGroup(shown, text);
}
