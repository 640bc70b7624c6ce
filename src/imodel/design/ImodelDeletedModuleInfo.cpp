// The removed-unit list (the data kept for units whose file may come back)
// and the carrying of unit data over to replacement units, one set or one
// library at a time.
#include "imodel/design/ImodelDeletedModuleInfo.h"

#include "imodel/names/ImodelMessages.h"
#include "src/imodel/design/ImodelModuleNotify.h"
#include "src/imodel/design/imodelTempUnit.h"

#include <foundation/Sys.h>
#include <zorpa/ZorpaString.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <unordered_map>

namespace {

using ModuleList = ImodelModule::ModuleList;
using ModuleSet = ImodelModule::ModuleSet;

void DebugPrint(const char* format, const ImodelModule& module)
{
    if (ImodelIsDebugMsg()) SysDebugPrintf(format, module.GetComponentID().ToString().c_str());
}

// The list of clones of removed units, indexed by key so that keeping the
// data of every unit of a large design costs no walk per unit. The list is
// handed out by reference; the index follows it, and is rebuilt whenever it
// is found out of step with it. The order of the list carries no meaning:
// an entry leaves by taking the last one's place.
class RemovedModules {
public:
    RemovedModules() = default;
    RemovedModules(const RemovedModules&) = delete;
    RemovedModules& operator=(const RemovedModules&) = delete;
    // The clones go when the library unloads.
    ~RemovedModules() { ImodelModule::DeleteModules({m_list.begin(), m_list.end()}); }

    ModuleList& List() { return m_list; }

    ModuleList::iterator Find(const VyIfaces::ComponentID& key)
    {
        if (m_indexedSize != m_list.size()) Reindex();
        const std::string text = KeyText(key);
        auto found = m_index.find(text);
        if (found != m_index.end() && Holds(found->second, key))
            return m_list.begin() + static_cast<std::ptrdiff_t>(found->second);
        if (found == m_index.end()) return m_list.end();
        Reindex();
        found = m_index.find(text);
        if (found != m_index.end() && Holds(found->second, key))
            return m_list.begin() + static_cast<std::ptrdiff_t>(found->second);
        // Two keys of one text: only a walk tells them apart.
        return std::find_if(m_list.begin(), m_list.end(),
                            [&key](const ImodelModule* entry) { return entry && entry->GetComponentID() == key; });
    }

    // Puts the clone in place of the entry of its key (deleted), or appends it.
    void Put(ImodelModule* clone)
    {
        const auto found = Find(clone->GetComponentID());
        if (found != m_list.end()) {
            ImodelModule* previous = *found;
            *found = clone;
            ImodelModule::Delete(previous, false);
            return;
        }
        m_list.push_back(clone);
        m_index.emplace(KeyText(clone->GetComponentID()), m_list.size() - 1);
        m_indexedSize = m_list.size();
    }

    // Deletes the entry; the last entry takes its place.
    void Erase(ModuleList::iterator entry)
    {
        ImodelModule* gone = *entry;
        if (gone != nullptr) m_index.erase(KeyText(gone->GetComponentID()));
        const std::size_t place = static_cast<std::size_t>(entry - m_list.begin());
        if (place + 1 != m_list.size()) {
            *entry = m_list.back();
            if (*entry != nullptr) m_index[KeyText((*entry)->GetComponentID())] = place;
        }
        m_list.pop_back();
        m_indexedSize = m_list.size();
        ImodelModule::Delete(gone, false);
    }

private:
    // Unit names hold no NUL: the fields cannot run into each other.
    static std::string KeyText(const VyIfaces::ComponentID& key)
    {
        std::string text = key.name + '\0' + key.library + '\0' + key.package;
        ZorpaMakeLower(text);
        return text;
    }

    bool Holds(std::size_t place, const VyIfaces::ComponentID& key) const
    {
        return place < m_list.size() && m_list[place] != nullptr && m_list[place]->GetComponentID() == key;
    }

    void Reindex()
    {
        m_index.clear();
        for (std::size_t place = 0; place < m_list.size(); ++place) {
            if (m_list[place] != nullptr) m_index.emplace(KeyText(m_list[place]->GetComponentID()), place);
        }
        m_indexedSize = m_list.size();
    }

