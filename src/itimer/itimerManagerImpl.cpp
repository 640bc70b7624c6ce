#include "src/itimer/itimerManagerImpl.h"

#include "ifile/IfileExtendedInfoManager.h"
#include "ifile/IfileKnownStatuses.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelFreeLater.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelRoot.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelCommandServices.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "itool/ItoolCoreTools.h"
#include "itool/ItoolSynthesis.h"
#include "itool/QuorlaneCoreToolManager.h"

#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>

#include <algorithm>
#include <utility>

namespace {

Imodel& Model() { return Imodel::GetInstance(); }

// A cycle in progress anywhere in the process: the work of a cycle (an
// import, a set_root) must not start another.
bool& RescanRunning()
{
    static bool running = false;
    return running;
}

const std::string& ProjectFolder() { return Model().GetDesignManager()->GetProjectFolder().GetString(); }

int CountSeparators(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '/')); }

std::string PathForFile(int type)
{
    ImodelFileName folder;
    ImodelGetPathForFile(type, folder);
    return folder.GetString();
}

// After a cycle that began with `before` as the root. A root whose unit
// went with a change of its file (a typo, a file half written, a link
// that broke) gave way to another unit: it is remembered, and made the
// root again once a later change brings its unit back.
void FollowRootThatWent(const VyIfaces::ComponentID& before)
{
    // A placeholder that units using the root keep in its place is not it.
    const auto standing = [](const VyIfaces::ComponentID& id) {
        ImodelModule* unit = ImodelFindModule(id);
        return unit != nullptr && unit->GetModuleFile() && ImodelCanBeRoot(unit) ? unit : nullptr;
    };
    ImodelDesignManager& design = *Model().GetDesignManager();
    const VyIfaces::ComponentID root = design.GetRootId();
    if (!before.IsDefault() && root != before && design.GetRootThatWent().IsDefault() && !standing(before))
        design.SetRootThatWent(before);
    const VyIfaces::ComponentID wanted = design.GetRootThatWent();
    if (wanted.IsDefault()) return;
    if (root == wanted) {
        design.SetRootThatWent(VyIfaces::ComponentID());
        return;
    }
    ImodelModule* back = standing(wanted);
    if (!back) return;
    design.SetRootThatWent(VyIfaces::ComponentID());
    if (ImodelCommandServices* commands = ImodelCommandServices::Get()) commands->SetRoot(back);
}

bool IsOnDisk(const IfileObject& file)
{
    SysStatInfo stamp;
    return SysPathStat(file.GetFullFileName().GetString(), &stamp) == 0;
}

// A member renamed on disk in letter case only (hdl/MID.vhd become
// hdl/mid.vhd) is still the same file to the project, whose names do not
// tell case apart, but no longer to the disk: the member takes the new name,
// keeping its units and their data, rather than a second member coming in
// under it while the first, its file gone, is dropped at the next open.
// Nothing when the project holds `found` under that very name, holds no
// member of its name in another case, or the member's own file is still on
// disk (two files, of which the project holds one). Two lookups by name.
void FollowRenameInCase(IfileManager& files, const IfileObject& found)
{
    if (files.ContainsFile(found)) return;
    const std::string full = found.GetFullFileName().GetString();
    const IfileManager::Entry member = files.GetFileFor(IfileObject::IsSameFileName(full.c_str(), ImodelFMFull), 0);
    if (!member) return;
    const std::string old = member->GetFullFileName().GetString();
    if (old == full || IsOnDisk(*member)) return;
    ImodelCommandServices* commands = ImodelCommandServices::Get();
    if (!commands) return;
    commands->FollowRenamedFile(member, full);
    ImodelDisplayFILE_RENAMED_IN_CASE_MSG(old.c_str(), full.c_str());
}

}  // namespace

// --- files and bins -------------------------------------------------------------------------

bool itimerFile::IsSameStatInfo(const itimerFile& other) const
{
    const auto time = [](const itimerFile& file) { return file.stamp ? file.stamp->time : -1; };
    const auto size = [](const itimerFile& file) { return file.stamp ? file.stamp->size : -1; };
    return time(*this) == time(other) && size(*this) == size(other);
}

std::uint64_t itimerBin::HashOf(const IfileObject& file, const std::string& folder)
{
    return ImodelFileNameKeyHash(file.GetInternalFileName().GetString(), folder);
}

void itimerBin::AddToBaseline(itimerFile file)
{
    m_index.Add(file.hash, m_baseline.size());
    m_baseline.push_back(std::move(file));
}

