// Adding the files of a parsed project file to the project: each file is
// registered with the file manager, then handed to the add-file command,
// which parses it into design units.
#include "src/ifile/ifileManagerImpl.h"

#include "ifile/IfileFunctions.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileProjectOpening.h"
#include "ifile/IfileReadAhead.h"
#include "imodel/design/ImodelFreeLater.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleNotices.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelCommandServices.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/ImodelProjectFileStructure.h"
#include "src/ifile/IfileObjectModel.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace {

using Entry = IfileManager::Entry;

}  // namespace

bool& IfileSkipFileDoesNotExistMessage()
{
    static bool skip = false;
    return skip;
}

std::vector<std::string>& IfileMembersNotRead()
{
    static std::vector<std::string> members;
    return members;
}

namespace {

// By file-name key: the name each renamed member took.
std::unordered_map<std::string, std::string>& RenamedInCase()
{
    static std::unordered_map<std::string, std::string> renamed;
    return renamed;
}

}  // namespace

IfileRenamesInCase::IfileRenamesInCase() { m_outer.swap(RenamedInCase()); }

IfileRenamesInCase::~IfileRenamesInCase() { m_outer.swap(RenamedInCase()); }

void IfileRenamesInCase::Add(const IfileObject& renamed)
{
    const std::string& name = renamed.GetInternalFileName().GetString();
    RenamedInCase()[ImodelFileNameKey(name)] = name;
}

void IfileRenamesInCase::Apply(IfileObject& file)
{
    // Nothing to look up in almost every read.
    const auto& renamed = RenamedInCase();
    if (renamed.empty()) return;
    const auto found = renamed.find(ImodelFileNameKey(file.GetInternalFileName().GetString()));
    if (found != renamed.end() && found->second != file.GetInternalFileName().GetString())
        file.SetFileName(ImodelFileName(found->second), ImodelFMInternal, false);
}

namespace {

std::unordered_map<std::string, std::string>& NamesInCopy()
{
    static std::unordered_map<std::string, std::string> names;
    return names;
}

}  // namespace

IfileNamesInCopy::IfileNamesInCopy(std::unordered_map<std::string, std::string> names) : m_outer(std::move(names))
{
    m_outer.swap(NamesInCopy());
}

IfileNamesInCopy::~IfileNamesInCopy() { m_outer.swap(NamesInCopy()); }

// Without the folder the key keeps "<project>": the copy's folder is not
// the one the names were made under.
std::string IfileNamesInCopy::Key(const std::string& name) { return ImodelFileNameKey(name, std::string()); }

void IfileNamesInCopy::Apply(IfileObject& file)
{
    const auto& names = NamesInCopy();
    if (names.empty()) return;
    const auto found = names.find(Key(file.GetInternalFileName().GetString()));
    if (found != names.end() && found->second != file.GetInternalFileName().GetString())
        file.SetFileName(ImodelFileName(found->second), ImodelFMInternal, false);
}

namespace {

IfileMembersBeingRead*& CurrentRead()
{
    static IfileMembersBeingRead* current = nullptr;
    return current;
}

}  // namespace

IfileMembersBeingRead::IfileMembersBeingRead(const std::deque<IfileObjectEx>& files)
    : m_files(&files), m_outer(std::exchange(CurrentRead(), this))
{
}

IfileMembersBeingRead::IfileMembersBeingRead(ImodelProjectFileStructure& project,
                                             const std::vector<Iconvert*>& converters)
    : m_project(&project), m_converters(&converters), m_outer(std::exchange(CurrentRead(), this))
{
}

IfileMembersBeingRead::~IfileMembersBeingRead() { CurrentRead() = m_outer; }

const IfileObjectEx* IfileMembersBeingRead::Find(const IfileObject& file)
{
    if (m_files == nullptr) {
        if (m_project != nullptr) IfileGetFileList(*m_project, m_read, *m_converters);
        m_files = &m_read;
    }
    if (m_files->empty()) return nullptr;
    const std::string& folder = ifileProjectFolder().GetString();
    if (m_index.empty())
        for (std::size_t i = 0; i < m_files->size(); ++i)  // the first of equal ones
            m_index.emplace(ImodelFileNameKey((*m_files)[i].GetInternalFileName(), folder), i);
    const auto found = m_index.find(ImodelFileNameKey(file.GetInternalFileName(), folder));
    return found == m_index.end() ? nullptr : &(*m_files)[found->second];
}

