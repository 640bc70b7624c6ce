// The links between design units (sub-blocks and parents, kept symmetric),
// the change signal, and the unit's file lists.
#include "imodel/design/ImodelModule.h"

#include "ievent/IeventClasses.h"
#include "ifile/IfileManager.h"
#include "imodel/design/ImodelModuleTypes.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelVisitAhead.h"
#include "imodel/names/imodelUtl.h"
#include "src/imodel/design/ImodelModuleNotify.h"
#include "src/imodel/design/imodelUnitJournal.h"
#include "src/imodel/names/imodelUtlProject.h"

#include <deque>
#include <foundation/Sys.h>
#include <mutex>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>

// --- links -----------------------------------------------------------------------------

bool ImodelModule::ForgetParent(const ImodelModule* module) { return m_parents && m_parents->EraseFirst(module); }

bool ImodelModule::ForgetSubBlock(const ImodelModule* module)
{
    if (!m_subBlocks || m_subBlocks->EraseAll(module) == 0) return false;
    HierarchyChanged();
    return true;
}

void ImodelModule::Unlink(bool signal)
{
    // Taken first: a unit may be its own sub-block and parent.
    if (m_subBlocks || m_parents) HierarchyChanged();
    const std::unique_ptr<ImodelLinkList> subBlocks = std::move(m_subBlocks);
    const std::optional<ImodelLinkList> parents = std::exchange(m_parents, std::nullopt);
    if (subBlocks) {
        for (ImodelModule* sub : *subBlocks) {
            if (sub->ForgetParent(this) && signal) sub->NotifyChanged(true, false, false);
        }
    }
    if (parents) {
        for (ImodelModule* parent : *parents) {
            if (parent->ForgetSubBlock(this) && signal) parent->NotifyChanged(true, false, false);
        }
    }
}

void ImodelModule::UnlinkTogether(const std::vector<Owned>& units)
{
    if (units.size() == imodelLiveUnitCount()) {
        // Every unit goes (a closed project): each link leads to a unit that
        // goes too, and the lists are dropped without a look at whom they hold.
        // The units lie apart in memory: each is prefetched some places
        // ahead, and its lists once it is there, so that the misses overlap.
        bool linked = false;
        const auto ahead = [](const Owned* unit, int step) {
            if (step == 0) {
                ImodelPrefetch(static_cast<const ImodelUnitLinks*>(unit->get()), sizeof(ImodelUnitLinks));
                return;
            }
            if ((*unit)->m_subBlocks) ImodelPrefetch((*unit)->m_subBlocks.get());
        };
        ImodelVisitAhead(units, ahead, [&linked](const Owned* unit) {
            linked = linked || (*unit)->m_subBlocks || (*unit)->m_parents;
            (*unit)->m_subBlocks.reset();
            (*unit)->m_parents.reset();
        });
        if (linked) HierarchyChanged();
        return;
    }
    for (const Owned& unit : units) unit->m_goingTogether = true;
    for (const Owned& unit : units) {
        if (unit->m_subBlocks || unit->m_parents) HierarchyChanged();
        const std::unique_ptr<ImodelLinkList> subBlocks = std::move(unit->m_subBlocks);
        const std::optional<ImodelLinkList> parents = std::exchange(unit->m_parents, std::nullopt);
        if (subBlocks) {
            for (ImodelModule* sub : *subBlocks)
                if (!sub->m_goingTogether) sub->ForgetParent(unit.get());
        }
        if (parents) {
            for (ImodelModule* parent : *parents)
                if (!parent->m_goingTogether) parent->ForgetSubBlock(unit.get());
        }
    }
    for (const Owned& unit : units) unit->m_goingTogether = false;
}

void ImodelModule::LinkSubBlocks(const ModuleList& list)
{
    HierarchyChanged();
    if (!m_subBlocks) m_subBlocks = std::make_unique<ImodelLinkList>();
    for (ImodelModule* sub : list) {
        if (sub == nullptr) continue;
        m_subBlocks->PushBack(sub);
        sub->AddParent(this);
    }
}

void ImodelModule::LinkSubBlocks(const ImodelLinkList& list) { LinkSubBlocks(list.ToList()); }

void ImodelModule::AddParent(ImodelModule* parent)
{
    if (parent == nullptr) return;
    if (!m_parents) m_parents.emplace();
    if (m_parents->Contains(parent)) return;
    m_parents->PushBack(parent);
    NotifyChanged(true, false, false);
}