std::size_t itimerBin::FindInBaseline(const IfileObject& file, std::uint64_t hash) const
{
    // Of equal entries (a file enumerated into the baseline twice), the one
    // added last answers.
    return m_index.FindLast(hash, [&](std::size_t position) { return m_baseline[position].file == file; });
}

namespace {

// Whether a file of the list carries data of a host's, whose release could
// do anything: such a list is freed here.
bool AnyClientData(const itimerBin::Files& files)
{
    return std::any_of(files.begin(), files.end(), [](const itimerFile& found) { return found.file.HasClientData(); });
}

}  // namespace

void itimerBin::Clear()
{
    // A project's bins hold a file per member: their memory is freed off
    // the command's path. A host's data must be let go of here: the lists
    // are walked for it once a host has given some file its data.
    if (m_baseline.size() + m_found.size() >= kImodelFreedLaterFrom &&
        (!IfileObject::AnyClientDataGiven() || (!AnyClientData(m_baseline) && !AnyClientData(m_found)))) {
        ImodelFreeLaterWhole(std::exchange(m_baseline, {}), std::exchange(m_found, {}), std::exchange(m_index, {}));
        return;
    }
    m_baseline.clear();
    m_found.clear();
    m_index.Clear();
}

void itimerBin::Reindex()
{
    m_index.Clear();
    for (std::size_t i = 0; i < m_baseline.size(); ++i) m_index.Add(m_baseline[i].hash, i);
}

// --- filters --------------------------------------------------------------------------------

itimerFilter::itimerFilter(std::string pattern, const std::string& folder, int type, itimerBin* bin)
    : m_pattern(std::move(pattern)), m_type(type), m_bin(bin)
{
    AddFolder(folder);
}

itimerFilter::itimerFilter(std::string pattern, const std::vector<std::string>& folders, int type, itimerBin* bin)
    : m_pattern(std::move(pattern)), m_type(type), m_bin(bin)
{
    for (const std::string& folder : folders) AddFolder(folder);
}

itimerFilter::itimerFilter(std::string pattern, int type, itimerBin* bin)
    : itimerFilter(std::move(pattern), DefaultFolder(type), type, bin)
{
}

itimerFilter::itimerFilter(const itimerFilter& other, itimerBin* bin)
    : m_pattern(other.m_pattern), m_folders(other.m_folders), m_type(other.m_type), m_bin(bin)
{
}

std::string itimerFilter::RevisionFolder() { return std::string("pallador") + SysGetDirChar() + "impl*"; }

std::string itimerFilter::DefaultFolder(int type)
{
    if (ImodelGetGlobalType(type) != zorpaFT_GROUP_PALLADOR) return PathForFile(type);
    std::string folder = RevisionFolder();
    if (type == zorpaFT_PRO) folder += std::string(1, SysGetDirChar()) + "*_fp*";
    return folder;
}

void itimerFilter::AddFolder(const std::string& folder)
{
    std::string text = folder;
    ImodelSetValidSeparator(text, true);
    // The platform's separator is "/", which the wildcard matcher takes
    // literally: nothing to escape.
    const int depth = CountSeparators(text);
    m_folders.emplace_back(std::move(text), depth);
}

itimerFilter::AskedFolder::AskedFolder(const std::string& folder, bool allowLeading)
    : m_text(folder), m_depth(CountSeparators(folder)), m_allowLeading(allowLeading)
{
    if (!allowLeading) return;
    const std::size_t begin = folder.find_first_not_of('/');
    if (begin == std::string::npos) return;
    m_trimmed = folder.substr(begin, folder.find_last_not_of('/') - begin + 1);
    m_trimmedDepth = CountSeparators(m_trimmed);
}

bool itimerFilter::MatchFolder(const std::string& folder, bool allowLeading) const
{
    const AskedFolder asked(folder, allowLeading);
    return std::any_of(m_folders.begin(), m_folders.end(), [&asked](const auto& watched) {
        return MatchFolderPattern(watched.first, watched.second, asked);
    });
}

bool itimerFilter::MatchFolderPattern(const std::string& pattern, int depth, const AskedFolder& folder)
{
    // A match at another depth is no match, not even as a way to one.
    if (WcmMatch(pattern.c_str(), folder.m_text.c_str())) return folder.m_depth == depth;
    if (!folder.m_allowLeading) return false;
    // A folder on the way to a watched one: the pattern's leading
    // components, as many as the folder has, must match it.
    const int wanted = folder.m_trimmedDepth;
    std::string leading;
    int runs = 0;
    bool complete = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '/') {
            leading += pattern[i];
            continue;
        }
        if (i > 0 && pattern[i - 1] == '/') continue;  // one run counts once
        if (runs == wanted) {
            complete = true;
            break;
        }
        ++runs;
        leading += '/';
    }
    if (!complete && runs < wanted) return false;
    return WcmMatch(leading.c_str(), folder.m_trimmed.c_str()) != 0;
}

