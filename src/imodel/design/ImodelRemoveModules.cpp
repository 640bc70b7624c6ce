// Taking design units out of the design: the units of one file, every unit
// of a kind, test benches from the units' stimulus lists (file by file or
// a batch at once), and which files may leave along with others.
#include "imodel/design/ImodelRemoveModules.h"

#include "ievent/IeventClasses.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelUnitConstraintFiles.h"
#include "imodel/names/imodelUtl.h"
#include "src/imodel/design/ImodelModuleNotify.h"
#include "src/imodel/design/imodelRehome.h"
#include "src/imodel/design/imodelTempUnit.h"
#include "src/imodel/names/imodelUtlProject.h"

#include <foundation/Sys.h>
#include <zorpa/ZorpaFind.h>
#include <zorpa/ZorpaString.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

using LibraryPtr = ImodelDesignManager::LibraryPtr;
using ModuleList = ImodelModule::ModuleList;
using UnitSet = ImodelModule::UnitSet;
using Owned = ImodelModule::Owned;

// The identity the root id takes when the root goes.
const VyIfaces::ComponentID kNoRoot("", "", "");

bool IsDefinedBy(const ImodelModule* module, const IfileObject& file)
{
    const boost::shared_ptr<IfileObjectEx> own = module ? module->GetModuleFile() : nullptr;
    return own && *own == file;
}

// The units of the set that the file defines, in the set's order, found
// through the set's file index: under the key of the file's name as stored
// and, as a name with "<project>" and one without it may name one file,
// under the key of its other form in the project folder.
std::vector<ImodelModule*> UnitsDefinedBy(const UnitSet& units, const IfileObjectEx& file, const std::string& folder)
{
    const std::string& stored = file.GetInternalFileName().GetString();
    std::vector<std::string> keys{ImodelFileNameKey(stored, std::string())};
    if (!folder.empty()) {
        if (stored.rfind(ImodelProjectToken, 0) == 0) {
            keys.push_back(ImodelFileNameKey(stored, folder));
        } else {
            const std::string prefix = ImodelFileNameKey(folder, std::string());
            if (keys.front().compare(0, prefix.size(), prefix) == 0)
                keys.push_back(ImodelFileNameKey(ImodelProjectToken, std::string()) +
                               keys.front().substr(prefix.size()));
        }
    }
    std::vector<ImodelModule*> found;
    for (const std::string& key : keys) {
        const std::vector<ImodelModule*> bucket = units.UnitsOfFileKey(key);
        const auto middle = static_cast<std::ptrdiff_t>(found.size());
        found.insert(found.end(), bucket.begin(), bucket.end());
        std::inplace_merge(found.begin(), found.begin() + middle, found.end(), [](const auto* a, const auto* b) {
            return a->GetUnitOrder() < b->GetUnitOrder() ||
                   (a->GetUnitOrder() == b->GetUnitOrder() && a->GetUnitSerial() < b->GetUnitSerial());
        });
    }
    std::erase_if(found, [&file](const ImodelModule* unit) { return !IsDefinedBy(unit, file); });
    return found;
}

// `library` is the library's own name, not a file's spelling of it: a unit
// without file is saved under it, as a parse of the project makes it.
Owned MakeUnknownUnit(const std::string& name, const std::string& library)
{
    return std::make_unique<ImodelModule>(name, nullptr, zorpaMODULE_UNKNOWN, false, library, "", false);
}

// `unit` in the set; when a unit there keeps it out, that unit (and `unit`
// is dropped).
ImodelModule* InsertOrFindEqual(UnitSet& set, Owned unit) { return set.Insert(std::move(unit)).first; }

// Units listed once each, in the order first met.
class UnitList {
public:
    void Add(ImodelModule* unit)
    {
        if (m_seen.insert(unit).second) m_units.push_back(unit);
    }
    const std::vector<ImodelModule*>& Units() const { return m_units; }

private:
    std::vector<ImodelModule*> m_units;
    std::unordered_set<const ImodelModule*> m_seen;
};

