// refresh: the libraries emptied and every file parsed again, the choices kept.
#include "icmd/files/IcmdRefresh.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/files/IcmdUpdateProjectContent.h"
#include "icmd/files/IcmdUseSourceFile.h"
#include "ievent/IeventModuleRegistry.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfileReadAhead.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleNotices.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessManager.h"
#include "iprocess/QuorlaneStateMachine.h"

#include <foundation/Sys.h>

#include <deque>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

using Entry = IfileManager::Entry;

}  // namespace

AcmdEnum::Result IcmdRefresh::execDo()
{
    Imodel& model = Imodel::GetInstance();
    ImodelDesignManager& design = *model.GetDesignManager();
    IfileManager& files = *model.GetFileManager();
    model.SaveLibraries();
    // The units the refresh made that took no states back (a name new to
    // its library, or one whose records went to another unit of the name).
    std::vector<ImodelModule*> fresh;
    const bool processWasBlocked = Imodel::BlockProcessDisplay(true, true);
    {
        const ImodelSetAndRestoreModelFlagObject reading(Imodel::GetIsReadingProject(), true);
        const ImodelSetAndRestoreModelFlagObject fromEmpty(Imodel::GetIsStartingFromEmptyHierarchy(), true);
        const ImodelSetAndRestoreModelFlagObject showReading(Imodel::GetDisplayReadingFileMessage(), true);

        const ImodelModule* root = design.GetRootModule();
        const Entry netlistRoot =
            root && root->GetModuleType() == zorpaMODULE_NETLIST ? root->GetModuleFile() : Entry();

        const std::vector<std::pair<std::string, IfileObject>> chosen = IcmdCollectUsedDefinitions(files);
        files.UpdateErrorFiles();
        std::vector<Entry> schematics;
        std::vector<Entry> sources;
        files.GetFilesOfGlobalType(zorpaFT_SCH, schematics, 0, nullptr);
        files.GetFilesOfGlobalType(zorpaFT_HDL, sources, 0, nullptr);

        // Each library comes back empty, with all of its settings, and with
        // room for as many units as it held.
        std::vector<std::pair<ImodelDesignManager::LibraryPtr, std::size_t>> libraries;
        std::size_t formerUnits = 0;
        const ImodelDesignManager::LibraryRange range = design.GetLibraries();
        for (auto library = range.first; library != range.second; ++library)
            if (*library) {
                const auto& units = (*library)->GetModules();
                libraries.emplace_back((*library)->CloneEmpty(), units ? units->size() : 0);
                formerUnits += libraries.back().second;
            }
        design.Reset();
        IeventModuleRegistry::Reserve(formerUnits);
        const bool hierarchyWasBlocked = Imodel::BlockDesignHierarchyDisplay(true, true);
        for (const auto& [library, units] : libraries) {
            // "work" comes back with the design: it takes the settings.
            const ImodelDesignManager::LibraryPtr added = design.AddLibrary(library, true);
            if (added && added != library) added->TakeSettingsOf(*library);
            if (added && added->GetModules()) added->GetModules()->Reserve(units);
        }
        // The cores read their own sources again: the loop below leaves
        // those out rather than reading them a second time.
        std::unordered_set<std::string> readByCores;
        {
            const IcmdAddFileToModel::AddedSince added;
            model.RefreshCoreTool(zorpaFT_OMBRIX_CXF);
            for (const IfileObject& file : added)
                readByCores.insert(ImodelFileNameKey(file.GetInternalFileName().GetString()));
        }
        // Without cores nothing is left out: no key is made for each source.
        if (!readByCores.empty())
            std::erase_if(sources, [&readByCores](const Entry& file) {
                return readByCores.contains(ImodelFileNameKey(file->GetInternalFileName().GetString()));
            });

        {
            // The files are looked at and the sources read ahead of their parse.
            const IfileReadAhead readAhead(IfileReadAhead::Files::Of(
                [&sources](const Entry& file, const std::vector<Entry>& group) {
                    return IfileReadAhead::Listed{file->GetFullFileName().GetString(),
                                                  &group == &sources &&
                                                      IfileReadAhead::ReadsText(file->GetModuleType())};
                },
                schematics, sources));
            // Each unit is told of once, after every file is read.
            const ImodelModuleNoticeBatch notices(formerUnits);
            // Each file's entry is prefetched a few files ahead of its add.
            constexpr std::size_t kAhead = 4;
            for (const std::vector<Entry>* group : {&schematics, &sources})
                for (std::size_t at = 0; at < group->size(); ++at) {
                    if (at + kAhead < group->size()) files.PrefetchEntryOf(*(*group)[at + kAhead]);
                    IcmdDoAddFileToModel(*(*group)[at], false, true, false, nullptr, nullptr, false, nullptr, true,
                                         false, nullptr);
                }
        }
        if (netlistRoot)
            if (IprocessFileObject* node =
                    model.GetProcessManager()->GetFileObject(netlistRoot->GetFileSpecificType(), nullptr))
                node->UpdateFile(netlistRoot, false);
        for (const auto& [module, file] : chosen) {
            // The chosen file is gone from disk: the name's other file
            // defines it now, and the user hears why the choice is not kept.
            const std::string name = file.GetFullFileName().GetString();
            if (!UtlDoesFileExist(name)) {
                ImodelDisplayFILE_NOT_FOUND_MSG(name.c_str());
                continue;
            }
            IcmdDoUseDefinition(false, file, module, false, false);
        }
        // A unit whose file is gone gives its data to the unit another file
        // makes of its name, as the project file would.
        model.RestoreLibraries(false, zorpaSaveRestoreParams{true, true, false}, {&fresh, true});
        Imodel::BlockDesignHierarchyDisplay(hierarchyWasBlocked, true);
        Imodel::BlockProcessDisplay(processWasBlocked, true);
    }
    // The files were parsed as a read of the project, so the flow did not
    // work out the file-dependent states of the units that took none back
    // (a unit now named as a netlist's unit has that netlist's synthesis
    // state): it works them out now, as an open does. The other units took
    // their states back; asking the flow of every unit would cost a refresh
    // of a large design a third again.
    if (QuorlaneStateMachine* flow = model.GetStateMachine())
        for (ImodelModule* unit : fresh) flow->UpdateFileDependentStatesForModule(unit);
    return AcmdEnum::Success;
}

void IcmdDoRefresh(bool keep) { IcmdDoCommand(std::make_unique<IcmdRefresh>(), keep); }
