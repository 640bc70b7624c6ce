// The removed-unit list (the data kept for units whose file may come back)
// and the carrying of unit data over to replacement units, one set or one
// library at a time.
#include "imodel/design/ImodelDeletedModuleInfo.h"
#include "imodel/design/ImodelFindModule.h"

#include "imodel/names/ImodelMessages.h"
#include "src/imodel/design/ImodelModuleNotify.h"
#include "src/imodel/design/imodelUnitJournal.h"

#include <foundation/Sys.h>
#include <zorpa/ZorpaString.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

using UnitSet = ImodelModule::UnitSet;
using Owned = ImodelModule::Owned;

void DebugPrint(const char* format, const ImodelModule& module)
{
    if (ImodelIsDebugMsg()) SysDebugPrintf(format, module.GetComponentID().ToString().c_str());
}

// The clones of removed units, indexed by key and by file, so that keeping
// and forgetting the data of every unit of a large design costs no walk
// per unit. The order of the list carries no meaning: an entry leaves by
// taking the last one's place.
class RemovedModules {
public:
    RemovedModules() = default;
    RemovedModules(const RemovedModules&) = delete;
    RemovedModules& operator=(const RemovedModules&) = delete;

    const ImodelModule::RemovedList& List() const { return m_list; }

    // The place of the entry of the key; none when there is none.
    std::optional<std::size_t> Find(const VyIfaces::ComponentID& key) const
    {
        const auto found = m_byKey.find(KeyText(key));
        if (found == m_byKey.end()) return std::nullopt;
        return found->second;
    }
    const ImodelModule& At(std::size_t place) const { return *m_list[place]; }

    // Puts the clone in place of the entry of its key (deleted), or appends it.
    void Put(Owned clone)
    {
        if (const std::optional<std::size_t> place = Find(clone->GetComponentID())) {
            Unindex(*place);
            Owned previous = std::exchange(m_list[*place], std::move(clone));
            Index(*place);
            ImodelModule::Delete(std::move(previous), false);
            return;
        }
        m_list.push_back(std::move(clone));
        Index(m_list.size() - 1);
    }

    // Deletes the entry; the last entry takes its place.
    void Erase(std::size_t place)
    {
        Unindex(place);
        Owned gone = std::move(m_list[place]);
        const std::size_t last = m_list.size() - 1;
        if (place != last) {
            Unindex(last);
            m_list[place] = std::move(m_list[last]);
            Index(place);
        }
        m_list.pop_back();
        m_fileOf.resize(m_list.size());
        ImodelModule::Delete(std::move(gone), false);
    }

    // The places of the entries whose unit the file object defines, lowest first.
    std::set<std::size_t> PlacesOfFile(const IfileObjectEx* file) const
    {
        std::set<std::size_t> places;
        const auto bucket = m_byFile.find(file);
        if (bucket != m_byFile.end()) places = bucket->second;
        return places;
    }

    void Clear()
    {
        // The entries go once the list no longer holds them.
        const RemovedList entries = std::move(m_list);
        m_list.clear();
        m_byKey.clear();
        m_fileOf.clear();
        m_byFile.clear();
    }

private:
    using RemovedList = ImodelModule::RemovedList;

    // ComponentID's equality folds ASCII letter case field by field; unit
    // names hold no NUL, so the fields cannot run into each other.
    static std::string KeyText(const VyIfaces::ComponentID& key)
    {
        std::string text = key.name + '\0' + key.library + '\0' + key.package;
        ZorpaMakeLower(text);
        return text;
    }
    // The file object the entry was made for; it stays the entry's as long
    // as the entry lives, whether the file lives on or not.
    static const IfileObjectEx* FileOf(const ImodelModule& entry) { return entry.GetModuleFile().get(); }

    void Index(std::size_t place)
    {
        const ImodelModule& entry = *m_list[place];
        m_byKey[KeyText(entry.GetComponentID())] = place;
        m_fileOf.resize(m_list.size());
        m_fileOf[place] = FileOf(entry);
        if (m_fileOf[place] != nullptr) m_byFile[m_fileOf[place]].insert(place);
    }
    void Unindex(std::size_t place)
    {
        m_byKey.erase(KeyText(m_list[place]->GetComponentID()));
        const IfileObjectEx* file = m_fileOf[place];
        const auto bucket = file ? m_byFile.find(file) : m_byFile.end();
        if (bucket == m_byFile.end()) return;
        bucket->second.erase(place);
        if (bucket->second.empty()) m_byFile.erase(bucket);
    }

