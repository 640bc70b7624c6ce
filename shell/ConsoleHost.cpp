#include "ConsoleHost.h"

#include "ConsoleIpMgrCallback.h"
#include "icmd/project/IcmdOpenProject.h"
#include "iconvert/Iconvert.h"
#include "ievent/IeventClasses.h"
#include "ifile/IfileExtendedInfoManager.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfileSeenStatuses.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelCopyDirTool.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/ImodelProcess.h"
#include "imodel/names/imodelUtl.h"
#include "itimer/ItimerManager.h"

#include <foundation/Def.h>
#include <foundation/Mdb.h>
#include <foundation/Sys.h>
#include <kemlet/KemletContentIf.h>
#include <kemlet/KemletIde_pldFileManagerIf.h>
#include <tcl.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <exception>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace {

// The copies of a folder copy, made durable together (SysCopyBatch): one
// flush of the disk for thousands of files rather than two each.
struct FolderCopies {
    struct Copy {
        std::string from;
        std::string to;
        bool readOnly;
    };
    SysCopyBatch batch;
    std::vector<Copy> waiting;

    // Puts the copies waiting in place; false, once the first copy that
    // failed is reported, when one did.
    bool Commit()
    {
        const std::vector<int> results = batch.Commit();
        std::vector<Copy> done = std::move(waiting);
        waiting.clear();
        for (std::size_t i = 0; i < done.size(); ++i) {
            const Copy& copy = done[i];
            if (i < results.size() && results[i] == 0 && (!copy.readOnly || SysSetReadOnlyAttr(copy.to, true) == 0))
                continue;
            ImodelDisplayUNABLE_TO_COPY_MSG(copy.from.c_str(), copy.to.c_str());
            return false;
        }
        return true;
    }
};

// Copies the files and sub-folders of the tool's source folder to where the
// tool says, the sub-folders one level at a time. `root`, the real path of
// the target of the whole copy, is never entered: a copy into a folder below
// its source does not copy itself again and again. `entered` holds the real
// paths of the folders entered so far, the source's included: a folder that
// a link leads back to is copied once.
bool CopyFolderLevel(ImodelCopyDirTool& tool, const std::string& root, std::set<std::string>& entered,
                     FolderCopies& copies)
{
    const std::string source = tool.GetSourceFolder().GetString();
    const std::string target = tool.GetTargetFolder().GetString();
    const std::string filter = tool.GetFilter().empty() ? "*" : tool.GetFilter();
    std::vector<std::string> names;
    if (!SysListFolder(source, names)) {
        ImodelDisplayUNABLE_TO_COPY_MSG(source.c_str(), target.c_str());
        return false;
    }
    if (!UtlValidateOrCreateFolder(target)) {
        ImodelDisplayUNABLE_TO_CREATE_DIR_MSG(target.c_str());
        return false;
    }
    for (const std::string& name : names) {
        const std::string path = source + SysGetDirChar() + name;
        SysStatInfo info;
        if (SysPathStat(path, &info) != 0) continue;  // a link to nothing: nothing to copy
        if (SysIsDirectory(info)) {
            const std::string real = SysGetRealPath(path);
            ImodelFileName folderTarget;
            if (real == root || entered.count(real) != 0 || !tool.NeedToCopyFolder(path, folderTarget)) continue;
            entered.insert(real);
            tool.ChangeFoldersForRecurseCall(path, folderTarget);
            const bool copied = CopyFolderLevel(tool, root, entered, copies);
            tool.ChangeFoldersForRecurseCall(source, target);
            if (!copied) return false;
        } else if (WcmMatch(filter.c_str(), name.c_str())) {
            ImodelFileName fileTarget;
            bool readOnly = false;
            if (!tool.NeedToCopyFile(path, fileTarget, readOnly)) continue;
            // The file lands in the folder the tool named, made when missing
            // (this level's target was made above).
            const std::string where = fileTarget.GetString().substr(0, fileTarget.GetString().rfind(SysGetDirChar()));
            if ((!where.empty() && where != target && !UtlValidateOrCreateFolder(where)) ||
                copies.batch.Add(path, fileTarget) != 0) {
                ImodelDisplayUNABLE_TO_COPY_MSG(path.c_str(), fileTarget.c_str());
                return false;
            }
            copies.waiting.push_back({path, fileTarget.GetString(), readOnly});
            if (copies.batch.IsFull() && !copies.Commit()) return false;
        }
    }
    return true;
}

}  // namespace