// Finds, parent by parent, what takes the place of a unit that goes.
class ReplacementFinder {
public:
    ReplacementFinder(ImodelDesignManager& design, ImodelModule& module, const IfileObject& removedFile,
                      LibraryPtr ownLibrary)
        : m_design(design), m_module(module), m_ownLibrary(std::move(ownLibrary)),
          m_replacedFileStays(!IsDefinedBy(&module, removedFile)),
          m_placeholder(MakeUnknownUnit(module.GetName(), m_ownLibrary->GetName())),
          m_prototype("prototype", nullptr, zorpaMODULE_UNKNOWN, false, "work", "")
    {
    }

    ImodelModule* For(const ImodelModule& parent, ImodelModule::OwnedList& readd)
    {
        const auto [first, last] = m_design.GetLibraries();
        // Only a package that declares a unit of that name stands for it.
        if (ImodelModule* package = ZorpaFindUsedPackages<ImodelModule*>(
                first, last, &m_module, parent.GetPossibleLibraries(), true, m_prototype.get()))
            return package;
        const LibraryPtr library = m_design.FindLibraryByName(parent.GetDefinedInLibrary());
        if (!library) return nullptr;
        ImodelModule* found = ImodelFindModuleInLib(library, m_module.GetName(), m_module.GetModuleType(), "");
        if (found != nullptr && m_replacedFileStays) return found;
        if (library == m_ownLibrary) return Placeholder(readd);
        return InsertOrFindEqual(*library->GetModules(), MakeUnknownUnit(m_module.GetName(), library->GetName()));
    }

private:
    // The placeholder goes to `readd` once, for the caller to put into the
    // unit's library; one that nobody takes is deleted with the finder.
    ImodelModule* Placeholder(ImodelModule::OwnedList& readd)
    {
        if (m_queued == nullptr) {
            m_queued = m_placeholder.get();
            readd.push_back(std::move(m_placeholder));
        }
        return m_queued;
    }

    ImodelDesignManager& m_design;
    ImodelModule& m_module;
    LibraryPtr m_ownLibrary;
    bool m_replacedFileStays;
    Owned m_placeholder;
    ImodelModule* m_queued = nullptr;
    imodelTempUnit m_prototype;
};

// The sub-blocks of a unit that goes: one without file leaves it (and is an
// orphan once no unit uses it); below a package, the users of one with a
// file get a replacement.
void ReleaseSubBlocks(ImodelModule& module, const boost::shared_ptr<IfileObjectEx>& file, const LibraryPtr& library,
                      ImodelModule::OwnedList& readd, UnitList& orphans)
{
    if (module.GetSubBlocks() == nullptr) return;
    const ModuleList subBlocks = module.GetSubBlocks()->ToList();
    std::unordered_set<const ImodelModule*> done;
    for (ImodelModule* sub : subBlocks) {
        if (!done.insert(sub).second) continue;
        if (!sub->GetModuleFile()) {
            if (module.DetachSubBlock(sub) == 0) continue;
            sub->NotifyChanged(true, false, false);
            if (sub->GetParentsList() == nullptr || sub->GetParentsList()->empty()) orphans.Add(sub);
        } else if (module.IsPackage() && sub->GetParentsList() != nullptr) {
            ImodelRemoveModuleInOtherLib(sub, file, library, &readd);
        }
    }
}

void KeepUnlinkedCopy(const ImodelModule& module, UnitSet& kept)
{
    auto copy = std::make_unique<ImodelModule>(module);
    copy->DestroySubBlockList(false);
    kept.Insert(std::move(copy));
}

// --- the test benches of a batch ------------------------------------------------------

using FileKeys = std::unordered_set<std::string>;

// The test-bench files kept by the open batches, with their name keys.
struct StimulusBatch {
    int depth = 0;
    std::vector<IfileObject> files;
    FileKeys keys;
};

StimulusBatch& TheStimulusBatch()
{
    static StimulusBatch batch;
    return batch;
}