    RemovedList m_list;
    std::unordered_map<std::string, std::size_t> m_byKey;
    // The file object of each entry when it entered, and the entries by it.
    std::vector<const IfileObjectEx*> m_fileOf;
    std::unordered_map<const IfileObjectEx*, std::set<std::size_t>> m_byFile;
};

RemovedModules& Removed()
{
    static RemovedModules removed;
    return removed;
}

}  // namespace

// The unit of `to` in the place of a unit of that order in the set order
// as the units' own operator< sees it: the first unit of the same name when
// either has no file, else the unit of the same name and file.
ImodelModule* imodelUnitInPlaceOf(const ZorpaUnitOrder& order, const UnitSet& to)
{
    return imodelUnitInPlaceOf(order, to.equal_range(ZorpaUnitName{order.name}));
}

ImodelModule* imodelUnitInPlaceOf(const ZorpaUnitOrder& order, UnitSet::Range named)
{
    const auto [first, last] = named;
    if (first == last) return nullptr;
    if (!order.hasFile || !(*first)->GetUnitOrder().hasFile) return *first;
    // The units of a name stand in their order: the first equal one.
    const auto same =
        std::find_if(first, last, [&order](const ImodelModule* unit) { return unit->GetUnitOrder() == order; });
    return same != last ? *same : nullptr;
}

// --- the removed-unit list ---------------------------------------------------------------

const ImodelModule::RemovedList& ImodelModule::GetRemovedModuleList() { return Removed().List(); }

const ImodelModule* ImodelModule::FindDeletedModuleInfo(const ImodelModule* module)
{
    if (module == nullptr) return nullptr;
    const std::optional<std::size_t> place = Removed().Find(module->GetComponentID());
    return place ? &Removed().At(*place) : nullptr;
}

void ImodelModule::SaveDeletedModuleInfo(ImodelModule* module)
{
    if (module == nullptr) return;
    module->SaveTimeStamp();
    Removed().Put(Clone(module));
    DebugPrint("Saved %s info in deleted module info list\n", *module);
}

void ImodelModule::RestoreDeletedModuleInfo(ImodelModule* module, boost::shared_ptr<IfileObjectEx> file)
{
    if (module == nullptr) return;
    const std::optional<std::size_t> place = Removed().Find(module->GetComponentID());
    if (!place) return;
    const boost::shared_ptr<IfileObjectEx> own = module->GetModuleFile();
    if (!file || !own || !(*own == *file)) {
        DebugPrint("Did not restore %s info, file is not the same", *module);
        return;
    }
    DebugPrint("Restoring %s info from deleted module info list\n", *module);
    const ImodelModule& kept = Removed().At(*place);
    const bool unchanged = kept.IsSameFileStamps(*file);
    const std::string title = file->GetFileTitleAndExt();
    const std::string key = module->GetComponentID().ToString();
    if (unchanged)
        ImodelDisplayRESTORING_MODULE_STATE_MSG(title.c_str(), key.c_str());
    else
        ImodelDisplayRESTORING_MODULE_INFO_MSG(title.c_str(), key.c_str());
    module->DuplicateModuleInfo(&kept, {true, true, false});
    if (!unchanged) {
        // What was derived from the file while it was away is out of date.
        if (QuorlaneStateMachine* flow = ImodelAliveStateMachine())
            flow->FilesModificationMessage(QuorlaneFilesChanged, {*file});
        if (FileList* notified = GetNotifiedFileChangeList()) notified->push_back(*file);
    }
    Removed().Erase(*place);
}

bool ImodelModule::TakeDeletedModuleInfo(ImodelModule* module)
{
    if (module == nullptr) return false;
    const std::optional<std::size_t> place = Removed().Find(module->GetComponentID());
    if (!place) return false;
    DebugPrint("Taking %s info from deleted module info list\n", *module);
    module->DuplicateModuleInfo(&Removed().At(*place), {false, true, false});
    Removed().Erase(*place);
    return true;
}

