// The file manager's answer to the file watcher: which project files
// changed on disk, sorted into what is done with them.
#include "src/ifile/ifileManagerImpl.h"

#include "ievent/IeventClasses.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelCommandServices.h"
#include "imodel/model/ImodelFlowServices.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "itimer/ItimerManager.h"

#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>
#include <vy/IComponent.h>
#include <zorpa/ZorpaModule.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <unordered_set>

namespace {

using Entry = IfileManager::Entry;
using Entries = std::vector<Entry>;

// A list of entries that answers whether it holds one without a walk.
class EntryList {
public:
    void Add(const Entry& entry)
    {
        if (m_held.insert(entry.get()).second) m_entries.push_back(entry);
    }
    bool Holds(const Entry& entry) const { return m_held.count(entry.get()) != 0; }
    template <class Pick>
    void RemoveIf(const Pick& pick)
    {
        std::erase_if(m_entries, [&](const Entry& entry) {
            if (!pick(entry)) return false;
            m_held.erase(entry.get());
            return true;
        });
    }
    const Entries& Get() const { return m_entries; }

private:
    Entries m_entries;
    std::unordered_set<const IfileObjectEx*> m_held;
};

// A changed memory file of a core lies in the simulation folder for the
// simulator: a copy elsewhere is copied there.
void CopyToSimulationFolder(const IfileObjectEx& file)
{
    const IfileObject target(ImodelFileName(file.GetFileTitleAndExt()), zorpaFT_SIM, ImodelFMShort, false, true);
    if (target == file) return;
    const std::string from = file.GetFullFileName().GetString();
    const std::string to = target.GetFullFileName().GetString();
    if (SysCopy(from, to) != 0) {
        ImodelDisplayUNABLE_TO_COPY_MSG(from.c_str(), to.c_str());
        return;
    }
    SysDebugPrintf("Copied %s to Solvato simulation folder\n", file.GetFileTitleAndExt().c_str());
}

}  // namespace

bool& ifileManagerImpl::TakeChangesWalkingEveryFile()
{
    static bool everyFile = false;
    return everyFile;
}

// What the files changed on disk come to, gathered as each file is looked
// at and acted on once every file has been.
struct ifileManagerImpl::DetectedChanges {
    explicit DetectedChanges(bool takePending)
        : takePending(takePending), model(Imodel::GetInstance()), rightAway(model.ImportFilesRightAway()),
          workspaceWatches(ImodelNotifiesChangesToWS()), watcher(model.GetTimerManager())
    {
    }

    const bool takePending;
    Imodel& model;
    const bool rightAway;
    const bool workspaceWatches;
    const ItimerManager* const watcher;

    EntryList workspaceFiles;
    EntryList changedCores;
    EntryList changedFiles;
    EntryList coreHdlFiles;
    EntryList restoredLinks;
    EntryList brokenCoreSources;
};

// One file being looked at. Its status is read once, by the first kind of
// file it is that asks for it, and the kinds after see what it gave.
struct ifileManagerImpl::ChangedFile {
    ChangedFile(const Entry& file, bool takePending)
        : file(file), takePending(takePending), wasBroken(file->IsBrokenLink())
    {
    }
    void ReadStatus()
    {
        if (statRead) return;
        file->StoreStatInfoEx(changed, takePending);
        statRead = true;
    }

    const Entry& file;
    const bool takePending;
    const bool wasBroken;  // a broken link before its status was read
    bool statRead = false;
    bool changed = false;
    bool handled = false;   // a core description: not looked at again as a watched file
    bool linkRead = false;  // its status was read as a link's
};

void ifileManagerImpl::HandleDetectedChanges(bool takePending)
{
    DetectedChanges changes(takePending);
    for (const Entry& entry : ChangedFilesSnapshot(takePending)) {
        if (!entry) continue;
        ChangedFile file(entry, takePending);
        if (changes.workspaceWatches) DetectWorkspaceFileChange(file, changes);
        switch (entry->GetFileSpecificType()) {
        case zorpaFT_HDL:
            DetectCoreHdlChange(file, changes);
            break;
        case zorpaFT_OMBRIX_CXF:
            DetectCoreDescriptionChange(file, changes);
            break;
        case zorpaFT_SIM:
            DetectCoreMemoryFileChange(file, changes);
            break;
        default:
            break;
        }
        if (!entry->IsLocalFile()) DetectLinkChange(file, changes);
        DetectWatchedFileChange(file, changes);
    }
    NotifyWorkspaceOfChanges(changes);
    UpdateProjectWithChanges(changes);
}

std::vector<IfileManager::Entry> ifileManagerImpl::ChangedFilesSnapshot(bool takePending) const
{
    // A snapshot: the updates add and remove files of the manager. Taking
    // the recorded changes, a file without one has nothing to give: its
    // status is not read again, so it is not changed and its link cannot
    // break or come back. Only the files with a change are taken, in the
    // same order: past a look at each file's record, this step costs what
    // changed.
    const bool pendingOnly = takePending && !TakeChangesWalkingEveryFile();
    Entries snapshot;
    if (!pendingOnly) snapshot.reserve(m_files.Size());
    for (const auto& [name, element] : m_files.Elements())
        if (!pendingOnly || (element.entry && element.entry->IsChangePending())) snapshot.push_back(element.entry);
    return snapshot;
}

void ifileManagerImpl::DetectWorkspaceFileChange(ChangedFile& file, DetectedChanges& changes)
{
    if (!ImodelNotifyChangeToWS(*file.file)) return;
    file.ReadStatus();
    if (file.changed) changes.workspaceFiles.Add(file.file);
}