// Drops the entries named by `keys` from the unit's list, storing it back
// when any went.
void DropStimulus(ImodelModule& unit, const FileKeys& keys, const std::string& folder)
{
    const ImodelModule::FileList& list = unit.GetStimulusList();
    if (list.empty() || keys.empty()) return;
    const auto named = [&keys, &folder](const IfileObject& file) {
        return keys.contains(ImodelFileNameKey(file.GetInternalFileName().GetString(), folder));
    };
    if (std::none_of(list.begin(), list.end(), named)) return;
    ImodelModule::FileList files = list;
    std::erase_if(files, named);
    unit.SetNewStimulusList(files, nullptr);
}

// Depth first from the units of the list down their sub-blocks, each unit
// once (a design may use itself), as the walk of a single file.
template <class Visit>
void WalkDown(std::vector<ImodelModule*> pending, std::unordered_set<std::uint64_t>& seen, Visit&& visit)
{
    while (!pending.empty()) {
        ImodelModule* module = pending.back();
        pending.pop_back();
        if (module == nullptr || !seen.insert(module->GetUnitSerial()).second || !visit(*module)) continue;
        if (const ImodelLinkList* subBlocks = module->GetSubBlocks())
            pending.insert(pending.end(), subBlocks->rbegin(), subBlocks->rend());
    }
}

// A unit that leaves the design while a batch holds files drops those
// files first: they left the project while it stood, and whatever is kept
// of it is given back to a unit later.
void UnitLeavesDuringBatch(ImodelModule& unit)
{
    const StimulusBatch& batch = TheStimulusBatch();
    if (!batch.files.empty()) DropStimulus(unit, batch.keys, ImodelUtlProjectFolderText());
}

// Every unit of every library drops the entries named by `keys`; `seen`
// (by serial) are passed by.
void DropFromEveryUnit(const FileKeys& keys, const std::string& folder, const std::unordered_set<std::uint64_t>& seen)
{
    ImodelDesignManager* design = ImodelAliveDesignManager();
    if (design == nullptr) return;
    const auto [first, last] = design->GetLibraries();
    for (auto library = first; library != last; ++library)
        if (*library && (*library)->GetModules())
            for (ImodelModule* unit : *(*library)->GetModules())
                if (!seen.contains(unit->GetUnitSerial())) DropStimulus(*unit, keys, folder);
}

// Orphans still in the library, and still unused, go.
void DeleteOrphans(UnitSet& units, const UnitList& orphans)
{
    for (ImodelModule* orphan : orphans.Units()) {
        const bool used = orphan->GetParentsList() != nullptr && !orphan->GetParentsList()->empty();
        if (used || !units.contains(orphan)) continue;
        UnitLeavesDuringBatch(*orphan);
        ImodelConstraintFileBatch::UnitLeaves(*orphan);
        ImodelModule::Delete(units.Extract(orphan), false);
    }
}

// The placeholders enter the library, announced together. Where a unit of
// the library keeps one out, the placeholder's users take that unit.
void PutBack(UnitSet& units, ImodelModule::OwnedList& readd)
{
    std::vector<ImodelModule*> added;
    for (Owned& placeholder : readd) {
        const auto [standing, inserted] = units.Insert(std::move(placeholder));
        if (inserted) {
            added.push_back(standing);
            continue;
        }
        imodelRehome(placeholder.get(), standing);
        ImodelModule::Delete(std::move(placeholder), false);
    }
    readd.clear();
    if (!added.empty()) ImodelNotifyEvent(boost::make_shared<IeventModuleAdded>(added));
}

}  // namespace