void ImodelModule::RestoreDeletedModuleInfoOfFile(const boost::shared_ptr<IfileObjectEx>& file)
{
    if (!file) return;
    // The keys first: each restore uses its entry up, which reorders the list.
    const RemovedModules& removed = Removed();
    std::vector<VyIfaces::ComponentID> keys;
    for (const std::size_t place : removed.PlacesOfFile(file.get()))
        if (removed.At(place).GetModuleFile() == file) keys.push_back(removed.At(place).GetComponentID());
    for (const VyIfaces::ComponentID& key : keys)
        if (ImodelModule* unit = ImodelFindModule(key)) RestoreDeletedModuleInfo(unit, file);
}

void ImodelModule::RemoveDeletedModuleInfo(boost::shared_ptr<IfileObjectEx> file)
{
    if (!file) return;
    RemovedModules& removed = Removed();
    // In the order of a walk from the front in which an erased entry takes
    // the last one's place, which is looked at next.
    std::set<std::size_t> places = removed.PlacesOfFile(file.get());
    std::erase_if(places, [&](std::size_t place) { return removed.At(place).GetModuleFile() != file; });
    while (!places.empty()) {
        const std::size_t place = *places.begin();
        places.erase(places.begin());
        DebugPrint("Removed %s info from deleted module info list\n", removed.At(place));
        const std::size_t last = removed.List().size() - 1;
        if (place != last && places.erase(last) > 0) places.insert(place);
        removed.Erase(place);
    }
}

void ImodelModule::ClearRemovedModuleList() { Removed().Clear(); }

// --- carrying data over to replacement units -------------------------------------------------

void ImodelDuplicateSubModuleInfo(boost::shared_ptr<UnitSet> from, boost::shared_ptr<UnitSet> to, bool byName,
                                  const zorpaSaveRestoreParams& params, bool goneByName)
{
    if (!from || !to) return;
    // The units of a name stand together, in their order.
    for (auto at = from->begin(); at != from->end();) {
        const std::string& name = (*at)->GetUnitOrder().name;
        const UnitSet::Range named = to->equal_range(ZorpaUnitName{name});
        const ImodelModule* homeless = nullptr;
        bool firstTaken = false;
        for (; at != from->end() && (*at)->GetUnitOrder().name == name; ++at) {
            ZorpaUnitOrder order = (*at)->GetUnitOrder();
            // Without a file, only the lower-cased name places the key.
            if (byName) order = ZorpaUnitOrder{order.name, false, std::string()};
            if (ImodelModule* target = imodelUnitInPlaceOf(order, named)) {
                target->DuplicateModuleInfo(*at, params);
                firstTaken = firstTaken || target == *named.first;
            } else if (homeless == nullptr) {
                homeless = *at;
            }
        }
        // Asked for: the unit's file is gone and another file defines the
        // name now, the data goes with the name, as the project file keeps
        // it (a unit that took data of its own keeps it).
        if (goneByName && homeless != nullptr && named.first != named.second && !firstTaken)
            (*named.first)->DuplicateModuleInfo(homeless, params);
    }
}

void ImodelRestoreLibs(ImodelDesignManager& design, ImodelDesignManager::Libraries& saved, bool byName,
                       const zorpaSaveRestoreParams& params, bool goneByName)
{
    // Paired by name: a library added or removed meanwhile shifts no pair.
    for (const ImodelDesignManager::LibraryPtr& library : saved) {
        if (!library) continue;
        if (const ImodelDesignManager::LibraryPtr current = design.FindLibraryByName(library->GetName()))
            ImodelDuplicateSubModuleInfo(library->GetModules(), current->GetModules(), byName, params, goneByName);
    }
}

void ImodelRestoreLibs(ImodelDesignManager::Libraries& saved, bool byName, const zorpaSaveRestoreParams& params)
{
    if (ImodelDesignManager* design = ImodelAliveDesignManager()) ImodelRestoreLibs(*design, saved, byName, params);
}

void ImodelDuplicateSet(boost::shared_ptr<UnitSet> from, boost::shared_ptr<UnitSet> to)
{
    if (!from || !to) return;
    for (ImodelModule* module : *from) to->Insert(ImodelModule::Clone(module));
}

void ImodelDuplicateList(const std::deque<ImodelModule*>* from, ImodelModule::OwnedList* to)
{
    if (from == nullptr || to == nullptr) return;
    for (ImodelModule* module : *from) {
        if (module != nullptr) to->push_back(ImodelModule::Clone(module));
    }
}