ConsoleHost::ConsoleHost() : m_ipCallback(boost::make_shared<ConsoleIpMgrCallback>()) {}

ConsoleHost::~ConsoleHost()
{
    Imodel& model = Imodel::GetInstance();
    if (Imodel::IsAlive(&model) && model.GetHost() == this) model.SetHost(nullptr);
}

ConsoleHost& ConsoleHost::GetInstance()
{
    static ConsoleHost host;
    return host;
}

boost::shared_ptr<IIpMgrCallback> ConsoleHost::GetIpMgrCallback() { return m_ipCallback; }

// Copies the tool's source folder to its target, asking the tool about each
// folder before entering it and about each file the filter lets through.
// The first folder or file that cannot be read, made or copied is reported
// and ends the copy with false.
bool ConsoleHost::CopyFolder(ImodelCopyDirTool& tool, bool)
{
    // The target does not exist yet: its real path is that of its folder.
    const std::string target = SysGetQualifiedPath(tool.GetTargetFolder());
    const std::size_t slash = target.rfind(SysGetDirChar());
    const std::string parent = slash == std::string::npos || slash == 0 ? std::string("/") : target.substr(0, slash);
    const std::string parentReal = SysGetRealPath(parent);
    const std::string root =
        UtlDoesDiskObjectExist(target)
            ? SysGetRealPath(target)
            : (parentReal.empty() || parentReal == "/" ? target : parentReal + target.substr(slash));
    std::set<std::string> entered{SysGetRealPath(tool.GetSourceFolder().GetString())};
    // Copies not committed go with the batch when the copy fails.
    FolderCopies copies;
    return CopyFolderLevel(tool, root, entered, copies) && copies.Commit();
}

// Folder listings fill project-file values, which come with the
// project-files work; until then nothing is listed.
namespace {

// The entries of a folder whose names match the pattern's last component
// (wildcards, case ignored), in name order: files, and folders when asked.
template <class File>
void ListMatching(const ImodelFileName& pattern, zorpaFileManagerTypes type, std::deque<File>& files,
                  std::vector<std::string>* names, bool includeFolders)
{
    std::string text = pattern.GetString();
    UtlSetValidSeparator(text);
    const std::size_t slash = text.rfind(SysGetDirChar());
    const std::string folder = slash == std::string::npos ? std::string(".") : text.substr(0, slash);
    const std::string wildcard = slash == std::string::npos ? text : text.substr(slash + 1);
    std::vector<std::string> entries;
    if (!SysListFolder(folder.empty() ? std::string(1, SysGetDirChar()) : folder, entries)) return;
    for (const std::string& name : entries) {
        if (!WcmMatch(wildcard.c_str(), name.c_str())) continue;
        const std::string path = folder + SysGetDirChar() + name;
        SysStatInfo info;
        if (SysPathStat(path, &info) != 0) continue;
        if (SysIsDirectory(info) && !includeFolders) continue;
        IfileObject file(path, type, ImodelFMFull, true, true);
        if constexpr (std::is_same_v<File, IfileObject>) {
            files.push_back(std::move(file));
        } else {
            files.push_back(IfileObjectEx(file, false));
        }
        if (names) names->push_back(name);
    }
}

}  // namespace

void ConsoleHost::ListFolder(const ImodelFileName& pattern, int, zorpaFileManagerTypes type,
                             std::deque<IfileObject>& files, std::vector<std::string>* names, bool includeFolders)
{
    ListMatching(pattern, type, files, names, includeFolders);
}

void ConsoleHost::ListFolder(const ImodelFileName& pattern, int, zorpaFileManagerTypes type,
                             std::deque<IfileObjectEx>& files, std::vector<std::string>* names, bool includeFolders)
{
    ListMatching(pattern, type, files, names, includeFolders);
}