bool itimerFilter::MatchName(const std::string& titleAndExt, const std::string& extension) const
{
    if (m_type == zorpaFT_SCH || m_type == zorpaFT_SYM) return UtlIsInteger(extension);
    return WcmMatch(m_pattern.c_str(), titleAndExt.c_str()) != 0;
}

bool itimerFilter::TryAdd(const IfileObject& file, const SysStatInfo* stamp, bool toBaseline) const
{
    if (!MatchName(file.GetFileTitleAndExt(), file.GetExt())) return false;
    ImodelFileName folder;
    if (!file.GetRelativeFolder(folder) || !MatchFolder(folder.GetString(), false) || !m_bin) return false;
    itimerFile taken{file, stamp ? std::optional<SysStatInfo>(*stamp) : std::nullopt,
                     itimerBin::HashOf(file, ProjectFolder())};
    taken.file.SetFileType(static_cast<zorpaFileManagerTypes>(m_type));
    if (toBaseline)
        m_bin->AddToBaseline(std::move(taken));
    else
        m_bin->AddToFound(std::move(taken));
    return true;
}

// --- the watcher ----------------------------------------------------------------------------

itimerManagerImpl::itimerManagerImpl()
{
    for (int type = 0; type < kBinCount; ++type) {
        m_bins.emplace_back(type, std::make_unique<itimerBin>(type));
        m_binByType[type] = m_bins.back().second.get();
    }
}

itimerManagerImpl::itimerManagerImpl(const itimerManagerImpl& source)
    : ItimerManager(source), m_hostMark(source.m_hostMark), m_ready(source.m_ready)
{
    for (const auto& [type, bin] : source.m_bins) {
        m_bins.emplace_back(type, std::make_unique<itimerBin>(*bin));
        m_binByType[type] = m_bins.back().second.get();
    }
    for (const std::unique_ptr<itimerFilter>& filter : source.m_filters)
        m_filters.push_back(std::make_unique<itimerFilter>(*filter, BinOf(filter->GetType())));
}

itimerManagerImpl::~itimerManagerImpl()
{
    // A copy handed out outlives nothing of this watcher; one still out
    // forgets it is a copy.
    if (m_copy) m_copy->m_source = nullptr;
    if (m_source && m_source->m_copy == this) m_source->m_copy = nullptr;
}

std::deque<IfileObject>& itimerManagerImpl::GetIgnoreList()
{
    static std::deque<IfileObject> ignored;
    return ignored;
}

itimerBin* itimerManagerImpl::BinOf(int type) const
{
    return type >= 0 && type < kBinCount ? m_binByType[type] : nullptr;
}

const itimerBin* itimerManagerImpl::GetBin(int type) const { return BinOf(type); }

std::vector<const itimerBin*> itimerManagerImpl::GetBins() const
{
    std::vector<const itimerBin*> bins;
    for (const auto& [type, bin] : m_bins) bins.push_back(bin.get());
    return bins;
}

bool itimerManagerImpl::IsTypeWatched(int type) const { return BinOf(type) != nullptr; }

void itimerManagerImpl::DropCopy()
{
    if (!m_copy) return;
    m_copy->m_ready = false;
    m_copy->m_source = nullptr;
    m_copy = nullptr;
}

void itimerManagerImpl::DeleteFilters()
{
    m_testedFilters.clear();
    m_filters.clear();
    m_lastFolder.reset();
    m_lastFilters.clear();
    m_watchedFolders.clear();
}

void itimerManagerImpl::Start()
{
    m_ready = true;
    StartScan(true);
}

void itimerManagerImpl::Reset()
{
    m_ready = false;
    DropCopy();
    for (const auto& [type, bin] : m_bins) bin->Clear();
    DeleteFilters();
    m_actions.clear();
}

void itimerManagerImpl::StartScan(bool toBaseline)
{
    DropCopy();
    if (m_filters.empty()) BuildFilters();
    // The found lists hold what the latest enumeration found.
    if (!toBaseline)
        for (const auto& [type, bin] : m_bins) bin->TakeFound();
    if (ImodelHost* host = Model().GetHost()) host->ScanFiles(toBaseline, this);
}

void itimerManagerImpl::ScanGlobalType(int globalType)
{
    if (!m_ready) return;
    // One enumeration serves every bin of the group.
    bool scanned = false;
    for (const auto& [type, bin] : m_bins) {
        if (ImodelGetGlobalType(type) != globalType) continue;
        if (!scanned) StartScan(false);
        scanned = true;
        ScanBin(*bin, nullptr);
    }
}