    ModuleList m_list;
    std::unordered_map<std::string, std::size_t> m_index;
    std::size_t m_indexedSize = 0;
};

RemovedModules& Removed()
{
    static RemovedModules removed;
    return removed;
}

// The first unit of `to` that `key` does not order before, when the key
// does not order before it either: the unit in the key's place.
ImodelModule* UnitInPlaceOf(ImodelModule* key, ModuleSet& to)
{
    const auto found = to.lower_bound(key);
    return found != to.end() && !to.key_comp()(key, *found) ? *found : nullptr;
}

}  // namespace

// --- the removed-unit list ---------------------------------------------------------------

ImodelModule::ModuleList& ImodelModule::GetRemovedModuleList() { return Removed().List(); }

ImodelModule::ModuleList::iterator ImodelModule::FindDeletedModuleInfo(const ImodelModule* module)
{
    ModuleList& list = Removed().List();
    return module == nullptr ? list.end() : Removed().Find(module->GetComponentID());
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
    const auto entry = FindDeletedModuleInfo(module);
    if (entry == Removed().List().end()) return;
    const boost::shared_ptr<IfileObjectEx> own = module->GetModuleFile();
    if (!file || !own || !(*own == *file)) {
        DebugPrint("Did not restore %s info, file is not the same", *module);
        return;
    }
    DebugPrint("Restoring %s info from deleted module info list\n", *module);
    const ImodelModule& kept = **entry;
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
    Removed().Erase(entry);
}

void ImodelModule::RemoveDeletedModuleInfo(boost::shared_ptr<IfileObjectEx> file)
{
    if (!file) return;
    ModuleList& list = Removed().List();
    // An erased entry takes the last one's place, which is looked at next.
    for (std::size_t place = 0; place < list.size();) {
        ImodelModule* entry = list[place];
        if (entry == nullptr || entry->GetModuleFile() != file) {
            ++place;
            continue;
        }
        DebugPrint("Removed %s info from deleted module info list\n", *entry);
        Removed().Erase(list.begin() + static_cast<std::ptrdiff_t>(place));
    }
}

// --- carrying data over to replacement units -------------------------------------------------

void ImodelDuplicateSubModuleInfo(boost::shared_ptr<ModuleSet> from, boost::shared_ptr<ModuleSet> to, bool byName,
                                  const zorpaSaveRestoreParams& params)
{
    if (!from || !to) return;
    for (ImodelModule* module : *from) {
        if (module == nullptr) continue;
        ImodelModule* target = nullptr;
        if (byName) {
            // Without a file, only the lower-cased name orders the key.
            const imodelTempUnit key(module->GetName(), nullptr, module->GetModuleType(), module->IsPackage(),
                                     module->GetDefinedInLibrary(), module->GetDefinedInPackage());
            target = UnitInPlaceOf(key.get(), *to);
        } else {
            target = UnitInPlaceOf(module, *to);
        }
        if (target != nullptr) target->DuplicateModuleInfo(module, params);
    }
}

void ImodelRestoreLibs(ImodelDesignManager& design, ImodelDesignManager::Libraries& saved, bool byName,
                       const zorpaSaveRestoreParams& params)
{
    // Paired by name: a library added or removed meanwhile shifts no pair.
    for (const ImodelDesignManager::LibraryPtr& library : saved) {
        if (!library) continue;
        if (const ImodelDesignManager::LibraryPtr current = design.FindLibraryByName(library->GetName()))
            ImodelDuplicateSubModuleInfo(library->GetModules(), current->GetModules(), byName, params);
    }
}

void ImodelRestoreLibs(ImodelDesignManager::Libraries& saved, bool byName, const zorpaSaveRestoreParams& params)
{
    if (ImodelDesignManager* design = ImodelAliveDesignManager()) ImodelRestoreLibs(*design, saved, byName, params);
}

void ImodelDuplicateSet(boost::shared_ptr<ModuleSet> from, boost::shared_ptr<ModuleSet> to)
{
    if (!from || !to) return;
    for (ImodelModule* module : *from) {
        std::unique_ptr<ImodelModule> clone(ImodelModule::Clone(module));
        if (clone && to->insert(clone.get()).second) clone.release();
    }
}

void ImodelDuplicateList(std::deque<ImodelModule*>* from, std::deque<ImodelModule*>* to)
{
    if (from == nullptr || to == nullptr) return;
    for (ImodelModule* module : *from) {
        if (module != nullptr) to->push_back(ImodelModule::Clone(module));
    }
}