void ImodelModule::AddSubBlock(ImodelModule* sub, bool notify)
{
    if (sub == nullptr) return;
    // The sub-block is most often a unit met anywhere in a large design, cold:
    // what is read of it is prefetched first, so that it loads side by side.
    const bool package = sub->IsPackage();
    const bool hasParents = sub->m_parents.has_value();
    HierarchyChanged();
    if (!m_subBlocks) m_subBlocks = std::make_unique<ImodelLinkList>();
    // A unit stands in its sub-block's parent list exactly while it lists the
    // sub-block: the shorter of the two lists tells. The sub-block's is long
    // for a cell used everywhere; this unit's, which the caller is filling,
    // for a wide top, whose new sub-blocks have no parent yet.
    const bool listed = hasParents && (sub->m_parents->size() <= m_subBlocks->size() ? sub->m_parents->Contains(this)
                                                                                     : m_subBlocks->Contains(sub));
    if (!listed) {
        if (!hasParents) sub->m_parents.emplace();
        sub->m_parents->PushBack(this);
        sub->NotifyChanged(true, false, false);
    }
    if (package)
        m_subBlocks->PushFront(sub);
    else
        m_subBlocks->PushBack(sub);
    if (notify) NotifyChanged(true, false, false);
}

void ImodelModule::RemoveSubBlock(ImodelModule* sub, bool updateParent)
{
    if (sub == nullptr || !m_subBlocks) return;
    HierarchyChanged();
    if (m_subBlocks->EraseFirst(sub)) NotifyChanged(true, false, false);
    // A unit instantiated twice stays a parent while one instance remains.
    if (updateParent && !m_subBlocks->Contains(sub) && sub->ForgetParent(this)) sub->NotifyChanged(true, false, false);
}

void ImodelModule::DestroySubBlockList(bool notify)
{
    Unlink(true);
    if (notify) NotifyChanged(true, false, false);
}

void ImodelModule::SetSubBlocks(std::unique_ptr<ModuleList> list)
{
    DestroySubBlockList(true);
    if (list) LinkSubBlocks(*list);
}

void ImodelModule::DuplicateList(ImodelUnitListRef list)
{
    if (list.IsNull()) return;
    // A copy first: `list` may be this unit's own list, which goes below.
    const ModuleList subBlocks = list.With([](const auto* units) { return ModuleList(units->begin(), units->end()); });
    DestroySubBlockList(true);
    LinkSubBlocks(subBlocks);
}

void ImodelModule::GetAllRelatedModules(ModuleSet& set, int down, int up)
{
    // A positive depth counts levels; -1 never runs out. Depth-first, a
    // unit before its sub-blocks, then its parents, as the recursion would,
    // without its depth limit.
    const auto next = [](int depth) { return depth > 0 ? depth - 1 : depth; };
    struct Step {
        ImodelModule* module;
        int down;
        int up;
    };
    std::vector<Step> pending{{this, down, up}};
    // A unit met again stops at once, as the set found it the first time:
    // the ordered set is asked once per unit, not once per link to it.
    std::unordered_set<const ImodelModule*> met;
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        if (!met.insert(step.module).second || !set.insert(step.module).second) continue;
        const ImodelLinkList* parents = step.up != 0 ? step.module->GetParentsList() : nullptr;
        const ImodelLinkList* subBlocks = step.down != 0 ? step.module->GetSubBlocks() : nullptr;
        if (parents) {
            for (auto it = parents->rbegin(); it != parents->rend(); ++it) {
                if (*it != nullptr) pending.push_back({*it, 0, next(step.up)});
            }
        }
        if (subBlocks) {
            for (auto it = subBlocks->rbegin(); it != subBlocks->rend(); ++it) {
                if (*it != nullptr) pending.push_back({*it, next(step.down), 0});
            }
        }
    }
}

bool ImodelModule::HasParentNotInListRec(const FileEntries& keptFiles, const FileEntries& removedFiles) const
{
    const auto objects = [](const FileEntries& files) {
        FileObjects set;
        for (const boost::shared_ptr<IfileObjectEx>& file : files) set.insert(file.get());
        return set;
    };
    return HasParentNotInListRec(objects(keptFiles), objects(removedFiles));
}