void itimerManagerImpl::Rescan(std::deque<IfileObject>* imported)
{
    if (!m_ready || RescanRunning()) return;
    const ImodelSetAndRestoreModelFlagObject running(RescanRunning(), true);
    // The descriptions pre-read reach the cache on this thread.
    if (IfileExtendedInfoManager* cache = Model().GetExtendedInfoManager()) cache->ApplyPreReadResults(false);
    const VyIfaces::ComponentID root = Model().GetDesignManager()->GetRootId();
    DetectChanges(true);
    ScanAndNotify(true, imported);
    FollowRootThatWent(root);
}

void itimerManagerImpl::DetectChanges(bool withWorkspace)
{
    Imodel& model = Model();
    ImodelStartTimerAction();
    StartScan(false);
    ImodelEndTimerAction("AddAllFilesToList");
    if (withWorkspace) {
        ImodelStartTimerAction();
        if (QuorlaneCoreToolManager* cores = ItoolGetActiveCoreTool(zorpaFT_OMBRIX_CXF, model))
            cores->SaveNewWorkspaceTimeStamp();
        ImodelEndTimerAction("Get workspace time stamp");
    }
    ImodelStartTimerAction();
    {
        // The project's files in the watched folders were just looked at:
        // their status is not asked of the disk a second time.
        std::size_t count = 0;
        for (const auto& [type, bin] : m_bins) count += bin->GetFound().size();
        IfileKnownStatuses known(count);
        for (const auto& [type, bin] : m_bins)
            for (const itimerFile& found : bin->GetFound())
                if (found.stamp) known.Add(found.file, found.hash, *found.stamp);
        if (IfileManager* files = model.GetFileManager()) files->HandleDetectedChanges(false);
    }
    ImodelEndTimerAction("StoreNewTimeStampsOrNotify");
}

void itimerManagerImpl::ScanAndNotify(bool notify, std::deque<IfileObject>* imported)
{
    ScanAll(imported);
    if (!notify) return;
    Imodel& model = Model();
    if (IfileManager* files = model.GetFileManager()) files->HandleDetectedChanges(true);
    if (QuorlaneCoreToolManager* cores = ItoolGetActiveCoreTool(zorpaFT_OMBRIX_CXF, model))
        cores->CheckNewCoresCreated();
}

void itimerManagerImpl::ScanAll(std::deque<IfileObject>* imported)
{
    // A bin's actions and imports may not reorder the bins under the walk.
    std::vector<itimerBin*> bins;
    for (const auto& [type, bin] : m_bins) bins.push_back(bin.get());
    for (itimerBin* bin : bins) ScanBin(*bin, imported);
}

void itimerManagerImpl::CopyRevisionFiles(int from, int to)
{
    DropCopy();
    for (const auto& [type, bin] : m_bins) {
        std::vector<itimerFile> copies;
        for (const itimerFile& file : bin->GetBaseline()) {
            ImodelFileName name;
            if (file.file.GetRevNum() != from || !IfileGetFileNameInRev(file.file, to, name, ImodelFMInternal))
                continue;
            itimerFile copy = file;
            copy.file.SetFileName(name, ImodelFMInternal, false);
            copy.hash = itimerBin::HashOf(copy.file, ProjectFolder());
            copies.push_back(std::move(copy));
        }
        for (itimerFile& copy : copies) bin->AddToBaseline(std::move(copy));
    }
}

const itimerFilter* itimerManagerImpl::FilterFor(const IfileObject& file)
{
    if (!file.HasValidExt()) return nullptr;
    ImodelFileName folder;
    if (!file.GetRelativeFolder(folder)) return nullptr;
    // The host hands over the files of one folder one after the other: the
    // folder tests are made once per folder.
    if (!m_lastFolder || *m_lastFolder != folder.GetString()) {
        m_lastFolder = folder.GetString();
        m_lastFilters.clear();
        for (const std::unique_ptr<itimerFilter>& filter : m_filters)
            if (filter->GetBin() && filter->MatchFolder(*m_lastFolder, false)) m_lastFilters.push_back(filter.get());
    }
    if (m_lastFilters.empty()) return nullptr;
    const std::string titleAndExt = file.GetFileTitleAndExt();
    const std::string extension = file.GetExt();
    for (const itimerFilter* filter : m_lastFilters)
        if (filter->MatchName(titleAndExt, extension)) return filter;
    return nullptr;
}