void ImodelRemoveModulesOfFile(const boost::shared_ptr<IfileObjectEx>& file, boost::shared_ptr<UnitSet> kept,
                               bool updateNow, bool save, bool forget, std::vector<VyIfaces::IComponent*>* components,
                               std::deque<ImodelModule*>* packageUsers)
{
    ImodelDesignManager* design = ImodelAliveDesignManager();
    if (!file || design == nullptr) return;
    const LibraryPtr library = design->FindLibraryByName(file->GetLibraryName());
    if (!library || !library->GetModules()) return;
    UnitSet& units = *library->GetModules();
    // The root's key outlives the root, which may go below.
    std::optional<imodelTempUnit> rootKey;
    if (const ImodelModule* root = design->GetRootModule())
        rootKey.emplace(root->GetName(), root->GetModuleFile(), root->GetModuleType(), root->IsPackage(),
                        root->GetDefinedInLibrary(), root->GetDefinedInPackage());

    ImodelModule::OwnedList readd;
    UnitList orphans;
    // Placeholders that enter the set meanwhile have no file: the units to
    // remove are known before the first goes.
    for (ImodelModule* module : UnitsDefinedBy(units, *file, design->GetProjectFolder().GetString())) {
        if (!units.contains(module)) continue;
        UnitLeavesDuringBatch(*module);
        ImodelConstraintFileBatch::UnitLeaves(*module);
        if (rootKey && *module == *rootKey->get()) design->SetRootId(kNoRoot);
        ImodelNotifyWorkspaceWhenModulesAreRemoved(module, updateNow, components, packageUsers);
        Owned owned = units.Extract(module);
        ReleaseSubBlocks(*module, file, library, readd, orphans);
        ImodelRemoveModuleInOtherLib(module, file, library, &readd);
        if (kept) KeepUnlinkedCopy(*module, *kept);
        if (save) ImodelModule::SaveDeletedModuleInfo(module);
        ImodelModule::Delete(std::move(owned), false);
    }
    rootKey.reset();
    if (forget) ImodelModule::RemoveDeletedModuleInfo(file);
    DeleteOrphans(units, orphans);
    PutBack(units, readd);
}

void ImodelKeepCopiesOfUnitsOfFile(const boost::shared_ptr<IfileObjectEx>& file,
                                   const boost::shared_ptr<ImodelModule::UnitSet>& kept)
{
    ImodelDesignManager* design = ImodelAliveDesignManager();
    if (!file || !kept || design == nullptr) return;
    const LibraryPtr library = design->FindLibraryByName(file->GetLibraryName());
    if (!library || !library->GetModules()) return;
    for (const ImodelModule* module :
         UnitsDefinedBy(*library->GetModules(), *file, design->GetProjectFolder().GetString())) {
        auto copy = std::make_unique<ImodelModule>(*module);
        copy->DestroySubBlockList(false);
        // A copy starts without the user's lists: they go with the unit.
        copy->SetCustomizedFileLists(*module);
        kept->Insert(std::move(copy));
    }
}

std::vector<ImodelModule*> ImodelUnitsOfFile(const boost::shared_ptr<IfileObjectEx>& file)
{
    ImodelDesignManager* design = ImodelAliveDesignManager();
    if (!file || design == nullptr) return {};
    const LibraryPtr library = design->FindLibraryByName(file->GetLibraryName());
    if (!library || !library->GetModules()) return {};
    return UnitsDefinedBy(*library->GetModules(), *file, design->GetProjectFolder().GetString());
}

void ImodelRemoveModuleInOtherLib(ImodelModule* module, const boost::shared_ptr<IfileObjectEx>& file,
                                  LibraryPtr library, ImodelModule::OwnedList* readd)
{
    ImodelDesignManager* design = ImodelAliveDesignManager();
    if (module == nullptr || !file || !library || readd == nullptr || module->GetParentsList() == nullptr ||
        design == nullptr)
        return;
    const std::string libraryName = module->GetDefinedInLibrary();
    const LibraryPtr ownLibrary = libraryName.empty() ? LibraryPtr() : design->FindLibraryByName(libraryName);
    if (!ownLibrary) return;
    ReplacementFinder replacements(*design, *module, *file, ownLibrary);
    const ModuleList parents = module->GetParentsList()->ToList();
    for (ImodelModule* parent : parents) {
        if (IsDefinedBy(parent, *file)) continue;
        // Every instance goes: a parent left pointing at the unit would
        // dangle once it is deleted. What stands for it takes its places,
        // so that the parent's sub-blocks keep the order of its text, as an
        // open reads them; a package stands in front.
        ImodelModule* replacement = replacements.For(*parent, *readd);
        if (replacement != nullptr && !replacement->IsPackage()) {
            if (parent->ReplaceSubBlock(module, replacement) > 0) parent->NotifyChanged(true, false, false);
            continue;
        }
        const int instances = parent->DetachSubBlock(module);
        if (instances > 0) parent->NotifyChanged(true, false, false);
        if (replacement != nullptr) {
            for (int i = 0; i < instances; ++i) parent->AddSubBlock(replacement, true);
        }
    }
}