bool ImodelModule::HasParentNotInListRec(const FileObjects& keptFiles, const FileObjects& removedFiles) const
{
    const auto holds = [](const FileObjects& files, const IfileObjectEx* file) { return files.contains(file); };
    // Parents defined by a removed file are looked through, each once.
    std::unordered_set<const ImodelModule*> seen{this};
    std::vector<const ImodelModule*> pending{this};
    while (!pending.empty()) {
        const ImodelModule* module = pending.back();
        pending.pop_back();
        const ImodelLinkList* parents = module->GetParentsList();
        if (parents == nullptr) continue;
        for (const ImodelModule* parent : *parents) {
            const boost::shared_ptr<IfileObjectEx> file = parent ? parent->GetModuleFile() : nullptr;
            if (!file) continue;
            if (holds(removedFiles, file.get())) {
                if (seen.insert(parent).second) pending.push_back(parent);
            } else if (!holds(keptFiles, file.get())) {
                if (ImodelIsDebugMsg())
                    SysDebugPrintf("%s still uses %s", parent->GetName().c_str(), module->GetName().c_str());
                return true;
            }
        }
    }
    return false;
}

// --- change signal ----------------------------------------------------------------------

void ImodelModule::NotifyChanged(bool self, bool parents, bool subBlocks)
{
    // Every link a scan adds tells both units; nothing is built while no one
    // would hear it.
    if (!ImodelMayBeHeard<IeventModuleModified>()) return;
    // The unit alone, as every link added tells it: built in place.
    if (!parents && !subBlocks) {
        ImodelNotifyEvent(self && CanBeDisplayedInAView()
                              ? boost::make_shared<IeventModuleModified>(this)
                              : boost::make_shared<IeventModuleModified>(std::vector<ImodelModule*>()));
        return;
    }
    std::vector<ImodelModule*> changed;
    if (self) changed.push_back(this);
    if (parents && m_parents) changed.insert(changed.end(), m_parents->begin(), m_parents->end());
    if (subBlocks && m_subBlocks) changed.insert(changed.end(), m_subBlocks->begin(), m_subBlocks->end());
    std::erase_if(changed, [](const ImodelModule* module) { return !module || !module->CanBeDisplayedInAView(); });
    ImodelNotifyEvent(boost::make_shared<IeventModuleModified>(std::move(changed)));
}

// --- file lists ---------------------------------------------------------------------------

namespace {

void AddUnique(ImodelModule::FileList& list, const IfileObject& file)
{
    if (std::find(list.begin(), list.end(), file) == list.end()) list.push_back(file);
}

}  // namespace

void ImodelModule::AddAssociatedFile(const IfileObjectEx& file)
{
    KeptDataMayChange();
    AddUnique(m_associatedFiles.Use(), file);
}

namespace {

// Units go on the reclaimer's thread too. Made once and never deleted: a
// unit may outlive the statics of this file at the process's end.
template <class List = std::deque<IfileObject>>
struct WatchedLists {
    std::mutex lock;
    std::unordered_set<const List*> lists;
};

WatchedLists<>& TheSynthesisLists()
{
    static WatchedLists<>* const lists = new WatchedLists<>;
    return *lists;
}

WatchedLists<>& TheAssociationLists()
{
    static WatchedLists<>* const lists = new WatchedLists<>;
    return *lists;
}

WatchedLists<ImodelCustomizedListWatch::Lists>& TheCustomizedLists()
{
    static auto* const lists = new WatchedLists<ImodelCustomizedListWatch::Lists>;
    return *lists;
}

template <class List>
void Watch(WatchedLists<List>& all, const List& list)
{
    const std::lock_guard<std::mutex> held(all.lock);
    all.lists.insert(&list);
}

template <class List>
void Unwatch(WatchedLists<List>& all, const List& list)
{
    const std::lock_guard<std::mutex> held(all.lock);
    all.lists.erase(&list);
}

std::string FileKey(const IfileObject& file, const std::string& projectFolder)
{
    return ImodelFileNameKey(file.GetInternalFileName().GetString(), projectFolder);
}

}  // namespace

void ImodelAssociationListWatch::Made(const std::deque<IfileObject>& list) { Watch(TheAssociationLists(), list); }

void ImodelAssociationListWatch::Gone(const std::deque<IfileObject>& list) { Unwatch(TheAssociationLists(), list); }