itimerFile itimerManagerImpl::TakenBy(const itimerFilter& filter, const IfileObject& file,
                                      std::optional<SysStatInfo> stamp)
{
    itimerFile taken{file, stamp, itimerBin::HashOf(file, ProjectFolder())};
    taken.file.SetFileType(static_cast<zorpaFileManagerTypes>(filter.GetType()));
    return taken;
}

bool itimerManagerImpl::AddFile(const IfileObject& file, const SysStatInfo* stamp, bool toBaseline)
{
    const itimerFilter* filter = FilterFor(file);
    if (!filter) return false;
    if (!m_testedFilters.empty()) std::erase(m_testedFilters, filter);
    itimerFile taken = TakenBy(*filter, file, stamp ? std::optional<SysStatInfo>(*stamp) : std::nullopt);
    itimerBin& bin = *filter->GetBin();
    if (!toBaseline) {
        bin.AddToFound(std::move(taken));
    } else if (const std::size_t known = bin.FindInBaseline(taken.file, taken.hash); known != itimerBin::npos) {
        // Enumerated twice: the baseline keeps one entry, with the stamp found last.
        bin.BaselineAt(known).stamp = taken.stamp;
    } else {
        bin.AddToBaseline(std::move(taken));
    }
    return true;
}

bool itimerManagerImpl::MatchFile(const ImodelFileName& name)
{
    ImodelFileName relative;
    if (!ImodelGetRelativeFileName(name, relative, true, zorpaFT_UNKNOWN)) return false;
    if (m_watchedFolders.empty()) {
        for (const std::unique_ptr<itimerFilter>& filter : m_filters)
            m_watchedFolders.insert(m_watchedFolders.end(), filter->GetFolders().begin(), filter->GetFolders().end());
        std::sort(m_watchedFolders.begin(), m_watchedFolders.end());
        m_watchedFolders.erase(std::unique(m_watchedFolders.begin(), m_watchedFolders.end()), m_watchedFolders.end());
    }
    const itimerFilter::AskedFolder asked(relative.GetString(), true);
    return std::any_of(m_watchedFolders.begin(), m_watchedFolders.end(), [&asked](const auto& watched) {
        return itimerFilter::MatchFolderPattern(watched.first, watched.second, asked);
    });
}

void itimerManagerImpl::IgnoreNextChange(const IfileObjectEx& file)
{
    std::deque<IfileObject>& ignored = GetIgnoreList();
    std::erase(ignored, static_cast<const IfileObject&>(file));
    ignored.push_back(file);
}

bool itimerManagerImpl::MakeCopy(std::unique_ptr<ItimerManager>& copy)
{
    if (m_copy) return false;
    auto made = std::make_unique<itimerManagerImpl>(*this);
    made->m_source = this;
    m_copy = made.get();
    copy = std::move(made);
    return true;
}

void itimerManagerImpl::MergeCopy(ItimerManager* copy, bool notify)
{
    if (!copy || copy != m_copy || !m_copy->m_ready) return;
    for (const auto& [type, bin] : m_bins)
        if (const itimerBin* theirs = m_copy->BinOf(type)) bin->SetFound(theirs->GetFound());
    const VyIfaces::ComponentID root = Model().GetDesignManager()->GetRootId();
    ScanAndNotify(notify, nullptr);
    FollowRootThatWent(root);
}

void itimerManagerImpl::DiscardCopy(std::unique_ptr<ItimerManager>& copy)
{
    DropCopy();
    copy.reset();
}

// --- scanning one bin -----------------------------------------------------------------------

bool itimerManagerImpl::IsAccepted(const itimerFile& found) const
{
    Imodel& model = Model();
    IfileManager* files = model.GetFileManager();
    const IfileObject& file = found.file;
    const int type = file.GetFileSpecificType();
    // An empty file is a tool's file being written, unless the project
    // holds an empty HDL file of that name.
    if (found.stamp && found.stamp->size == 0 && !(type == zorpaFT_HDL && files && files->ContainsFile(file)))
        return false;
    if (type == zorpaFT_SYN_HDL && !file.GetFileTitleNoExt().empty()) {
        const std::string edif =
            file.GetFileLocation().GetString() + SysGetDirChar() + file.GetFileTitleNoExt() + ".edn";
        if (!files ||
            !files->ContainsFile(IfileObject(ImodelFileName(edif), zorpaFT_SYN_EDN, ImodelFMFull, true, true)))
            return false;
    }
    const IprocessFileObject* node =
        model.GetProcessManager()->GetFileObject(static_cast<zorpaFileManagerTypes>(type), nullptr);
    if (ImodelGetGlobalType(type) == zorpaFT_GROUP_CONSTRAINT || (node && node->IsOptionalConstraintFile()))
        return ImodelIsConstraintFileSupported(file.GetExt().c_str(), std::string());
    return true;
}