void ImodelNotifyWorkspaceWhenModulesAreRemoved(ImodelModule* module, bool updateNow,
                                                std::vector<VyIfaces::IComponent*>* components,
                                                std::deque<ImodelModule*>* packageUsers)
{
    if (module == nullptr) return;
    if (!module->IsPackage()) {
        VyIfaces::IComponent* component = module->GetComponent();
        if (component != nullptr && components != nullptr) {
            components->push_back(component);
            module->UnreferenceComponent();
        }
        return;
    }
    // The users of a package's components are handed to the caller when it
    // updates them itself. Told at once, the core workspace would take each
    // component's new package; the core workspace of this library keeps no
    // components, so there is none to move.
    if (updateNow || packageUsers == nullptr || !module->GetModuleFile() || module->GetSubBlocks() == nullptr) return;
    for (ImodelModule* sub : *module->GetSubBlocks()) {
        const VyIfaces::IComponent* component = sub ? sub->GetComponent() : nullptr;
        if (component != nullptr && ZorpaCompareNoCase(component->GetComponentID().package, module->GetName()) == 0)
            packageUsers->push_back(sub);
    }
}

void ImodelRemoveAllModulesOfAType(zorpaModuleTypes kind, LibraryPtr library)
{
    if (!library || !library->GetModules()) return;
    UnitSet& units = *library->GetModules();
    std::vector<ImodelModule*> doomed;
    std::copy_if(units.begin(), units.end(), std::back_inserter(doomed),
                 [kind](const ImodelModule* module) { return module->IsType(kind); });
    ImodelDesignManager* design = ImodelAliveDesignManager();
    const ImodelModule* root = design ? design->GetRootModule() : nullptr;
    if (root != nullptr && std::find(doomed.begin(), doomed.end(), root) != doomed.end()) design->SetRootId(kNoRoot);
    // The views see the units while they still exist.
    ImodelNotifyEvent(boost::make_shared<IeventModuleRemoved>(doomed));
    // Every unit leaves the set before the first goes.
    std::vector<Owned> gone;
    for (const ImodelModule* module : doomed) gone.push_back(units.Extract(module));
}

void ImodelRemoveAllModulesOfAType(zorpaModuleTypes kind)
{
    ImodelDesignManager* design = ImodelAliveDesignManager();
    if (design == nullptr) return;
    // A copy: the walk must not depend on the list it works under.
    const ImodelDesignManager::Libraries libraries(design->GetLibraries().first, design->GetLibraries().second);
    for (const LibraryPtr& library : libraries) ImodelRemoveAllModulesOfAType(kind, library);
}