// A place-and-route list written before it named the project's files
// relative to its own folder names them in full, in the folder the project
// was saved in: a copied or moved project would build from the original's
// netlist and constraints. Such names are carried over to the project's
// folder, in their order, and the list's cache entry is read again. Lists
// that name the project's files relatively hold no such name and are left
// as they are.
void ConsoleHost::ProjectLocationChanged(const ImodelFileName& oldFolder, const ImodelFileName&)
{
    Imodel& model = Imodel::GetInstance();
    const ImodelDesignManager* design = model.GetDesignManager();
    if (!design) return;
    const std::string from = UtlResolveDots(oldFolder.GetString());
    const std::string to = design->GetProjectFolder().GetString();
    if (from.empty() || to.empty() || UtlIsSameFileName(from, to)) return;
    const auto moved = [&](const std::string& name) { return ImodelNameMovedToFolder(name, from, to); };
    const std::string views = to + SysGetDirChar() + "pallador";
    std::vector<std::string> viewNames;
    if (!SysListFolder(views, viewNames)) return;
    std::sort(viewNames.begin(), viewNames.end());
    for (const std::string& view : viewNames) {
        const std::string folder = views + SysGetDirChar() + view;
        std::vector<std::string> names;
        if (!UtlDoesPathExist(folder) || !SysListFolder(folder, names)) continue;
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            const std::size_t dot = name.rfind('.');
            if (dot == std::string::npos || !UtlIsSameFileName(name.substr(dot), ".ide_pld")) continue;
            const std::string database = folder + SysGetDirChar() + name.substr(0, dot) + ".adb";
            KemletContentIf content;
            if (!KemletIde_pldFileManagerIf(database, KemletWriterProjectManager, nullptr).Read(&content)) continue;
            std::vector<std::string> listed = content.GetFileList();
            listed.insert(listed.end(), content.GetUsedInputFiles().begin(), content.GetUsedInputFiles().end());
            for (const KemletOptionalFile& optional : content.GetOptionalFiles()) listed.push_back(optional.name);
            bool changed = false;
            for (const std::string& file : listed) {
                const std::string there = moved(file);
                if (!there.empty() && content.RenameFile(file, there)) changed = true;
            }
            // Written back under the code of the program that wrote it: the
            // flow tells the tool's descriptions from its own by that code.
            const auto writer = static_cast<WhoWroteTheFile>(content.GetWhoWroteTheFile());
            if (!changed) continue;
            KemletIde_pldFileManagerIf manager(database, writer, nullptr);
            manager.SetProjectFile(design->GetProjectFileName().GetString());
            if (!manager.Write(content)) continue;
            if (IfileExtendedInfoManager* cache = model.GetExtendedInfoManager())
                cache->LoadInfo(IfileObject(ImodelFileName(database), zorpaFT_ADB, ImodelFMFull, true, true), true,
                                true);
        }
    }
}

// The shell keeps no tool profiles: no profile is current.
void ConsoleHost::GetToolProfileName(std::string& name, ImodelFunctionType, const std::string&) { name.clear(); }

void ConsoleHost::GetToolProfileOption(std::string& text, ImodelFunctionType, const std::string&) { text.clear(); }

// A terminal has no event loop to defer to: the views hear of the batch now.
void ConsoleHost::DispatchEvents(const IeventBatch& events)
{
    Imodel& model = Imodel::GetInstance();
    if (Imodel::IsAlive(&model)) model.SendEvents(events, false);
}

namespace {

// How long a program that answers a question may take.
int ToolTimeLimitMs()
{
    constexpr int kDefaultLimitMs = 10000;
    int limit = 0;
    if (DefGetIntFL("IDE_TOOL_TIME_LIMIT_MS", &limit, __FILE__, __LINE__) != 0 || limit <= 0) return kDefaultLimitMs;
    return limit;
}

}  // namespace