bool itimerManagerImpl::TakeIntoBaseline(itimerBin& bin, const itimerFile& file, std::size_t position) const
{
    // The acceptance rules only matter to a file that is new or changed.
    if (position != itimerBin::npos) {
        itimerFile& base = bin.BaselineAt(position);
        if (!base.stamp || !file.stamp || base.IsSameStatInfo(file) || !IsAccepted(file)) return false;
        base.stamp = file.stamp;
        return true;
    }
    if (!IsAccepted(file)) return false;
    bin.AddToBaseline(file);
    return true;
}

bool itimerManagerImpl::SpendIgnored(const IfileObject& file)
{
    std::deque<IfileObject>& ignored = GetIgnoreList();
    const auto at = std::find(ignored.begin(), ignored.end(), file);
    if (at == ignored.end()) return false;
    ignored.erase(at);
    return true;
}

void itimerManagerImpl::TakeNoteOf(const std::deque<IfileObject>& files)
{
    if (!m_ready || RescanRunning() || files.empty()) return;
    // As a cycle would: a copy enumerated before these files came is no
    // longer to be merged.
    DropCopy();
    if (m_filters.empty()) BuildFilters();
    for (const IfileObject& imported : files) {
        const std::string full = imported.GetFullFileName().GetString();
        SysStatInfo stamp;
        if (SysPathStat(full, &stamp) != 0 || !SysIsRegularFile(stamp)) continue;
        // Of no type yet, as the host's walk hands files over: the filter
        // that takes it gives the type.
        const IfileObject file(ImodelFileName(full), zorpaFT_UNKNOWN, ImodelFMFull, true, true);
        const itimerFilter* filter = FilterFor(file);
        if (!filter) continue;
        const itimerFile taken = TakenBy(*filter, file, stamp);
        itimerBin& bin = *filter->GetBin();
        // A cycle would take the file into the baseline and, the project
        // holding it since the import, go no further with it.
        if (TakeIntoBaseline(bin, taken, bin.FindInBaseline(taken.file, taken.hash))) SpendIgnored(taken.file);
    }
}

void itimerManagerImpl::ScanBin(itimerBin& bin, std::deque<IfileObject>* imported)
{
    DropCopy();
    Imodel& model = Model();
    ImodelHost* host = model.GetHost();
    if (!host) return;
    itimerBin::Files found = bin.TakeFound();

    // Which baseline entry each found file is: one lookup per file.
    std::vector<std::size_t> known(found.size());
    std::vector<char> seen(bin.GetBaseline().size(), 0);
    std::size_t seenCount = 0;
    for (std::size_t i = 0; i < found.size(); ++i) {
        known[i] = bin.FindInBaseline(found[i].file, found[i].hash);
        if (known[i] != itimerBin::npos && !seen[known[i]]) {
            seen[known[i]] = 1;
            ++seenCount;
        }
    }
    // Vanished files leave the baseline; a lock file that went is told.
    if (seenCount < seen.size()) {
        std::vector<IfileObject> locks;
        bin.RemoveFromBaseline([&](std::size_t position, const itimerFile& file) {
            if (seen[position]) return false;
            if (file.file.GetFileSpecificType() == zorpaFT_LOK) locks.push_back(file.file);
            return true;
        });
        for (std::size_t i = 0; i < found.size(); ++i) known[i] = bin.FindInBaseline(found[i].file, found[i].hash);
        for (const IfileObject& lock : locks) host->LockFileRemoved(lock);
    }

    IfileManager* files = model.GetFileManager();
    ImodelCommandServices* commands = ImodelCommandServices::Get();
    bool importedAny = false;
    bool importedSchematic = false;
    bool hierarchyWasBlocked = false;
    for (std::size_t i = 0; i < found.size(); ++i) {
        itimerFile& file = found[i];
        // A file met earlier in this list was appended to the baseline since.
        const std::size_t position = known[i] != itimerBin::npos ? known[i] : bin.FindInBaseline(file.file, file.hash);
        // The baseline's file under a name that differs in letter case only,
        // the old name gone: renamed on disk, changed or not. The baseline
        // and the project take the new name.
        if (position != itimerBin::npos) {
            IfileObject& seen = bin.BaselineAt(position).file;
            if (seen.GetInternalFileName().GetString() != file.file.GetInternalFileName().GetString() &&
                !IsOnDisk(seen)) {
                seen = file.file;
                if (files) FollowRenameInCase(*files, file.file);
            }
        }
        if (!TakeIntoBaseline(bin, file, position) || SpendIgnored(file.file)) continue;
        const int type = file.file.GetFileSpecificType();
        bool handled = false;
        for (const auto& [actionType, action] : m_actions)
            if (actionType == type && (this->*action)(file.file)) {
                handled = true;
                break;
            }
        if (handled) continue;
        // Renamed while the baseline was made again (the watcher restarted
        // since): the project's member, not a new one, takes the change.
        if (files) FollowRenameInCase(*files, file.file);
        if (model.ImportFilesRightAway() && files && file.stamp) {
            const IfileManager::Entry entry = files->GetFile(file.file);
            const SysStatInfo* stored = entry ? entry->GetStatInfo() : nullptr;
            if (stored && stored->size == file.stamp->size &&
                IfileObjectEx::IsSameDiskTime(stored->time, file.stamp->time))
                continue;
        }
        if (!importedAny) hierarchyWasBlocked = Imodel::BlockDesignHierarchyDisplay(true, true);
        importedAny = true;
        if (model.IsDebugMsg()) SysDebugPrintf("TIMER: Found new file %s\n", file.file.GetFileTitleAndExt().c_str());
        if (commands)
            commands->AddFileToModel(IfileObjectEx(file.file, false), true, true, false, imported, nullptr, true,
                                     nullptr, true, false, nullptr);
        if (type == zorpaFT_SCH || type == zorpaFT_SYM) importedSchematic = true;
    }
    if (!importedAny) return;
    Imodel::BlockDesignHierarchyDisplay(hierarchyWasBlocked, true);
    ImodelDesignManager& design = *model.GetDesignManager();
    if (commands) {
        if (!design.GetRootId().IsDefault()) {
            if (ImodelModule* root = design.GetRootModule()) commands->SetRoot(root);
        } else if (ImodelModule* first = ImodelGetFirstValidRoot()) {
            commands->SetRoot(first);
        }
    }
    if (importedSchematic && design.IsRootSchematic()) host->SchematicFilesImported(0, 0);
}

