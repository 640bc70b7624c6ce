#include "icmd/files/IcmdUpdateProjectContent.h"

#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/files/IcmdRemoveFilesFromProject.h"
#include "icmd/files/IcmdUseSourceFile.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"

#include <foundation/Sys.h>
#include <zorpa/ZorpaModule.h>

std::vector<std::pair<std::string, IfileObject>> IcmdCollectUsedDefinitions(IfileManager& files)
{
    std::vector<std::pair<std::string, IfileObject>> chosen;
    const IfileManager::ErrorGroupRange groups = files.GetErrorFileGroups();
    for (auto group = groups.first; group != groups.second; ++group) {
        if (!group->second) continue;
        for (const IfileErrorFile& member : *group->second)
            if (const IfileManager::Entry file = member.file.lock(); file && file->GetErrorFileType() == ImodelNoError)
                chosen.emplace_back(group->first, *file);
    }
    return chosen;
}

void IcmdUpdateProjectContent(const std::vector<boost::shared_ptr<IfileObjectEx>>& removed,
                              const std::vector<boost::shared_ptr<IfileObjectEx>>& added,
                              const zorpaSaveRestoreParams& params)
{
    if (removed.empty() && added.empty()) return;
    Imodel& model = Imodel::GetInstance();
    model.SaveLibraries();
    std::vector<std::pair<std::string, IfileObject>> chosen;
    if (!removed.empty()) {
        chosen = IcmdCollectUsedDefinitions(*model.GetFileManager());
        IcmdDoRemoveFiles(false, removed, false, false, false);
    }
    for (const boost::shared_ptr<IfileObjectEx>& file : added) {
        if (!file) continue;
        if (model.IsDebugMsg()) SysDebugPrintf("TIMER: Found new file %s\n", file->GetFileTitleAndExt().c_str());
        IcmdDoAddFileToModel(*file, true, true, false, nullptr, nullptr, true, nullptr, true, false, nullptr);
    }
    for (const auto& [module, file] : chosen) IcmdDoUseDefinition(false, file, module, false, false);
    model.RestoreLibraries(true, params);
}
