#include "src/icmd/files/IcmdFilesQuietly.h"

#include "icmd/files/IcmdDeleteFilesFromModel.h"
#include "icmd/files/IcmdRefresh.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "itool/ItoolCoreTools.h"

#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>

#include <algorithm>
#include <deque>
#include <unordered_set>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

void RemoveOne(Imodel& model, const Entry& file)
{
    IcmdDoDeleteFileFromModel(file, true, true, false, nullptr);
    if (Ktwkspace::Workspace* workspace = model.GetCurrentWorkspace())
        workspace->FileRemoved(file->GetFullFileName().GetString(), false);
}

}  // namespace

void IcmdRemoveFilesQuietly(const std::vector<Entry>& files)
{
    Imodel& model = Imodel::GetInstance();
    const Imodel::BlockGUIObject drawing;
    std::deque<Entry> pending;
    for (const Entry& file : files) {
        if (!file) continue;
        if (!file->IsFileInProject()) {
            SysPrintf("File '%s' was not in the project.\n", file->GetFullFileName().c_str());
            continue;
        }
        pending.push_back(file);
    }
    if (pending.empty()) return;
    ImodelDesignManager& design = *model.GetDesignManager();
    design.SetNeedSave(true);
    const unsigned started = ImodelStartLongProcess("Removing Files");
    const bool hierarchyWasBlocked = Imodel::BlockDesignHierarchyDisplay(true, true);
    // The flow hears once of the HDL files, before any leaves the model.
    std::deque<IfileObject> sources;
    for (const Entry& file : pending)
        if (file->GetFileSpecificType() == zorpaFT_HDL) sources.push_back(*file);
    if (!sources.empty()) model.GetStateMachine()->FilesModificationMessage(QuorlaneFilesRemoved, sources);

    IfileManager& manager = *model.GetFileManager();
    std::unordered_set<const IfileObjectEx*> removed;
    while (!pending.empty()) {
        const Entry file = pending.front();
        pending.pop_front();
        if (removed.count(file.get()) != 0) continue;
        if (ItoolIsMainCoreFile(file.get()) && !model.IsWizardInstance()) {
            // The core's own files go with it; files it shares stay.
            std::vector<Entry> all;
            manager.GetFiles(all, 0, nullptr);
            const bool blocked = Imodel::BlockProcessDisplay(true, true);
            for (const Entry& own : all) {
                if (!own || *own == *file || !own->IsChildOfFile(*file, true) ||
                    own->IsCommonCoreFile(file->GetFileSpecificType()))
                    continue;
                removed.insert(own.get());
                RemoveOne(model, own);
            }
            Imodel::BlockProcessDisplay(blocked, true);
        }
        removed.insert(file.get());
        RemoveOne(model, file);
        if (file->GetFileSpecificType() == zorpaFT_SCH && file->GetExt() != "1") IcmdDoRefresh(false);
        if (file->GetFileSpecificType() == zorpaFT_TB_HDL)
            ImodelUpdateStimulusAssociation(*file, design.GetModuleTree());
    }
    Imodel::BlockDesignHierarchyDisplay(hierarchyWasBlocked, true);
    ImodelEndLongProcess(started);
}

std::vector<std::pair<std::string, IfileObject>> IcmdGetDefinitionsInUse()
{
    std::vector<std::pair<std::string, IfileObject>> chosen;
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
    const IfileManager::ErrorGroupRange groups = files.GetErrorFileGroups();
    for (auto group = groups.first; group != groups.second; ++group) {
        if (!group->second) continue;
        for (const IfileErrorFile& member : *group->second)
            if (const Entry file = member.file.lock(); file && file->GetErrorFileType() == ImodelNoError)
                chosen.emplace_back(group->first, *file);
    }
    return chosen;
}