// --- the filter table -----------------------------------------------------------------------

void itimerManagerImpl::Append(std::string pattern, int type)
{
    m_filters.push_back(std::make_unique<itimerFilter>(std::move(pattern), type, BinOf(type)));
    m_watchedFolders.clear();
}

void itimerManagerImpl::Append(std::string pattern, const std::string& folder, int type)
{
    m_filters.push_back(std::make_unique<itimerFilter>(std::move(pattern), folder, type, BinOf(type)));
    m_watchedFolders.clear();
}

void itimerManagerImpl::BuildFilters()
{
    Imodel& model = Model();
    // The flow is made (and the watcher reset with it) before the table.
    IprocessManager* processes = model.GetProcessManager();
    DropCopy();
    DeleteFilters();
    m_actions.clear();
    const bool mixed = ImodelIsMixedHDLEnabled();
    const bool vhdl = model.GetDesignManager()->IsDefaultVHDL();
    const bool implementations = ImodelIsSynplifyImplementationsEnabled();
    const std::string separator(1, SysGetDirChar());

    for (int type : {zorpaFT_HDL, zorpaFT_TB_HDL}) {
        if (mixed || vhdl) Append("*.vhd", type);
        if (mixed || !vhdl) Append("*.v", type);
        if (type == zorpaFT_HDL) Append("*.h", type);
    }
    std::vector<ConstraintType> constraints;
    ImodelGetConstraintList(constraints, imodelIMPORT_CONSTRAINT_FILES, std::string());
    for (const ConstraintType& kind : constraints) Append("*." + kind.extension, kind.type);
    Append("*.tim", zorpaFT_BTIM);
    Append("*.btim", zorpaFT_BTIM);
    Append("*.bfm", zorpaFT_SIM);
    Append("*.vcd", zorpaFT_VCD);
    Append("*.saif", zorpaFT_SAIF);
    Append("bfm*.log", PathForFile(zorpaFT_SIM), zorpaFT_LOG);
    Append("*.do", zorpaFT_DO);
    Append("*.[0-9]*", zorpaFT_SCH);
    Append("*.[0-9]*", zorpaFT_SYM);
    Append("*.qvo", PathForFile(zorpaFT_GROUP_DREMMET) + separator + "*", zorpaFT_QVO);
    Append("*.so", PathForFile(zorpaFT_SYN_EDN), zorpaFT_SO);
    if (implementations) Append("*.so", PathForFile(zorpaFT_SYN_EDN) + separator + "*", zorpaFT_SO);

    if (IprocessFlow* flow = processes ? processes->GetFlowForModule(nullptr) : nullptr) {
        const std::vector<IprocessFileObject*>& nodes = flow->GetFileObjects();
        SortBinsFlowOrder(nodes);
        for (const IprocessFileObject* node : nodes) {
            const int type = node->GetFileType();
            if (type == zorpaFT_HDL) continue;
            const bool otherLanguage = node->IsHDL() && mixed;
            Append(node->GetFilter(true), type);
            if (otherLanguage) Append(node->GetFilter(false), type);
            if (implementations && ImodelGetGlobalType(type) == zorpaFT_GROUP_SYNTHESIS) {
                const std::string folder = PathForFile(type) + separator + "*";
                Append(node->GetFilter(true), folder, type);
                if (otherLanguage) Append(node->GetFilter(false), folder, type);
            }
        }
    }

    Append("*.sdf", zorpaFT_SDF);
    Append("*.bit", zorpaFT_BIT);
    Append("*.ide_pld", zorpaFT_IDE_PLD);
    Append("*.lok", zorpaFT_LOK);
    Append("*.rpt", itimerFilter::RevisionFolder(), zorpaFT_LOG);
    Append("*.txt", itimerFilter::RevisionFolder() + separator + "simulation", zorpaFT_TXT);

    m_actions = {{zorpaFT_IDE_PLD, &itimerManagerImpl::OnIde_pldFileFound},
                 {zorpaFT_LOK, &itimerManagerImpl::OnLockFileFound},
                 {zorpaFT_QVO, &itimerManagerImpl::OnConfiguratorOutputFound},
                 {zorpaFT_SO, &itimerManagerImpl::OnSynthesisOutputFound}};
    // A test run takes each filter off the list as it takes a file: what
    // is left took none.
    if (Imodel::IsRunningTests())
        for (const std::unique_ptr<itimerFilter>& filter : m_filters) m_testedFilters.push_back(filter.get());
}