const IfileObjectEx* IfileMemberBeingRead(const IfileObject& file)
{
    IfileMembersBeingRead* read = CurrentRead();
    return read == nullptr ? nullptr : read->Find(file);
}

const IfileObjectEx* IfileProjectMember(const IfileObject& file)
{
    if (const IfileObjectEx* listed = IfileMemberBeingRead(file)) return listed;
    IfileManager* files = Imodel::GetInstance().GetFileManager();
    if (files == nullptr) return nullptr;
    // The manager holds the entry on.
    const boost::shared_ptr<IfileObjectEx> entry = files->GetFile(file);
    return entry && entry->IsFileInProject() ? entry.get() : nullptr;
}

bool IfileHeldByProject(const IfileObject& file, const IfileObject* parent)
{
    if (const IfileObjectEx* listed = IfileMemberBeingRead(file)) {
        if (parent == nullptr) return !listed->HasParentFile() && listed->GetParentFileStr().empty();
        if (listed->IsChildOfFile(*parent, false)) return false;
        const std::vector<ImodelFileName>& stored = listed->GetParentFileStr();
        return std::none_of(stored.begin(), stored.end(),
                            [parent](const ImodelFileName& name) { return name == parent->GetInternalFileName(); });
    }
    const IfileObjectEx* member = IfileProjectMember(file);
    if (member == nullptr) return false;
    return parent ? !member->IsChildOfFile(*parent, false) : !member->HasParentFile();
}

namespace {

// The file values of a project file that name each file as a parent, by
// the file's key.
using ChildrenOf = std::unordered_map<std::string, std::vector<std::size_t>>;

// A member missing on disk whose file was renamed there in letter case only
// (hdl/MID.vhd become hdl/mid.vhd while the project was closed) takes the
// name on disk before it is registered, as the watcher has a member follow
// such a rename while the project is open: it keeps its units and their
// data rather than being dropped. The files that name it as a parent, read
// or still to read, name it so too. The key of the name is the same.
void FollowRenameInCase(ifileManagerImpl& manager, std::deque<IfileObjectEx>& files, std::size_t i,
                        const ChildrenOf& childrenOf, const std::string& folder, ImodelCaseOnDisk& disk)
{
    IfileObjectEx& file = files[i];
    const std::string old = file.GetFullFileName().GetString();
    const std::string onDisk = disk.Find(old);
    if (onDisk.empty()) return;
    file.SetFileName(ImodelFileName(onDisk), ImodelFMFull, true);
    ImodelDisplayFILE_RENAMED_IN_CASE_MSG(old.c_str(), onDisk.c_str());
    IfileRenamesInCase::Add(file);
    const auto children = childrenOf.find(ImodelFileNameKey(file.GetInternalFileName(), folder));
    if (children == childrenOf.end()) return;
    for (std::size_t child : children->second) {
        if (child == i) continue;
        files[child].RenameParent(file, file);
        if (const Entry entry = manager.GetFile(files[child])) entry->RenameParent(file, file);
    }
}

// A member that is on disk and is no regular file is told once and left
// out: reading a device such as /dev/zero never ends. A missing one follows
// a rename in letter case on disk, if it can, and is kept either way: its
// add tells when it is missing.
bool IsReadableMember(ifileManagerImpl& manager, std::deque<IfileObjectEx>& files, std::size_t i,
                      const ChildrenOf& childrenOf, const std::string& folder, ImodelCaseOnDisk& disk)
{
    const IfileObjectEx& file = files[i];
    const std::string& name = file.GetFullFileName().GetString();
    SysStatInfo status;
    if (IfileStatPath(name, &status) != 0) {
        FollowRenameInCase(manager, files, i, childrenOf, folder, disk);
        return true;
    }
    if (SysIsRegularFile(status)) return true;
    ImodelDisplayMEMBER_NOT_A_FILE_MSG(name.c_str());
    IfileMembersNotRead().push_back(name);
    return false;
}

// What the add of each member file of the block shares.
struct MemberAdds {
    ifileManagerImpl& manager;
    ImodelProjectFileStructure& project;
    std::deque<IfileObjectEx>& files;
    const std::unordered_set<std::size_t>& leftOut;
    const ChildrenOf& childrenOf;
    const std::unordered_set<std::string>& before;
    const std::string& folder;
    std::vector<std::string>* modulesToSkip;
    const std::function<void()>& stepOneFile;
    ImodelCommandServices* commands;
    bool knownCores;  // files registered before the read are not parsed again
    bool parse;
    bool localOnly;