void ifileManagerImpl::DetectCoreHdlChange(ChangedFile& file, DetectedChanges& changes)
{
    // Only the folder "hdl" itself is the project's: an HDL file anywhere
    // else is a core's (or a link).
    if (file.file->IsInRelativeFolder("hdl")) return;
    const bool brokenBefore = file.file->IsBrokenLink();
    file.ReadStatus();
    if (file.changed)
        changes.coreHdlFiles.Add(file.file);
    else if (brokenBefore && !file.file->IsBrokenLink())
        changes.restoredLinks.Add(file.file);
}

void ifileManagerImpl::DetectCoreDescriptionChange(ChangedFile& file, DetectedChanges& changes)
{
    file.handled = true;
    if (file.file->HasParentFile()) return;
    file.ReadStatus();
    if (!file.changed || !ImodelTrackCXFChange(*file.file)) return;
    changes.changedCores.Add(file.file);
    changes.changedFiles.Add(file.file);
    ImodelDisplayUPDATED_CORE_FROM_DISK_MSG(file.file->GetFileTitleNoExt().c_str());
}

void ifileManagerImpl::DetectCoreMemoryFileChange(ChangedFile& file, DetectedChanges&)
{
    if (file.file->GetExt() != "mem" || !file.file->HasParentFileOfType(zorpaFT_OMBRIX_CXF, true)) return;
    file.ReadStatus();
    if (file.changed) CopyToSimulationFolder(*file.file);
}

void ifileManagerImpl::DetectLinkChange(ChangedFile& file, DetectedChanges& changes)
{
    const Entry& link = file.file;
    if (!file.statRead) {
        // Read as a link's: the change goes to the update here, and not
        // again as a watched file's.
        link->StoreStatInfoEx(file.changed, file.takePending);
        file.linkRead = true;
        if (file.changed) changes.changedFiles.Add(link);
    }
    // A link that broke leaves the design once; its entry stays.
    if (link->IsBrokenLink() && !file.wasBroken && !changes.changedCores.Holds(link)) {
        changes.model.SendEvent(boost::make_shared<IeventFilePreRemove>(link), true);
        ImodelRemoveModulesOfFile(link, nullptr, false, true, false, nullptr, nullptr);
        changes.model.SendEvent(boost::make_shared<IeventFilePostRemove>(link), true);
        // A core's source goes to the update, which reads its core again as
        // an open of the project would read it now: the unit the core
        // stands for is then the description's.
        if (link->IsASourceFile() && link->HasParentFileOfType(zorpaFT_OMBRIX_CXF, true))
            changes.brokenCoreSources.Add(link);
    }
    if (file.changed) {
        ImodelDisplayLINK_CHANGED_MSG(link->GetFullFileName().c_str());
        ImodelModule::RemoveDeletedModuleInfo(link);
    }
}

void ifileManagerImpl::DetectWatchedFileChange(ChangedFile& file, DetectedChanges& changes)
{
    // Every other file of a watched type is looked at too: an edited source
    // is added again by the project update, once.
    const bool watched =
        changes.rightAway && changes.watcher && changes.watcher->IsTypeWatched(file.file->GetFileSpecificType());
    if (!watched || file.handled) return;
    if (!file.linkRead) file.ReadStatus();
    if (file.statRead && file.changed && !changes.changedFiles.Holds(file.file) &&
        !changes.coreHdlFiles.Holds(file.file)) {
        SysDebugPrintf("Detected change in file %s\n", file.file->GetInternalFileName().c_str());
        changes.changedFiles.Add(file.file);
    }
}

void ifileManagerImpl::NotifyWorkspaceOfChanges(DetectedChanges& changes)
{
    Ktwkspace::Workspace* workspace = changes.model.GetCurrentWorkspace();
    if (!workspace) return;
    ImodelCommandServices* commands = ImodelCommandServices::Get();
    for (const Entry& watched : changes.workspaceFiles.Get()) {
        // The workspace makes a core's HDL files again itself.
        changes.coreHdlFiles.RemoveIf([&watched](const Entry& hdl) {
            if (!hdl->IsChildOfFile(*watched, true)) return false;
            SysDebugPrintf("Ignoring HDL file change: %s\n", hdl->GetInternalFileName().c_str());
            return true;
        });
        SysDebugPrintf("Notifying change to workspace for: %s\n", watched->GetInternalFileName().c_str());
        const std::string full = watched->GetFullFileName().GetString();
        workspace->FileChanged(full, watched->GetExt());
        if (commands)
            for (VyIfaces::IComponent* component : commands->GetConstraintsEditorComponents())
                if (component) component->FileChanged(full, false);
    }
}

void ifileManagerImpl::UpdateProjectWithChanges(DetectedChanges& changes)
{
    for (const Entry& hdl : changes.coreHdlFiles.Get()) {
        SysDebugPrintf("Detected change in Component's HDL: %s\n", hdl->GetInternalFileName().c_str());
        changes.changedFiles.Add(hdl);
    }
    for (const Entry& source : changes.brokenCoreSources.Get()) changes.changedFiles.Add(source);

    ImodelCommandServices* commands = ImodelCommandServices::Get();
    if (!commands) return;
    commands->UpdateProjectContent(changes.changedCores.Get(), changes.changedFiles.Get(),
                                   zorpaSaveRestoreParams{false, true, false});
    {
        const ImodelSetAndRestoreModelFlagObject reading(Imodel::GetIsReadingProject(), true);
        commands->UpdateProjectContent(Entries(), changes.restoredLinks.Get(),
                                       zorpaSaveRestoreParams{true, true, false});
    }
    // A unit of a link that came back takes what was kept of it when the link
    // broke. Its parse restores it only where no unit used it: one that others
    // used came back in the place of the placeholder they kept, whose data
    // the update gave it back.
    for (const Entry& file : changes.restoredLinks.Get()) ImodelModule::RestoreDeletedModuleInfoOfFile(file);
}