void itimerManagerImpl::SortBinsFlowOrder(const std::vector<IprocessFileObject*>& nodes)
{
    // The flow's node types, with the descriptions (which have no node of
    // their own) right after the first design database.
    std::vector<int> order;
    for (const IprocessFileObject* node : nodes) order.push_back(node->GetFileType());
    const auto database = std::find(order.begin(), order.end(), zorpaFT_ADB);
    order.insert(database == order.end() ? order.end() : database + 1, zorpaFT_IDE_PLD);
    // A type's place is its first in the order; a type not in it comes first.
    std::array<int, kBinCount> position;
    position.fill(-1);
    for (std::size_t at = order.size(); at-- > 0;)
        if (order[at] >= 0 && order[at] < kBinCount) position[order[at]] = static_cast<int>(at);
    std::stable_sort(m_bins.begin(), m_bins.end(),
                     [&position](const auto& a, const auto& b) { return position[a.first] < position[b.first]; });
}

// --- actions --------------------------------------------------------------------------------

bool itimerManagerImpl::OnIde_pldFileFound(const IfileObject& file)
{
    Imodel& model = Model();
    if (ImodelIsSameStrNoCase(file.GetExt(), "ide_pld")) {
        const std::string full = file.GetFullFileName().GetString();
        const std::string database = full.substr(0, full.size() - std::string("ide_pld").size()) + "adb";
        if (IfileExtendedInfoManager* cache = model.GetExtendedInfoManager())
            cache->LoadInfo(IfileObject(ImodelFileName(database), zorpaFT_ADB, ImodelFMFull, false, true), true, true);
    }
    if (IprocessFileObject* node = model.GetProcessManager()->GetFileObject(zorpaFT_ADB, nullptr))
        node->NotifyFileChanged(file);
    return true;
}

// A lock file is the tool's: it is watched only to hear that it went.
bool itimerManagerImpl::OnLockFileFound(const IfileObject&) { return true; }

bool itimerManagerImpl::OnConfiguratorOutputFound(const IfileObject& file)
{
    if (Imodel::IsRunningTests()) m_testedFiles.push_back(file);
    if (Ktwkspace::Workspace* workspace = Model().GetWorkspace())
        workspace->FileChanged(file.GetFullFileName().GetString(), file.GetExt());
    return true;
}

bool itimerManagerImpl::OnSynthesisOutputFound(const IfileObject& file)
{
    if (ImodelUseSynplifyXMLOutputFile())
        if (ItoolSynthesis* synthesis = Model().GetSynthesisTool())
            synthesis->ReadResultFile(file, "SYNPLIFY7_EXT", "SynplifyOutput");
    return true;
}
