// Making the derived-file record of a flow file, and bringing in the unit
// of a netlist imported into a design that has none.
#include "ievent/IeventClasses.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/design/ImodelRoot.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/QuorlaneStateMachine.h"

#include <boost/make_shared.hpp>
#include <foundation/Def.h>
#include <foundation/Sys.h>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

// Announces the file again without records being made meanwhile.
void AnnounceWithoutRecords(const IfileObjectEx& file)
{
    IfileManager* files = Imodel::GetInstance().GetFileManager();
    if (!files) return;
    bool& enabled = IfilePredecessorUpdatesEnabled();
    const bool was = enabled;
    enabled = false;
    files->AnnounceFileChange(file);
    enabled = was;
}

// The regression scripts name files they never write.
bool SkipsMissingFile(const IfileObjectEx& file)
{
    if (!Imodel::IsRunningTests()) return false;
    int importMissing = 0;
    return DefGetBoolFL("QUORLANE_IMPORT_NON_EXISTING_FILES", &importMissing, __FILE__, __LINE__) == 0 &&
           importMissing != 0 && !UtlDoesFileExist(file.GetFullFileName()) && file.GetFileSpecificType() != zorpaFT_ADB;
}

std::unique_ptr<IfilePredecessorObject> MakeRecord(const Entry& file, const IprocessFileObject& node, bool flowFile)
{
    switch (file->GetFileSpecificType()) {
    case zorpaFT_SYN_EDN:
        return std::make_unique<IfilePredecessorObjectEdif>(file, node);
    case zorpaFT_ADB:
        return std::make_unique<IfilePredecessorObjectAdb>(file.get(), node);
    case zorpaFT_SYN_SDC:
        return std::make_unique<IfilePredecessorObjectSynplifySdc>(file.get(), node);
    case zorpaFT_PRO:
        return std::make_unique<IfilePredecessorObjectTorvixProject>(file.get(), node);
    default:
        return flowFile ? std::make_unique<IfilePredecessorObjectFlowFile>(file.get(), node) : nullptr;
    }
}

// Makes the unit a root as set_root does: the root id, the need-save flag,
// the flow's attached module and the views.
void MakeRoot(ImodelModule* unit)
{
    if (!ImodelCanBeRoot(unit)) return;
    Imodel& model = Imodel::GetInstance();
    ImodelDesignManager* design = model.GetDesignManager();
    if (design->GetRootId() != unit->GetComponentID()) {
        design->SetRootId(unit->GetComponentID());
        design->SetNeedSave(true);
    }
    model.GetStateMachine()->AttachModule(unit);
    model.SendEvent(boost::make_shared<IeventCurrentRootChanged>(), true);
}

// Whether every unit of the design is a netlist unit of the file, and
// those units.
bool HoldsOnlyUnitsOf(ImodelDesignManager& design, const IfileObjectEx& file, std::vector<ImodelModule*>& units)
{
    const auto [first, last] = design.GetLibraries();
    for (auto library = first; library != last; ++library) {
        if (!*library || !(*library)->GetModules()) continue;
        for (ImodelModule* unit : *(*library)->GetModules()) {
            const Entry defining = unit->GetModuleFile();
            if (unit->GetModuleType() != zorpaMODULE_NETLIST || !defining || !(*defining == file)) return false;
            units.push_back(unit);
        }
    }
    return true;
}

// A netlist read into a design without any unit brings in the unit of its
// top cell, in the cell's library, uses the netlist for it and, while the
// design has no root, makes it the root. The units that the netlist itself
// brought before do not count: read again with another top cell, the
// netlist's new unit takes their place, and the root with it.
void ImportMissingNetlistModule(const Entry& file)
{
    const IfilePredecessorObject* record = file->GetPredecessorObject();
    if (!record) return;
    const VyIfaces::ComponentID id = record->GetComponentID();
    if (id.name.empty()) return;
    Imodel& model = Imodel::GetInstance();
    ImodelDesignManager* design = model.GetDesignManager();
    if (!design) return;
    std::vector<ImodelModule*> former;
    if (!HoldsOnlyUnitsOf(*design, *file, former)) return;
    if (!former.empty()) {
        for (const ImodelModule* unit : former)
            if (unit->GetName() == id.name && ImodelIsSameStrNoCase(unit->GetDefinedInLibrary(), id.library)) return;
        // The root id is emptied when the root goes: the new unit becomes
        // the root below.
        ImodelRemoveModulesOfFile(file, nullptr, true, false, false, nullptr, nullptr);
        if (ImodelHasModule()) return;
    }
    ImodelDesignManager::LibraryPtr library = design->FindLibraryByName(id.library);
    if (!library) library = design->AddLibrary(id.library, true);
    if (!library) return;

    auto made = std::make_unique<ImodelModule>(id.name, file, zorpaMODULE_NETLIST, false, "work", "", false);
    made->SetDefinedInLibrary(id.library);
    file->SetLibraryName(id.library);
    // The library owns its units from here on.
    const auto [unit, inserted] = library->GetModules()->Insert(std::move(made));
    if (!inserted) return;
    model.SetHasNetlistModules(true);
    model.SendEvent(boost::make_shared<IeventModuleAdded>(unit), true);

    // The netlist is the file the flow uses for the unit, where users choose
    // flow files.
    ImodelContextImpl* context = unit->GetContext();
    if (ImodelUserCanSelectFlowFileToUse() && context && context->GetCurRevContext())
        context->GetCurRevContext()->UseFile(*file, true);
    if (design->GetRootId().name.empty()) MakeRoot(unit);
}

}  // namespace

bool IfileCreatePredecessorObject(boost::shared_ptr<IfileObjectEx> file, const IprocessFileObject& node, bool flowFile)
{
    if (node.HasConstantFileName() || !node.DoHandlePredecessor()) return false;
    if (!file || SkipsMissingFile(*file)) return false;
    const std::unique_ptr<IfilePredecessorObject> record = MakeRecord(file, node, flowFile);
    if (!record) return true;
    file->SetPredecessorObject(record.get());
    if (!flowFile) AnnounceWithoutRecords(*file);
    if (file->GetFileSpecificType() == zorpaFT_SYN_EDN) ImportMissingNetlistModule(file);
    return true;
}

bool IfileBringInNetlistUnitOf(const VyIfaces::ComponentID& cell)
{
    if (cell.name.empty()) return false;
    Imodel& model = Imodel::GetInstance();
    ImodelDesignManager* design = model.GetDesignManager();
    IfileManager* files = model.GetFileManager();
    if (!design || !files) return false;
    const auto [first, last] = design->GetLibraries();
    for (auto library = first; library != last; ++library) {
        if (!*library || !(*library)->GetModules()) continue;
        for (const ImodelModule* unit : *(*library)->GetModules())
            if (unit->GetModuleType() != zorpaMODULE_NETLIST) return false;
    }
    std::vector<Entry> netlists;
    files->GetFilesOfSpecificType(zorpaFT_SYN_EDN, netlists, 0, nullptr);
    for (const Entry& file : netlists) {
        const IfilePredecessorObject* record = file ? file->GetPredecessorObject() : nullptr;
        if (!record) continue;
        const VyIfaces::ComponentID id = record->GetComponentID();
        if (id.name != cell.name || !ImodelIsSameStrNoCase(id.library, cell.library)) continue;
        // The root goes with the units, and the netlist's unit becomes it.
        ImodelRemoveAllModulesOfAType(zorpaMODULE_NETLIST);
        if (ImodelHasModule()) return false;
        ImportMissingNetlistModule(file);
        return ImodelHasModule();
    }
    return false;
}