    // Registers the i-th file and hands it to the add-file command.
    void Add(std::size_t i) const
    {
        IfileObjectEx& file = files[i];
        if (localOnly && !file.IsLocalFile()) return;
        if (leftOut.count(i) || (file.GetFileSpecificType() != zorpaFT_SCH &&
                                 !IsReadableMember(manager, files, i, childrenOf, folder, project.CaseOnDisk())))
            return;
        if (const Entry known = manager.GetFile(file))
            file.SetErrorFile(known->GetErrorFileType(), known->GetModuleAlreadyDefined());
        const Entry entry = manager.AddOrUpdateFile(file, true);
        file.UpdateParentFilePtr(file, entry);
        // The key is made only when something is looked up by it.
        if (knownCores || !childrenOf.empty()) {
            const std::string key = ImodelFileNameKey(file.GetInternalFileName(), folder);
            if (const auto children = childrenOf.find(key); children != childrenOf.end())
                for (std::size_t child : children->second)
                    if (child > i) files[child].UpdateParentFilePtr(file, entry);
            if (knownCores && before.count(key)) return;
        }
        if (stepOneFile) stepOneFile();
        // Without the command layer nothing can parse the file: it stays
        // registered as it was read.
        if (commands == nullptr) return;
        const Entry added = commands->AddFileToModel(file, false, parse, false, nullptr, modulesToSkip, true, nullptr,
                                                     true, false, nullptr);
        if (!added) project.AddFileToDelete(file.GetFullFileName(), file.GetFileSpecificType());
    }
};

// The file values of a project file once every one is registered: memory
// alone, unless a host gave one of them its data, whose release could do
// anything. Freeing them is a cold walk over every member read long before.
void LetGoOf(std::deque<IfileObjectEx>& files)
{
    if (files.size() < kImodelFreedLaterFrom) return;
    if (IfileObject::AnyClientDataGiven() &&
        std::any_of(files.begin(), files.end(), [](const IfileObjectEx& file) { return file.HasClientData(); }))
        return;
    ImodelFreeLaterWhole(std::exchange(files, {}));
}

}  // namespace

Entry IfileGetCXFFileFromModuleFile(ImodelModule* module)
{
    const Entry file = module ? module->GetModuleFile() : Entry();
    if (!file || file->GetFileSpecificType() == zorpaFT_OMBRIX_CXF) return file;
    IfileObjectEx::ParentFiles cores = file->GetParentFilesOfType(zorpaFT_OMBRIX_CXF);
    return cores.size() == 1 ? IfileGetAndUpdateFileObject(cores.front()) : Entry();
}