bool ConsoleHost::LaunchProcess(const std::string& commandLine, const std::string& startFolder, bool,
                                std::string* output)
{
    std::vector<std::string> argv;
    ImodelParseArgs(commandLine, argv);
    if (argv.empty()) return false;
    const std::string& program = argv.front();
    int status = -1;
    if (output == nullptr) {
        if (SpnSpawn(argv, &status, SpnWAIT, startFolder) != 1) return false;
    } else {
        const int limit = ToolTimeLimitMs();
        const SpnCaptureResult run = SpnRunCapture(argv, limit, startFolder);
        if (!run.started) return false;
        if (run.timedOut) {
            ImodelDisplayTOOL_STOPPED_MSG(program.c_str(), std::to_string(limit).c_str());
            return false;
        }
        std::string text = run.output;
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        *output = text;
        status = run.exitStatus;
    }
    if (status != 0) ImodelDisplayTOOL_EXIT_STATUS_MSG(program.c_str(), std::to_string(status).c_str());
    return status == 0;
}

bool ConsoleHost::IsFileOpenInEditor(const ImodelFileName& fullName)
{
    return std::any_of(m_openedFiles.begin(), m_openedFiles.end(),
                       [&](const std::string& name) { return ImodelFileName(name) == fullName; });
}

bool ConsoleHost::CloseFileInEditor(boost::shared_ptr<IfileObjectEx> file, int*, bool)
{
    if (file) {
        const ImodelFileName fullName = file->GetFullFileName();
        std::erase_if(m_openedFiles, [&](const std::string& name) { return ImodelFileName(name) == fullName; });
    }
    return true;
}

// Walks the project folder, entering only the folders the watcher watches
// or that lead to one, each real folder once (a link back up is not
// followed again), and hands every file with its stamp to the watcher. A
// file the operation under way has just looked at (an open, which read
// every member) keeps the status it was read with.
void ConsoleHost::ScanFiles(bool toBaseline, ItimerManager* watcher)
{
    Imodel& model = Imodel::GetInstance();
    if (!watcher || !Imodel::IsAlive(&model)) return;
    const std::string root = model.GetDesignManager()->GetProjectFolder().GetString();
    if (root.empty()) return;
    // Each folder's identity is taken as it is listed: one that links lead
    // to again is listed then, but walked only the first time.
    std::set<SysFileIdentity> entered;
    // Each folder with its name as the project stores it ("<project>/...").
    std::deque<std::pair<std::string, std::string>> folders{{root, ImodelProjectToken}};
    std::vector<SysFolderEntry> entries;
    const std::string* listed = nullptr;  // the folder being listed
    std::string seenPath;
    std::function<bool(std::string_view, SysStatInfo&)> seen;
    if (IfileSeenStatuses::Current())
        seen = [&listed, &seenPath](std::string_view name, SysStatInfo& info) {
            seenPath.assign(*listed).append(1, SysGetDirChar()).append(name);
            const SysStatInfo* found = IfileSeenStatuses::Find(seenPath);
            if (found) info = *found;
            return found != nullptr;
        };
    while (!folders.empty()) {
        const auto [folder, stored] = std::move(folders.front());
        folders.pop_front();
        listed = &folder;
        SysFileIdentity self;
        if (!SysListFolderStatus(folder, entries, seen, self) || !entered.insert(self).second) continue;
        for (const SysFolderEntry& entry : entries) {
            // A name the project cannot hold is no file of it: passed over
            // quietly, not refused again at every check.
            if (!IfileIsStorableName(entry.name)) continue;
            if (SysIsDirectory(entry.info)) {
                const std::string path = folder + SysGetDirChar() + entry.name;
                if (watcher->MatchFile(ImodelFileName(path)))
                    folders.emplace_back(path, stored + SysGetDirChar() + entry.name);
            } else if (SysIsRegularFile(entry.info)) {
                const IfileObject file(ImodelFileName(stored + SysGetDirChar() + entry.name), zorpaFT_UNKNOWN,
                                       ImodelFMInternal, true, true);
                watcher->AddFile(file, &entry.info, toBaseline);
            }
        }
    }
}

