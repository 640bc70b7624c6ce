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

void ifileManagerImpl::HandleDetectedChanges(bool takePending)
{
    Imodel& model = Imodel::GetInstance();
    // A snapshot: the updates below add and remove files of the manager.
    // Taking the recorded changes, a file without one has nothing to give:
    // its status is not read again, so it is not changed and its link
    // cannot break or come back. Only the files with a change are taken,
    // in the same order: past a look at each file's record, this step
    // costs what changed.
    const bool pendingOnly = takePending && !TakeChangesWalkingEveryFile();
    Entries snapshot;
    if (!pendingOnly) snapshot.reserve(m_files.Size());
    for (const auto& [name, element] : m_files.Elements())
        if (!pendingOnly || (element.entry && element.entry->IsChangePending())) snapshot.push_back(element.entry);

    EntryList workspaceFiles;
    EntryList changedCores;
    EntryList changedFiles;
    EntryList coreHdlFiles;
    EntryList restoredLinks;
    EntryList brokenCoreSources;
    const bool rightAway = model.ImportFilesRightAway();
    const bool workspaceWatches = ImodelNotifiesChangesToWS();
    const ItimerManager* watcher = model.GetTimerManager();

    for (const Entry& file : snapshot) {
        if (!file) continue;
        const bool wasBroken = file->IsBrokenLink();
        bool statRead = false;
        bool handled = false;
        bool changed = false;
        const auto readStatus = [&] {
            if (statRead) return;
            file->StoreStatInfoEx(changed, takePending);
            statRead = true;
        };
        if (workspaceWatches && ImodelNotifyChangeToWS(*file)) {
            readStatus();
            if (changed) workspaceFiles.Add(file);
        }
        switch (file->GetFileSpecificType()) {
        case zorpaFT_HDL:
            // Only the folder "hdl" itself is the project's: an HDL file
            // anywhere else is a core's (or a link).
            if (!file->IsInRelativeFolder("hdl")) {
                const bool brokenBefore = file->IsBrokenLink();
                readStatus();
                if (changed)
                    coreHdlFiles.Add(file);
                else if (brokenBefore && !file->IsBrokenLink())
                    restoredLinks.Add(file);
            }
            break;
        case zorpaFT_OMBRIX_CXF:
            if (!file->HasParentFile()) {
                readStatus();
                if (changed && ImodelTrackCXFChange(*file)) {
                    changedCores.Add(file);
                    changedFiles.Add(file);
                    ImodelDisplayUPDATED_CORE_FROM_DISK_MSG(file->GetFileTitleNoExt().c_str());
                }
            }
            handled = true;
            break;
        case zorpaFT_SIM:
            if (file->GetExt() == "mem" && file->HasParentFileOfType(zorpaFT_OMBRIX_CXF, true)) {
                readStatus();
                if (changed) CopyToSimulationFolder(*file);
            }
            break;
        default:
            break;
        }
        bool linkRead = false;
        if (!file->IsLocalFile()) {
            if (!statRead) {
                file->StoreStatInfoEx(changed, takePending);
                linkRead = true;
                if (changed) changedFiles.Add(file);
            }
            // A link that broke leaves the design once; its entry stays.
            if (file->IsBrokenLink() && !wasBroken && !changedCores.Holds(file)) {
                model.SendEvent(boost::make_shared<IeventFilePreRemove>(file), true);
                ImodelRemoveModulesOfFile(file, nullptr, false, true, false, nullptr, nullptr);
                model.SendEvent(boost::make_shared<IeventFilePostRemove>(file), true);
                // A core's source goes to the update, which reads its core
                // again as an open of the project would read it now: the
                // unit the core stands for is then the description's.
                if (file->IsASourceFile() && file->HasParentFileOfType(zorpaFT_OMBRIX_CXF, true))
                    brokenCoreSources.Add(file);
            }
            if (changed) {
                ImodelDisplayLINK_CHANGED_MSG(file->GetFullFileName().c_str());
                ImodelModule::RemoveDeletedModuleInfo(file);
            }
        }
        // Every other file of a watched type is looked at too: an edited
        // source is added again by the project update, once.
        const bool watched = rightAway && watcher && watcher->IsTypeWatched(file->GetFileSpecificType());
        if (watched && !handled && !linkRead) readStatus();
        if (statRead && changed && watched && !handled && !changedFiles.Holds(file) && !coreHdlFiles.Holds(file)) {
            SysDebugPrintf("Detected change in file %s\n", file->GetInternalFileName().c_str());
            changedFiles.Add(file);
        }
    }

    if (Ktwkspace::Workspace* workspace = model.GetCurrentWorkspace()) {
        ImodelCommandServices* commands = ImodelCommandServices::Get();
        for (const Entry& watched : workspaceFiles.Get()) {
            // The workspace makes a core's HDL files again itself.
            coreHdlFiles.RemoveIf([&watched](const Entry& hdl) {
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
    for (const Entry& hdl : coreHdlFiles.Get()) {
        SysDebugPrintf("Detected change in Component's HDL: %s\n", hdl->GetInternalFileName().c_str());
        changedFiles.Add(hdl);
    }
    for (const Entry& source : brokenCoreSources.Get()) changedFiles.Add(source);

    ImodelCommandServices* commands = ImodelCommandServices::Get();
    if (!commands) return;
    commands->UpdateProjectContent(changedCores.Get(), changedFiles.Get(), zorpaSaveRestoreParams{false, true, false});
    {
        const ImodelSetAndRestoreModelFlagObject reading(Imodel::GetIsReadingProject(), true);
        commands->UpdateProjectContent(Entries(), restoredLinks.Get(), zorpaSaveRestoreParams{true, true, false});
    }
    // A unit of a link that came back takes what was kept of it when the link
    // broke. Its parse restores it only where no unit used it: one that others
    // used came back in the place of the placeholder they kept, whose data
    // the update gave it back.
    for (const Entry& file : restoredLinks.Get()) ImodelModule::RestoreDeletedModuleInfoOfFile(file);
}
