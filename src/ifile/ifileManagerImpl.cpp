// The file manager: listeners, queries, lookups, the name list and the
// project file's file-list block. The operations that change the set of
// files are in ifileManagerChange.cpp.
#include "src/ifile/ifileManagerImpl.h"

#include "ievent/IeventClasses.h"
#include "ifile/IfileManagerFilterParent.h"
#include "ifile/IfileManagerFunctions.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelChunkedText.h"
#include "imodel/names/ImodelProjectFileStructure.h"
#include "imodel/names/ImodelSplitWork.h"
#include "imodel/names/ImodelVisitAhead.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "src/ifile/IfileFileListLines.h"
#include "src/ifile/IfileObjectModel.h"
#include "src/ifile/ifileManagerFilters.h"

#include <foundation/UtlAscii.h>

#include <boost/make_shared.hpp>
#include <boost/range/iterator_range.hpp>

#include <algorithm>
#include <climits>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using Entry = IfileManager::Entry;
using FileListMap = ifileManagerImpl::FileListMap;

using FilterListParent = ifileManagerImpl::FilterListParent;

const Entry& EntryOf(const FileListMap::Map::value_type& element) { return element.second.entry; }
const Entry& EntryOf(FileListMap::const_iterator element) { return element->second.entry; }

void Append(std::vector<Entry>& out, const Entry& file) { out.push_back(file); }
void Append(std::deque<IfileObjectEx>& out, const Entry& file) { out.push_back(*file); }

// out := the files of `range` (map elements in key order) that pass.
template <class Range, class Out>
void Select(const Range& range, const FilterListParent& passes, Out& out)
{
    out.clear();
    for (const auto& element : range)
        if (passes(EntryOf(element))) Append(out, EntryOf(element));
}

template <class Range>
Entry FirstPassing(const Range& range, const FilterListParent& passes)
{
    for (const auto& element : range)
        if (passes(EntryOf(element))) return EntryOf(element);
    return Entry();
}

int CurrentRevision()
{
    ImodelRevisionManager* revisions = Imodel::GetInstance().GetRevisionManager();
    return revisions ? revisions->GetCurrentRevisionNumber() : 0;
}

}  // namespace

// --- listeners --------------------------------------------------------------------------------