bool ifileManagerImpl::AddFilesToModel(ImodelProjectFileStructure& project, const std::vector<Iconvert*>& converters,
                                       std::vector<std::string>* modulesToSkip,
                                       const std::function<void()>& stepOneFile, bool parse, bool localOnly,
                                       std::deque<IfileObject>* newerOnDisk)
{
    std::deque<IfileObjectEx> files;
    IfileReplacedMembers replaced;
    if (!IfileGetFileList(project, files, converters, &replaced)) return false;
    for (const auto& [dropped, kept] : replaced)
        ImodelDisplayMEMBER_CASE_TWIN_DROPPED_MSG(dropped.c_str(), kept.c_str());
    // The files registered before, by key.
    std::unordered_set<std::string> before;
    const std::string& folder = ifileProjectFolder().GetString();
    for (const auto& [key, entry] : m_files.Elements()) before.insert(ImodelFileNameKey(key.GetString(), folder));

    // The files that name each file as a parent, so that linking a
    // registered entry to its children visits those children only.
    ChildrenOf childrenOf;
    for (std::size_t i = 0; i < files.size(); ++i)
        for (const IfileObjectEx::ParentFile& parent : files[i].GetParentFileList())
            childrenOf[ImodelFileNameKey(parent.first.GetInternalFileName(), folder)].push_back(i);

    // Every schematic page first: a page's units may span the pages.
    std::unordered_set<std::size_t> leftOut;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const IfileObjectEx& file = files[i];
        if (file.GetFileSpecificType() != zorpaFT_SCH || (localOnly && !file.IsLocalFile())) continue;
        if (IsReadableMember(*this, files, i, childrenOf, folder, project.CaseOnDisk()))
            AddOrUpdateFile(files[i], true);
        else
            leftOut.insert(i);
    }

    ImodelCommandServices* commands = ImodelCommandServices::Get();
    const bool skipKnownCores = Imodel::GetInstance().ParseCxfOnOpen();
    // Each file is looked at on disk once, as it is registered, and the
    // sources to parse are read ahead of the add-file command that parses them.
    // `named` counts the files added that lie in the project folder (the map
    // files them under more forms of their name).
    std::size_t named = 0;
    IfileReadAhead::Files onDisk = IfileReadAhead::Files::Of(
        [&](const IfileObjectEx& file) -> std::optional<IfileReadAhead::Listed> {
            if (localOnly && !file.IsLocalFile()) return std::nullopt;
            if (ifileStartsWithProjectToken(file.GetInternalFileName().GetString())) ++named;
            const bool parsed =
                parse && file.IsASourceFile() && IfileReadAhead::ReadsText(file.GetModuleType()) &&
                !(skipKnownCores && before.count(ImodelFileNameKey(file.GetInternalFileName(), folder)));
            return IfileReadAhead::Listed{file.GetFullFileName().GetString(), parsed};
        },
        files);
    m_files.Reserve(onDisk.Size(), named);
    const IfileReadAhead readAhead(std::move(onDisk));
    // Each unit is told of once, after every file is read.
    const ImodelModuleNoticeBatch notices;
    // A file's entry is compared with its stored stamp right after its add,
    // while both are at hand. The map loses no entry during the adds but
    // by a failed parse, and only when none went is the comparison at the
    // time of the add the one at the end.
    const MemberAdds adds{*this,
                          project,
                          files,
                          leftOut,
                          childrenOf,
                          before,
                          folder,
                          modulesToSkip,
                          stepOneFile,
                          commands,
                          skipKnownCores && !before.empty(),
                          parse,
                          localOnly};
    const std::size_t removals = RemovalMark();
    const std::size_t notedBefore = newerOnDisk ? newerOnDisk->size() : 0;
    {
        const IfileMembersBeingRead listed(files);
        for (std::size_t i = 0; i < files.size(); ++i) {
            IfileObjectEx& file = files[i];
            adds.Add(i);
            if (newerOnDisk) NoteIfNewerOnDisk(file, *newerOnDisk);
        }
    }
    if (newerOnDisk && RemovalMark() != removals) {
        newerOnDisk->erase(newerOnDisk->begin() + static_cast<std::ptrdiff_t>(notedBefore), newerOnDisk->end());
        for (const IfileObjectEx& file : files) NoteIfNewerOnDisk(file, *newerOnDisk);
    }
    LetGoOf(files);
    return true;
}

std::size_t ifileManagerImpl::RemovalMark() const
{
    // Unsigned arithmetic: the difference only changes when an entry goes.
    return m_inserted - m_files.Size();
}

void ifileManagerImpl::NoteIfNewerOnDisk(const IfileObjectEx& file, std::deque<IfileObject>& newer)
{
    // The entry holds the disk's stamp, the file value the stored one.
    const Entry entry = GetFile(file);
    if (entry && entry->IsNewerThan(file.GetStatInfo())) newer.push_back(static_cast<const IfileObject&>(*entry));
}