namespace {

// The file-name keys of the files that leave.
std::unordered_set<std::string> KeysOf(const std::vector<IfileObject>& files, const std::string& folder)
{
    std::unordered_set<std::string> keys;
    keys.reserve(files.size());
    for (const IfileObject& file : files) keys.insert(FileKey(file, folder));
    return keys;
}

}  // namespace

std::size_t ImodelAssociationListWatch::Forget(const std::vector<IfileObject>& files)
{
    if (files.empty()) return 0;
    const std::string folder = ImodelUtlProjectFolderText();
    const std::unordered_set<std::string> gone = KeysOf(files, folder);
    WatchedLists<>& all = TheAssociationLists();
    // Held throughout: a unit going on the reclaimer meanwhile waits to
    // give its lists up.
    const std::lock_guard<std::mutex> held(all.lock);
    std::size_t taken = 0;
    for (const std::deque<IfileObject>* list : all.lists) {
        // Each list is its holder's own, made as a changeable value: the
        // watch is told of it as a constant only.
        auto& files = const_cast<std::deque<IfileObject>&>(*list);
        taken += std::erase_if(files, [&](const IfileObject& file) { return gone.count(FileKey(file, folder)) != 0; });
    }
    return taken;
}

void ImodelSynthesisListWatch::Made(const std::deque<IfileObject>& list) { Watch(TheSynthesisLists(), list); }

void ImodelSynthesisListWatch::Gone(const std::deque<IfileObject>& list) { Unwatch(TheSynthesisLists(), list); }

void ImodelCustomizedListWatch::Made(const Lists& lists) { Watch(TheCustomizedLists(), lists); }

void ImodelCustomizedListWatch::Gone(const Lists& lists) { Unwatch(TheCustomizedLists(), lists); }

std::size_t ImodelCustomizedListWatch::Forget(const std::vector<IfileObject>& files)
{
    if (files.empty()) return 0;
    const std::string folder = ImodelUtlProjectFolderText();
    const std::unordered_set<std::string> gone = KeysOf(files, folder);
    auto& all = TheCustomizedLists();
    // Held throughout, as for the associated files.
    const std::lock_guard<std::mutex> held(all.lock);
    std::size_t taken = 0;
    for (const Lists* watched : all.lists) {
        for (ImodelModule::typeUserFileList& list : const_cast<Lists&>(*watched))
            taken += std::erase_if(list.GetFiles(), [&](const IfileObjectEx::ParentFile& entry) {
                return gone.count(FileKey(entry.first, folder)) != 0;
            });
    }
    return taken;
}

bool ImodelSynthesisListWatch::AnyNames(const IfileObject& file)
{
    WatchedLists<>& all = TheSynthesisLists();
    const std::lock_guard<std::mutex> held(all.lock);
    return std::any_of(all.lists.begin(), all.lists.end(), [&file](const std::deque<IfileObject>* list) {
        return std::find(list->begin(), list->end(), file) != list->end();
    });
}

void ImodelModule::AddSynthesisConstraintFile(const IfileObject& file)
{
    ListsMayChange();
    AddUnique(m_synthesisConstraintFiles.Use(), file);
}

namespace {

IfileManager* ProjectFiles()
{
    Imodel* model = ImodelAliveModel();
    return model ? model->GetFileManager() : nullptr;
}

}  // namespace

void ImodelModule::UpdateList(FileList* list)
{
    IfileManager* files = ProjectFiles();
    if (list == nullptr || files == nullptr) return;
    std::erase_if(*list, [files](const IfileObject& file) { return !files->ContainsFile(file); });
}

ImodelModule::FileList* ImodelModule::GetSimulationPackageToIgnoreList()
{
    ListsMayChange();
    UpdateList(&m_simulationPackagesToIgnore.Use());
    return &m_simulationPackagesToIgnore.Use();
}

ImodelModule::FileList* ImodelModule::GetSynthesisPackageToIgnoreList()
{
    ListsMayChange();
    UpdateList(&m_synthesisPackagesToIgnore.Use());
    return &m_synthesisPackagesToIgnore.Use();
}