void ifileManagerImpl::AddListener(IfileListener* listener)
{
    if (listener && std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
    ++m_listenersChanged;
}

void ifileManagerImpl::RemoveListener(IfileListener* listener)
{
    const auto found = std::find(m_listeners.begin(), m_listeners.end(), listener);
    if (found != m_listeners.end()) m_listeners.erase(found);
    ++m_listenersChanged;
}

bool ifileManagerImpl::IsListening(IfileListener* listener) const
{
    return std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end();
}

void ifileManagerImpl::AnnounceFileChange(const IfileObject& file)
{
    if (m_removing) return;
    const auto element = m_files.Find(file.GetInternalFileName());
    if (element == m_files.Elements().end()) return;
    const Entry entry = element->second.entry;
    // A change may have given the file new parents.
    m_files.FileParents(element);
    TellListeners([&entry](IfileListener& listener) { listener.UpdateFile(entry, false); });
    Imodel::GetInstance().SendEvent(boost::make_shared<IeventFileAddedOrModified>(entry, false), true);
}

void ifileManagerImpl::AddFiles(const std::deque<IfileObject>& first, const std::deque<IfileObject>& second)
{
    // A copy of the first list, counted by key of equality: each file of
    // the second list takes an equal one out of it, or comes in when there
    // is none.
    std::unordered_map<std::string, std::pair<const IfileObject*, int>> left;
    for (const IfileObject& file : first) ++left.try_emplace(ifileSameFileKey(file), &file, 0).first->second.second;
    for (const IfileObject& file : second) {
        auto& [value, count] = left.try_emplace(ifileSameFileKey(file), &file, 0).first->second;
        if (count > 0) {
            --count;
        } else {
            value = &file;
            count = 1;
        }
    }
    std::deque<IfileObject> inOneList;
    for (const auto& [key, file] : left)
        if (file.second > 0) inOneList.push_back(*file.first);
    NotifyNamedFiles(inOneList);
}

// --- lookups and queries -------------------------------------------------------------------------

bool ifileManagerImpl::RenameFileKey(const Entry& entry, const IfileObject& oldName)
{
    if (!m_files.Rekey(entry, oldName)) return false;
    m_files.FileParents(m_files.Find(entry->GetInternalFileName()));
    ParentRenamed(oldName, entry);
    return true;
}

void ifileManagerImpl::ParentRenamed(const IfileObject& oldName, const Entry& entry)
{
    if (!entry) return;
    // The files linked to it name it as it is named now, and are filed
    // under that name: the old one would be saved with their links, and a
    // link to a name the project no longer holds is lost at the next open.
    std::vector<FileListMap::const_iterator> children;
    m_files.AnyChildOf(oldName, [&children](FileListMap::const_iterator child) {
        children.push_back(child);
        return false;
    });
    for (FileListMap::const_iterator child : children) {
        child->second.entry->RenameParent(oldName, *entry, entry);
        m_files.FileParents(child);
    }
}

bool ifileManagerImpl::ContainsFile(const IfileObject& file)
{
    return m_files.Find(file.GetInternalFileName()) != m_files.Elements().end();
}

IfileManager::Entry ifileManagerImpl::GetFile(const IfileObject& file)
{
    ++m_lookupCount;
    const auto element = m_files.Find(file.GetInternalFileName());
    return element == m_files.Elements().end() ? Entry() : element->second.entry;
}

bool ifileManagerImpl::IsRegistered(const Entry& file) const
{
    if (!file) return false;
    const auto element = m_files.Find(file->GetInternalFileName());
    return element != m_files.Elements().end() && element->second.entry == file;
}

IfileManager::Entry ifileManagerImpl::GetFileFor(const IfileObject::IsSameFileName& matcher, int revisionScope)
{
    return FirstNamed(matcher.GetName().GetString(), matcher.GetForm(), revisionScope);
}

void ifileManagerImpl::GetFileFolders(std::vector<Folder>& out)
{
    out.clear();
    out.reserve(m_files.Folders().size());
    for (const auto& [folder, elements] : m_files.Folders()) {
        // An entry moved out of a map being emptied leaves its element
        // filed: the first one that still holds an entry stands for the
        // folder.
        for (const FileListMap::const_iterator element : elements) {
            if (!element->second.entry) continue;
            out.push_back(Folder{folder, element->second.entry, elements.size()});
            break;
        }
    }
}

void ifileManagerImpl::GetFilesOfFolder(const std::string& folder, std::vector<Entry>& out)
{
    out.clear();
    const auto found = m_files.Folders().find(folder);
    if (found == m_files.Folders().end()) return;
    for (const FileListMap::const_iterator element : found->second)
        if (element->second.entry) out.push_back(element->second.entry);
}

void ifileManagerImpl::GetFilesOfFolderTitled(const std::string& folder, const std::string& title,
                                              std::vector<Entry>& out)
{
    out.clear();
    if (m_files.Folders().find(folder) == m_files.Folders().end()) return;
    // Every element is filed under its stored name, whose key ignores the
    // letter case: the folder's files of that title are among the files of
    // that name.
    m_files.AnyNamed(folder + title, [&](FileListMap::const_iterator element) {
        const std::string_view key = element->first.GetString();
        const std::string_view own = FileListMap::FolderOf(key);
        if (element->second.entry && own == folder && UtlIsSameNoCase(key.substr(own.size()), title))
            out.push_back(element->second.entry);
        return false;
    });
}

IfileManager::Entry ifileManagerImpl::FirstNamed(const std::string& name, ImodelFMStringFileType form,
                                                 int revisionScope)
{
    const IfileObject::IsSameFileName matcher(name.c_str(), form);
    const FilterSameFile inScope(revisionScope, nullptr, &matcher);
    Entry found;
    m_files.AnyNamed(name, [&](FileListMap::const_iterator element) {
        const Entry& file = element->second.entry;
        if (!inScope(file)) return false;
        found = file;
        return true;
    });
    return found;
}

IfileManager::Entry ifileManagerImpl::GetFileOfSpecificType(const IfileObject& file, int specificType,
                                                            int revisionScope, const IfileManagerFilterParent* extra)
{
    const auto element = m_files.Find(file.GetInternalFileName());
    if (element == m_files.Elements().end()) return Entry();
    // The type the element is filed under decides, as it decides which
    // bucket GetFilesOfSpecificType walks.
    const Entry& entry = element->second.entry;
    if (element->second.type != specificType || !FilterSameSpecificType(revisionScope, extra, specificType)(entry))
        return Entry();
    return entry;
}

IfileManager::Entry ifileManagerImpl::GetFileOfGlobalType(const IfileObject& file, int globalType, int revisionScope,
                                                          const IfileManagerFilterParent* extra)
{
    const auto element = m_files.Find(file.GetInternalFileName());
    if (element == m_files.Elements().end()) return Entry();
    // As GetFilesOfGlobalType, the group of the type the element is filed
    // under decides which buckets are walked.
    const Entry& entry = element->second.entry;
    if (ImodelGetGlobalType(element->second.type) != globalType ||
        !FilterSameGlobalType(revisionScope, extra, globalType)(entry))
        return Entry();
    return entry;
}

bool ifileManagerImpl::HasFileNamed(const std::string& name, ImodelFMStringFileType form, int revisionScope)
{
    return FirstNamed(name, form, revisionScope) != nullptr;
}

bool ifileManagerImpl::HasFileOfSpecificType(int specificType, int revisionScope, const IfileManagerFilterParent* extra)
{
    return FirstPassing(m_files.OfSpecificType(specificType),
                        FilterSameSpecificType(revisionScope, extra, specificType)) != nullptr;
}

bool ifileManagerImpl::HasFileOfGlobalType(int globalType, int revisionScope)
{
    return FirstPassing(m_files.OfGlobalType(globalType), FilterSameGlobalType(revisionScope, nullptr, globalType)) !=
           nullptr;
}

void ifileManagerImpl::GetFiles(std::vector<Entry>& out, int revisionScope, const IfileManagerFilterParent* extra)
{
    Select(m_files.Elements(), FilterListParent(revisionScope, extra), out);
}

void ifileManagerImpl::GetFiles(std::deque<IfileObjectEx>& out, int revisionScope,
                                const IfileManagerFilterParent* extra)
{
    Select(m_files.Elements(), FilterListParent(revisionScope, extra), out);
}

void ifileManagerImpl::GetFilesOfSpecificType(int specificType, std::vector<Entry>& out, int revisionScope,
                                              const IfileManagerFilterParent* extra)
{
    Select(m_files.OfSpecificType(specificType), FilterSameSpecificType(revisionScope, extra, specificType), out);
}

void ifileManagerImpl::GetFilesOfSpecificType(int specificType, std::deque<IfileObjectEx>& out, int revisionScope,
                                              const IfileManagerFilterParent* extra)
{
    Select(m_files.OfSpecificType(specificType), FilterSameSpecificType(revisionScope, extra, specificType), out);
}

void ifileManagerImpl::GetFilesOfGlobalType(int globalType, std::vector<Entry>& out, int revisionScope,
                                            const IfileManagerFilterParent* extra)
{
    Select(m_files.OfGlobalType(globalType), FilterSameGlobalType(revisionScope, extra, globalType), out);
}

void ifileManagerImpl::GetFilesOfGlobalType(int globalType, std::deque<IfileObjectEx>& out, int revisionScope,
                                            const IfileManagerFilterParent* extra)
{
    Select(m_files.OfGlobalType(globalType), FilterSameGlobalType(revisionScope, extra, globalType), out);
}

void ifileManagerImpl::GetFilesOfCurrentRevision(std::deque<IfileObjectEx>& out)
{
    GetFilesOfRevision(CurrentRevision(), out);
}

void ifileManagerImpl::GetFilesOfRevision(int revision, std::deque<IfileObjectEx>& out)
{
    Select(m_files.OfRevision(revision), FilterSameRev(0, nullptr, revision), out);
}

void ifileManagerImpl::GetFilesWith(std::vector<Entry>& out)
{
    // Asked once per unit whose simulation files are collected: the HDL
    // files of a large project are walked only when they may have changed.
    PackageFiles& found = m_packageFiles;
    const std::uint64_t definerChanges = IfileObjectEx::PackageDefinerChanges();
    if (!found.known || found.mapChanges != m_files.Changes() || found.definerChanges != definerChanges) {
        found.elements.clear();
        const FileListMap::Bucket& hdl = m_files.OfSpecificType(zorpaFT_HDL);
        for (auto element = hdl.begin(); element != hdl.end(); ++element)
            if (EntryOf(*element)->HasPackage()) found.elements.push_back(*element);
        found.known = true;
        found.mapChanges = m_files.Changes();
        found.definerChanges = definerChanges;
    }
    const IfileManagerFilterTestFile definesPackages(&IfileObjectEx::HasPackage);
    Select(found.elements, FilterSameSpecificType(0, &definesPackages, zorpaFT_HDL), out);
}

bool ifileManagerImpl::RetargetFiles(int from, int to)
{
    std::deque<IfileObjectEx> files;
    GetFilesOfRevision(from, files);
    bool allRegistered = true;
    for (IfileObjectEx& copy : files) {
        ImodelFileName name;
        if (!IfileGetFileNameInRev(copy, to, name, ImodelFMInternal)) continue;
        copy.SetFileName(name, ImodelFMInternal, true);
        if (!AddOrUpdateFile(copy, true)) allRegistered = false;
    }
    return allRegistered;
}

int ifileManagerImpl::GetFileCount() { return static_cast<int>(m_files.Size()); }

unsigned int ifileManagerImpl::GetLookupCount() { return m_lookupCount; }

// --- error groups -------------------------------------------------------------------------------

IfileManager::ErrorGroupRange ifileManagerImpl::GetErrorFileGroups()
{
    return {m_errorGroups.cbegin(), m_errorGroups.cend()};
}

const IfileManager::ErrorFiles* ifileManagerImpl::FindErrorFileGroup(const std::string& text)
{
    const auto group = m_errorGroups.find(text);
    return group == m_errorGroups.end() ? nullptr : group->second.get();
}

void ifileManagerImpl::UpdateErrorFiles()
{
    for (const auto& [text, group] : m_errorGroups) {
        for (const IfileErrorFile& member : *group) {
            const Entry file = member.file.lock();
            if (file && GetFile(*file) == file) file->SetErrorFile(ImodelNoError, "");
        }
    }
    m_errorGroups.clear();
}

// --- the name list ----------------------------------------------------------------------------------

bool ifileManagerImpl::AddName(const std::string& name, int list)
{
    if (list != 0) return false;
    if (!HasName(name, list)) m_names.emplace_back(name);
    return true;
}

bool ifileManagerImpl::RemoveName(const std::string& name, int list)
{
    if (list != 0) return false;
    const auto found = std::find(m_names.begin(), m_names.end(), ImodelFileName(name));
    if (found != m_names.end()) m_names.erase(found);
    return true;
}

bool ifileManagerImpl::ClearNames(int list)
{
    if (list != 0) return false;
    m_names.clear();
    return true;
}

bool ifileManagerImpl::HasName(const std::string& name, int list)
{
    return list == 0 && std::find(m_names.begin(), m_names.end(), ImodelFileName(name)) != m_names.end();
}

bool ifileManagerImpl::GetNames(std::vector<ImodelFileName>& out, int list)
{
    if (list != 0) return false;
    out = m_names;
    return true;
}

// --- the file-list block ---------------------------------------------------------------------------

bool ifileManagerImpl::WriteFileList(std::ostream* stream)
{
    if (!stream) return false;
    const bool withStamps = ImodelSaveFileTimeStampInProjectFile();
    using Element = FileListMap::Map::value_type;
    // Each file is a few cache misses (its node, the file, its name and
    // parents): prefetched some files ahead.
    const auto ahead = [](const Element* element, int stage) {
        const IfileObjectEx* file = element->second.entry.get();
        if (stage == 0) {
            ImodelPrefetch(file, sizeof(IfileObjectEx));
            return;
        }
        const std::string& name = file->GetInternalFileName().GetString();
        ImodelPrefetch(name.data(), name.size());
        if (!file->GetParentFileList().empty()) ImodelPrefetch(file->GetParentFileList().data());
    };
    // Many files are formatted in slices, each on a thread of its own into
    // a text of its own, written in order once all are done. A file that
    // cannot be stored is found again by the plain walk below, which traces
    // it.
    constexpr std::size_t kFilesPerSlice = 4096;
    constexpr std::size_t kBytesPerFile = 112;
    const std::size_t slices = ImodelSlicesFor(m_files.Size(), kFilesPerSlice);
    if (slices > 1) {
        // Each slice walks its own part of the map: the walk goes node to
        // node, each a wait for memory, and the parts' walks overlap. The
        // parts are cut at elements taken from the exact-name index.
        constexpr std::size_t kMarksPerSlice = 32;
        const std::vector<FileListMap::const_iterator> marks = m_files.Spread(slices * kMarksPerSlice);
        std::vector<FileListMap::const_iterator> bounds{m_files.Elements().begin()};
        if (marks.size() >= slices)
            for (std::size_t slice = 1; slice < slices; ++slice) bounds.push_back(marks[slice * marks.size() / slices]);
        bounds.push_back(m_files.Elements().end());
        const std::size_t parts = bounds.size() - 1;
        std::vector<std::string> texts(parts);
        std::vector<char> failed(parts, 0);
        ImodelSplitWork(parts, parts, [&](std::size_t slice, std::size_t, std::size_t) {
            std::string& text = texts[slice];
            text.reserve(m_files.Size() / parts * kBytesPerFile);
            const auto part = boost::make_iterator_range(bounds[slice], bounds[slice + 1]);
            ImodelVisitAhead(part, ahead, [&](const Element* element) {
                if (!failed[slice] && !element->second.entry->AppendFileManagerFileQuietly(text, withStamps))
                    failed[slice] = 1;
            });
        });
        if (std::find(failed.begin(), failed.end(), 1) == failed.end()) {
            *stream << "LIST FileManager\n";
            for (const std::string& text : texts) stream->write(text.data(), static_cast<std::streamsize>(text.size()));
            *stream << "ENDLIST\n";
            return !stream->fail();
        }
    }
    // A file that cannot be stored fails the stream, so that the save writes
    // nothing.
    ImodelChunkedText block(*stream);
    std::string& text = block.Text();
    text.append("LIST ").append("FileManager").append("\n");
    bool stored = true;
    ImodelVisitAhead(m_files.Elements(), ahead, [&](const FileListMap::Map::value_type* element) {
        if (!stored) return;
        stored = element->second.entry->AppendFileManagerFile(text, withStamps);
        if (stored) block.Step();
    });
    if (!stored) {
        stream->setstate(std::ios::failbit);
        return false;
    }
    text.append("ENDLIST").append("\n");
    block.Flush();
    return !stream->fail();
}

bool ifileManagerImpl::RegisterPresentFiles(int revision, ImodelProjectFileStructure& project,
                                            const std::vector<Iconvert*>& converters)
{
    ImodelRevisionManager* revisions = Imodel::GetInstance().GetRevisionManager();
    if (!revisions) return false;
    ImodelFileTypeList listed;
    const bool read = revisions->ReadViewDescription(listed, revision);
    const bool otherView = revision != revisions->GetCurrentRevisionNumber();
    for (const auto& [name, type] : listed) {
        ImodelFileName full;
        ImodelGetFullPathForFile(name, type, full, ImodelGetFullPathParam(revision));
        project.AddFilePresent(full, type, false, converters, otherView);
    }
    return read;
}

bool ifileManagerImpl::ReadFileList(ImodelProjectFileStructure& project, int& count)
{
    count = 0;
    const ImodelFileObject_LIST* block = project.PeekLIST("FileManager");
    if (!block) return false;
    std::size_t ends = 0;
    for (std::size_t i = 0; i < block->GetLineCount(); ++i) ends += ifileIsBlockWord(block->GetLine(i), ifileEndFile);
    count = static_cast<int>(std::min<std::size_t>(ends, INT_MAX));
    return true;
}

// --- lifecycle ------------------------------------------------------------------------------------------

ifileManagerImpl::~ifileManagerImpl()
{
    while (!m_files.Empty()) EraseFile(m_files.Elements().begin(), false);
}

std::unique_ptr<IfileManager> IfileCreateManager() { return std::make_unique<ifileManagerImpl>(); }