namespace {

constexpr int kDefaultWatchInterval = 2000;

// The shell's pace of file detection, in milliseconds.
int WatchInterval()
{
    int interval = kDefaultWatchInterval;
    if (DefGetIntFL("IDE_TIMER_INTERVAL", &interval) != 0 || interval <= 0) interval = kDefaultWatchInterval;
    return interval;
}

// One check of the project's folders. It runs from Tcl's event loop, so
// only between commands: at the prompt, or while a script waits.
void WatchTick(ClientData)
{
    Imodel& model = Imodel::GetInstance();
    if (Imodel::IsAlive(&model)) {
        try {
            ConsoleHost::CheckFiles();
        } catch (const std::exception& error) {
            // The shell goes on: the next tick checks again.
            MdbFlush();
            std::fprintf(stderr, "Warning: file detection failed: %s\n", error.what());
        }
        // What the check printed is out before the script goes on.
        MdbFlush();
    }
    Tcl_CreateTimerHandler(WatchInterval(), WatchTick, nullptr);
}

}  // namespace

void ConsoleHost::CheckFiles()
{
    Imodel& model = Imodel::GetInstance();
    if (IfileExtendedInfoManager* cache = model.GetExtendedInfoManager()) cache->ApplyPreReadResults(false);
    if (model.GetHost() != &GetInstance() || !model.GetDesignManager()->IsProjectOpen()) return;
    if (!ItimerManager::IsAutoFileDetectionEnabled() || !ItimerManager::GetDoFileDetection() ||
        ItimerManager::GetTimerBlockedByVeyrun())
        return;
    if (ItimerManager* watcher = model.GetTimerManager()) watcher->Rescan(nullptr);
}

void ConsoleHost::StartWatching()
{
    // Tcl's timers belong to a thread: one pace per thread that loads the shell.
    static thread_local bool started = false;
    if (started) return;
    started = true;
    Tcl_CreateTimerHandler(WatchInterval(), WatchTick, nullptr);
}

// Nobody is asked at a terminal: the parameter keeps its value.
bool ConsoleHost::ChooseParamValue(AcmdParam*, const std::string&) { return false; }

// --- conversion of projects written by older versions ---------------------------------------

// A terminal runs no steps of its own: the converters do the whole
// conversion, and the packages are theirs too.
void ConsoleHost::PrepareConversion(IcmdReadWriteProject*, std::vector<IThreadCommand*>&, bool& hostHandlesPackages)
{
    hostHandlesPackages = false;
}

// Runs the work on disk of every converter, in their order, before the
// project file is read: each gets its share of the open's meter by its
// timer ratio. The first converter that fails fails the conversion.
bool ConsoleHost::ConvertProject(std::vector<IThreadCommand*>&, std::vector<Iconvert*>& converters, bool)
{
    constexpr unsigned int kMeterEnd = 100;
    int total = 0;
    for (const Iconvert* converter : converters) total += std::max(converter->GetTimerRatio(), 0);
    unsigned int position = 0;
    int done = 0;
    for (Iconvert* converter : converters) {
        done += std::max(converter->GetTimerRatio(), 0);
        const unsigned int end = total > 0 ? static_cast<unsigned int>(kMeterEnd * done / total) : kMeterEnd;
        converter->SetTimerInfo(position, end, &ImodelUpdateCOMMAND_METER);
        if (!converter->PreOpenConvert()) return false;
        position = end;
    }
    return true;
}

// Asked only in zip mode while no script runs; a terminal always runs one.
// Should it be asked, the archive of the command is checked as a dialog
// would check it.
bool ConsoleHost::AskConvertProject(IcmdOpenProject* command) { return command && command->ValidateBackupOptions(); }

// Queued add-file commands come with the add-file work, which makes the
// first of them; none can reach this host before.
void ConsoleHost::QueueCommand(IcmdAddFileToModel*) {}

void ConsoleHost::ProjectClosedView::UpdateView(const IeventProjectClosed&)
{
    m_host.m_profiles.Clear();
    m_host.m_openedFiles.clear();
}