bool ImodelModule::IsPackageUsed(ImodelFunctionType kind, const IfileObject& package)
{
    if (!ImodelAllowUserToOrganizePackages()) return true;
    // Both lists brought up to date; a list never made is empty.
    const auto updated = [this](ImodelLazyList<FileList>& list) -> const FileList& {
        // A question changes the unit's data only when a file left the project.
        const FileList& held = list.Get();
        IfileManager* files = held.empty() ? nullptr : ProjectFiles();
        if (files != nullptr && std::any_of(held.begin(), held.end(),
                                            [files](const IfileObject& file) { return !files->ContainsFile(file); })) {
            KeptDataMayChange();
            UpdateList(&list.Use());
        }
        return list.Get();
    };
    const FileList* simulation = &updated(m_simulationPackagesToIgnore);
    const FileList* synthesis = &updated(m_synthesisPackagesToIgnore);
    const auto lacks = [&package](const FileList* list) {
        return std::find(list->begin(), list->end(), package) == list->end();
    };
    switch (kind) {
    case ideSIMULATION:
        return lacks(simulation);
    case ideSYNTHESIS:
        return lacks(synthesis);
    default:
        return true;
    }
}

void ImodelModule::SetSynthesisConstraintFileList(const FileList& files)
{
    if (files == m_synthesisConstraintFiles.Get()) return;
    ListsMayChange();
    m_synthesisConstraintFiles = files;
    ImodelMarkNeedSave();
    if (QuorlaneStateMachine* flow = ImodelAliveStateMachine())
        flow->FunctionTypeMessage(QuorlaneToolChangedForModule, ideSYNTHESIS, this);
}

void ImodelModule::SetCDBOrder(const FileList& order, bool notify)
{
    const bool changed = order != m_cdbOrder.Get();
    if (!changed) return;
    ListsMayChange();
    m_cdbOrder = order;
    ImodelMarkNeedSave();
    if (!notify) return;
    if (QuorlaneStateMachine* flow = ImodelAliveStateMachine()) flow->CDBOrderChanged(this);
}

bool ImodelModule::SetNewStimulusList(const FileList& files, void*)
{
    ListsMayChange();
    m_stimulusFiles = files;
    ImodelMarkNeedSave();
    if (QuorlaneStateMachine* flow = ImodelAliveStateMachine()) flow->UpdateFileDependentStatesForModule(this);
    return true;
}

void ImodelModule::UpdateCDBListWithExpectedOrder(FileList& files) const
{
    std::sort(files.begin(), files.end(), imodelSortFiles(m_cdbOrder.Get()));
}

bool ImodelModule::updateModel(const IfileObjectEx& oldFile, boost::shared_ptr<IfileObjectEx> newFile, bool)
{
    if (!newFile) return true;
    ListsMayChange();
    // The entry was renamed in place: the unit it defines is filed again
    // under the new name, where the next parse of the file looks for it.
    if (GetModuleFile() == newFile) ChangeFile(newFile);
    const IfileObject replacement = *newFile;
    const auto replaceIn = [&oldFile, &replacement](auto& list) {
        const FileList& files = list.Get();
        if (std::find(files.begin(), files.end(), static_cast<const IfileObject&>(oldFile)) == files.end()) return;
        std::replace(list.Use().begin(), list.Use().end(), static_cast<const IfileObject&>(oldFile), replacement);
    };
    for (ImodelLazyList<FileList>* list :
         {&m_simulationPackagesToIgnore, &m_synthesisPackagesToIgnore, &m_stimulusFiles})
        replaceIn(*list);
    replaceIn(m_cdbOrder);
    replaceIn(m_synthesisConstraintFiles);
    // The physical-synthesis constraints too: a list left naming the old
    // file would save that name, which the next open no longer finds.
    const std::deque<IfileObject>& phySynth = std::as_const(*this).GetPhySynthOptions()->GetConstraintFileList();
    if (std::find(phySynth.begin(), phySynth.end(), static_cast<const IfileObject&>(oldFile)) != phySynth.end()) {
        std::deque<IfileObject> files = phySynth;
        std::replace(files.begin(), files.end(), static_cast<const IfileObject&>(oldFile), replacement);
        GetPhySynthOptions()->SetConstraintFileList(files, nullptr);
    }
    if (!m_customizedLists.empty())
        for (typeUserFileList& customized : m_customizedLists.Use()) {
            for (IfileObjectEx::ParentFile& entry : customized.GetFiles()) {
                if (entry.first == oldFile) entry = {replacement, boost::weak_ptr<IfileObjectEx>()};
            }
        }
    return true;
}