void ImodelGetCommonFilesWeCanRemove(const ImodelModule::FileEntries& removed,
                                     const ImodelModule::FileEntries& candidates, ImodelModule::FileEntries& result)
{
    result = candidates;
    ImodelDesignManager* design = ImodelAliveDesignManager();
    if (design == nullptr) return;
    std::unordered_set<const IfileObjectEx*> candidateFiles;
    for (const boost::shared_ptr<IfileObjectEx>& file : candidates) candidateFiles.insert(file.get());
    // In unit order; a list rather than a set, so that units equal in that
    // order (one name in two libraries) are each asked.
    std::vector<ImodelModule*> modules;
    const auto [first, last] = design->GetLibraries();
    for (auto library = first; library != last; ++library) {
        if (!*library || !(*library)->GetModules()) continue;
        for (ImodelModule* module : *(*library)->GetModules()) {
            const boost::shared_ptr<IfileObjectEx> file = module ? module->GetModuleFile() : nullptr;
            if (file && candidateFiles.contains(file.get())) modules.push_back(module);
        }
    }
    std::stable_sort(modules.begin(), modules.end(), ZorpaSet<ImodelModule*>::lessThanTFtor());

    const bool debug = ImodelIsDebugMsg();
    ImodelModule::FileObjects removedFiles;
    for (const boost::shared_ptr<IfileObjectEx>& file : removed) removedFiles.insert(file.get());
    // The files still in the result (with how often), and how many entries
    // of each are to leave it: its first ones.
    std::unordered_map<const IfileObjectEx*, int> remaining;
    for (const boost::shared_ptr<IfileObjectEx>& file : candidates) ++remaining[file.get()];
    ImodelModule::FileObjects resultFiles = candidateFiles;
    std::unordered_map<const IfileObjectEx*, int> dropped;
    for (const ImodelModule* module : modules) {
        // Files kept so far count as staying for the units looked at next.
        if (!module->HasParentNotInListRec(removedFiles, resultFiles)) continue;
        if (debug) SysDebugPrintf("Module %s should not be removed", module->GetComponentID().ToString().c_str());
        const boost::shared_ptr<IfileObjectEx> file = module->GetModuleFile();
        const auto left = remaining.find(file.get());
        if (left == remaining.end() || left->second == 0) continue;
        if (debug) SysDebugPrintf("Keeping common file: %s", file->GetFullFileName().c_str());
        ++dropped[file.get()];
        if (--left->second == 0) resultFiles.erase(file.get());
    }
    std::erase_if(result, [&dropped](const boost::shared_ptr<IfileObjectEx>& file) {
        const auto drop = dropped.find(file.get());
        if (drop == dropped.end() || drop->second == 0) return false;
        --drop->second;
        return true;
    });
}

void ImodelUpdateStimulusAssociation(const IfileObject& stimulus, std::deque<ImodelModule*>* modules)
{
    ImodelUpdateStimulusAssociation(std::vector<IfileObject>{stimulus}, modules);
}

void ImodelUpdateStimulusAssociation(const std::vector<IfileObject>& stimuli, std::deque<ImodelModule*>* modules)
{
    if (modules == nullptr || stimuli.empty()) return;
    const std::string folder = ImodelUtlProjectFolderText();
    FileKeys keys;
    keys.reserve(stimuli.size());
    for (const IfileObject& file : stimuli)
        keys.insert(ImodelFileNameKey(file.GetInternalFileName().GetString(), folder));
    std::unordered_set<std::uint64_t> seen;
    WalkDown({modules->rbegin(), modules->rend()}, seen, [&](ImodelModule& module) {
        DropStimulus(module, keys, folder);
        return true;
    });
    DropFromEveryUnit(keys, folder, seen);
}

ImodelStimulusBatch::ImodelStimulusBatch() { ++TheStimulusBatch().depth; }

ImodelStimulusBatch::~ImodelStimulusBatch()
{
    StimulusBatch& batch = TheStimulusBatch();
    if (--batch.depth == 0) Settle();
}

bool ImodelStimulusBatch::Keep(const IfileObject& stimulus)
{
    StimulusBatch& batch = TheStimulusBatch();
    if (batch.depth == 0) return false;
    batch.files.push_back(stimulus);
    batch.keys.insert(ImodelFileNameKey(stimulus.GetInternalFileName().GetString(), ImodelUtlProjectFolderText()));
    return true;
}

void ImodelStimulusBatch::Settle()
{
    StimulusBatch& batch = TheStimulusBatch();
    if (batch.files.empty()) return;
    // Emptied once the walk is done, however it ends.
    struct Emptied {
        StimulusBatch& batch;
        ~Emptied()
        {
            batch.files.clear();
            batch.keys.clear();
        }
    } const emptied{batch};
    ImodelDesignManager* design = ImodelAliveDesignManager();
    std::deque<ImodelModule*>* tree = design ? design->GetModuleTree() : nullptr;
    const std::string folder = ImodelUtlProjectFolderText();
    std::unordered_set<std::uint64_t> seen;
    if (tree != nullptr)
        WalkDown({tree->rbegin(), tree->rend()}, seen, [&](ImodelModule& module) {
            DropStimulus(module, batch.keys, folder);
            return true;
        });
    DropFromEveryUnit(batch.keys, folder, seen);
}
