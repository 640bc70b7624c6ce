#include "imodel/views/ImodelContextImpl.h"

#include "ifile/IfileFunctions.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "iprocess/IprocessFlowObject.h"
#include "src/imodel/design/imodelRetire.h"
#include "src/imodel/views/imodelContextNotify.h"
#include "src/imodel/views/imodelLayoutListFollows.h"

#include <foundation/Sys.h>

#include <algorithm>
#include <atomic>

namespace {

// Only the post-layout state differs from view to view: it is reached by
// place and route, which runs per view.
bool IsStateOfOneView(imodelSolvatoState state) { return state == Post_Layout; }

void TraceNewDesignState(const std::string& module, imodelSolvatoState state)
{
    std::string keyword;
    ImodelWriteSolvatoString(state, keyword);
    SysDebugPrintf("Process Engine: New State Of Solvato for %s : %s\n", module.c_str(), keyword.c_str());
}

// The contexts that have not made their revisions yet: those whose unit
// may have a file of its own, and those whose unit had none when last
// looked at (a unit is given its file through ImodelModule::ChangeFile).
// Each context knows its place in its list (order within a list means
// nothing). A context leaving a list leaves a hole, so that no other
// context is touched: a closed project takes its units out one by one.
struct PendingRegistry {
    struct List {
        std::vector<const ImodelContextImpl*> places;  // null: a hole
        std::size_t live = 0;
    };
    List unchecked;
    List withoutFile;
};

// Contexts of units retired together may be deleted on the reclaimer's thread.
std::atomic<std::size_t>& LiveContexts()
{
    static std::atomic<std::size_t> live{0};
    return live;
}

// Those of them made for a unit (the unit owns it; a context never changes unit).
std::atomic<std::size_t>& LiveContextsOfUnits()
{
    static std::atomic<std::size_t> live{0};
    return live;
}

PendingRegistry& PendingContexts()
{
    // Never destroyed: the process-wide model's contexts may outlive any
    // static destroyed before it at exit.
    static PendingRegistry* const contexts = new PendingRegistry;
    return *contexts;
}

}  // namespace

ImodelContextImpl::ImodelContextImpl(const std::string& name, ImodelModule* module) : m_name(name), m_module(module)
{
    ++LiveContexts();
    if (m_module != nullptr) ++LiveContextsOfUnits();
    // One context per view of the project, the manager's current one current:
    // a project file names its views before its units, and every view's
    // saved state must find its context when the units are read.
    const ImodelRevisionManager* views = Imodel::GetInstance().GetRevisionManager();
    if (!views) return;
    m_pendingViews = views->GetSharedRevisionNames();
    m_pendingCurrent = views->GetCurrentIndex();
    if (Pending()) Enlist(this, PendingList::Unchecked);
    if (PlainRevisions()) Revisions();
}

bool& ImodelContextImpl::PlainRevisions()
{
    static bool plain = false;
    return plain;
}

ImodelContextImpl::ImodelContextImpl(const ImodelContextImpl& other, ImodelModule* module, bool all)
    : m_name(other.m_name), m_module(module)
{
    ++LiveContexts();
    if (m_module != nullptr) ++LiveContextsOfUnits();
    // A copy of fresh revisions is fresh: the copy waits as well.
    if (other.Pending()) {
        m_pendingViews = other.m_pendingViews;
        m_pendingCurrent = other.m_pendingCurrent;
        Enlist(this, PendingList::Unchecked);
        if (other.m_pendingSample) {
            m_pendingSample = std::make_unique<ImodelRevContextImpl>(*other.m_pendingSample, module, all);
            m_pendingSample->StandForViewsToCome();
        }
        return;
    }
    for (const auto& revision : other.m_revisions) {
        m_revisions.push_back(std::make_unique<ImodelRevContextImpl>(*revision, module, all));
        if (other.IsCurRevContext(revision.get())) m_current = m_revisions.back().get();
    }
}

ImodelContextImpl::Revisions_& ImodelContextImpl::Revisions() const
{
    if (!m_pendingViews) return m_revisions;
    // The manager's names are unique, storable (it takes no other) and none
    // is current yet: each view a fresh revision, in the manager's order, as
    // AddRevision would append it, without looking for it first.
    const std::shared_ptr<const std::vector<std::string>> views = std::move(m_pendingViews);
    m_pendingViews.reset();
    Enlist(this, PendingList::None);
    const std::unique_ptr<ImodelRevContextImpl> sample = std::move(m_pendingSample);
    m_revisions.reserve(views->size());
    for (const std::string& view : *views) {
        m_revisions.push_back(std::make_unique<ImodelRevContextImpl>(view, m_module));
        if (sample) m_revisions.back()->DuplicateContextInfo(sample.get(), true);
    }
    if (m_pendingCurrent > 0 && m_pendingCurrent <= static_cast<int>(m_revisions.size()))
        m_current = m_revisions[static_cast<std::size_t>(m_pendingCurrent - 1)].get();
    return m_revisions;
}

ImodelRevContextImpl* ImodelContextImpl::PendingSample()
{
    if (!Pending()) return nullptr;
    if (!m_pendingSample) {
        m_pendingSample = std::make_unique<ImodelRevContextImpl>(std::string(), m_module);
        m_pendingSample->StandForViewsToCome();
    }
    return m_pendingSample.get();
}

ImodelRevContextImpl*& ImodelContextImpl::Current() const
{
    Revisions();
    return m_current;
}

ImodelContextImpl::~ImodelContextImpl()
{
    // A retired unit's context left the lists with the others, or the
    // lists went as a whole (EmptyWaitingListsIfOnly).
    if (!imodelDeletingRetired()) Enlist(this, PendingList::None);
    --LiveContexts();
    if (m_module != nullptr) --LiveContextsOfUnits();
}

bool ImodelContextImpl::CopiedWholeIsAlike(const std::string& name) const
{
    // A fresh context waits for the manager's views as they stand, and a
    // copy into a waiting one of the same views takes the sample alone.
    if (!Pending() || PlainRevisions() || name != m_name) return false;
    const ImodelRevisionManager* views = Imodel::GetInstance().GetRevisionManager();
    return views && views->GetSharedRevisionNames() == m_pendingViews && views->GetCurrentIndex() == m_pendingCurrent;
}

void ImodelContextImpl::LeaveUnit()
{
    if (m_module == nullptr) return;
    m_module = nullptr;
    --LiveContextsOfUnits();
    if (m_pendingSample) m_pendingSample->HandTo(nullptr);
    for (const auto& revision : m_revisions) revision->HandTo(nullptr);
}

bool ImodelContextImpl::OnlyContextsOfUnits() { return LiveContexts() == LiveContextsOfUnits(); }

std::size_t ImodelContextImpl::ContextsOfUnits() { return LiveContextsOfUnits(); }

bool ImodelContextImpl::EmptyWaitingListsIfOnly(std::size_t going, std::vector<WaitingList>& spent)
{
    if (LiveContexts() != going) return false;
    PendingRegistry& pending = PendingContexts();
    for (PendingRegistry::List* list : {&pending.unchecked, &pending.withoutFile}) {
        spent.push_back(std::move(list->places));
        list->places = WaitingList();
        list->live = 0;
    }
    return true;
}

void ImodelContextImpl::Enlist(const ImodelContextImpl* context, PendingList list)
{
    if (context->m_pendingList == list) return;
    PendingRegistry& pending = PendingContexts();
    const auto listOf = [&pending](PendingList which) -> PendingRegistry::List& {
        return which == PendingList::Unchecked ? pending.unchecked : pending.withoutFile;
    };
    if (context->m_pendingList != PendingList::None) {
        PendingRegistry::List& from = listOf(context->m_pendingList);
        std::vector<const ImodelContextImpl*>& places = from.places;
        places[context->m_pendingAt] = nullptr;
        --from.live;
        while (!places.empty() && places.back() == nullptr) places.pop_back();
        if (from.live == 0) {
            // A long list emptied (a closed project) gives its memory back.
            if (places.capacity() > 1024) std::vector<const ImodelContextImpl*>().swap(places);
        } else if (places.size() - from.live > 8 * from.live + 64) {
            // Mostly holes: the living close up, at most once per eight
            // that left.
            std::size_t kept = 0;
            for (const ImodelContextImpl* place : places) {
                if (place == nullptr) continue;
                place->m_pendingAt = static_cast<std::uint32_t>(kept);
                places[kept++] = place;
            }
            places.resize(kept);
        }
    }
    context->m_pendingList = list;
    if (list == PendingList::None) return;
    PendingRegistry::List& to = listOf(list);
    context->m_pendingAt = static_cast<std::uint32_t>(to.places.size());
    to.places.push_back(context);
    ++to.live;
}

bool ImodelContextImpl::AnyPendingOfUnitWithFile()
{
    // Each context is looked at once, and again after its unit is given a
    // file: units named before any file defines them wait in numbers while
    // a design is filled.
    const std::vector<const ImodelContextImpl*>& unchecked = PendingContexts().unchecked.places;
    while (!unchecked.empty()) {
        const ImodelContextImpl* context = unchecked.back();
        const ImodelModule* module = context->m_module;
        if (module && module->GetModuleFile()) return true;
        Enlist(context, PendingList::WithoutFile);
    }
    return false;
}

void ImodelContextImpl::FileGiven()
{
    if (m_pendingList == PendingList::WithoutFile) Enlist(this, PendingList::Unchecked);
}

bool ImodelContextImpl::AddRevision(const std::string& name, bool rename, bool update)
{
    const bool existed = FindRevision(name) != nullptr;
    if (!AddRevision(name)) return false;
    if (update && !existed) Revisions().back()->UpdateRevStates(rename);
    return true;
}

void ImodelContextImpl::HDLTypeChanged()
{
    for (const auto& revision : Revisions()) revision->HDLTypeChanged();
}

bool ImodelContextImpl::AddRevision(const std::string& name)
{
    if (FindRevision(name)) return true;
    if (!IfileCheckStorableName(name, "view")) return false;
    imodelContextWillChange(m_module);
    std::unique_ptr<ImodelRevContextImpl> revision;
    if (Current()) {
        revision = std::make_unique<ImodelRevContextImpl>(*Current(), m_module, true);
        revision->SetName(name);
    } else {
        revision = std::make_unique<ImodelRevContextImpl>(name, m_module);
    }
    Revisions().push_back(std::move(revision));
    Indexing(Revisions().back().get(), true);
    return true;
}

void ImodelContextImpl::RemoveRevision(const std::string& name)
{
    ImodelRevContextImpl* revision = FindRevision(name);
    if (!revision) return;
    imodelContextWillChange(m_module);
    if (revision == Current()) Current() = nullptr;
    Indexing(revision, false);
    std::erase_if(Revisions(), [revision](const auto& own) { return own.get() == revision; });
}

bool ImodelContextImpl::RenameRevision(const std::string& from, const std::string& to)
{
    ImodelRevContextImpl* revision = FindRevision(from);
    if (!revision) return false;
    // Views are found by name: two of one name would hide the second.
    const ImodelRevContextImpl* holder = FindRevision(to);
    if (holder && holder != revision) return false;
    imodelContextWillChange(m_module);
    Indexing(revision, false);
    const bool renamed = revision->SetName(to);
    Indexing(revision, true);
    return renamed;
}

void ImodelContextImpl::SetCurRev(const std::string& name)
{
    if (ImodelRevContextImpl* revision = FindRevision(name)) Current() = revision;
}

ImodelRevContextImpl* ImodelContextImpl::FindRevision(const std::string& name) const
{
    if (const Index* index = Indexed()) {
        const auto found = index->byName.find(name);
        return found == index->byName.end() ? nullptr : found->second;
    }
    const auto found = std::find_if(Revisions().begin(), Revisions().end(),
                                    [&name](const auto& revision) { return revision->GetName() == name; });
    return found == Revisions().end() ? nullptr : found->get();
}

ImodelRevContextImpl* ImodelContextImpl::FindRevision(const ImodelRevContext* revision) const
{
    if (const Index* index = Indexed())
        return index->revisions.contains(revision)
                   ? static_cast<ImodelRevContextImpl*>(const_cast<ImodelRevContext*>(revision))
                   : nullptr;
    const auto found = std::find_if(Revisions().begin(), Revisions().end(),
                                    [revision](const auto& own) { return own.get() == revision; });
    return found == Revisions().end() ? nullptr : found->get();
}

const ImodelContextImpl::Index* ImodelContextImpl::Indexed() const
{
    if (!m_index && Revisions().size() >= kIndexedFrom) {
        m_index = std::make_unique<Index>();
        for (const auto& revision : Revisions()) Indexing(revision.get(), true);
    }
    return m_index.get();
}

void ImodelContextImpl::Indexing(ImodelRevContextImpl* revision, bool add) const
{
    if (!m_index) return;
    if (add) {
        // Names are unique among the revisions: the first of a name is the one found.
        m_index->byName.emplace(revision->GetName(), revision);
        m_index->revisions.insert(revision);
    } else {
        m_index->byName.erase(revision->GetName());
        m_index->revisions.erase(revision);
    }
}

ImodelRevContextImpl* ImodelContextImpl::FindRevisionEx(const ImodelRevContext* revision) const
{
    return revision == this ? Current() : FindRevision(revision);
}

bool ImodelContextImpl::GetRevisionName(const ImodelRevContext* revision, std::string& name) const
{
    name.clear();
    const ImodelRevContextImpl* found = FindRevisionEx(revision);
    if (!found) return false;
    name = found->GetName();
    return true;
}

std::vector<ImodelRevContextImpl*> ImodelContextImpl::GetAllRevs() const
{
    std::vector<ImodelRevContextImpl*> revisions;
    revisions.reserve(Revisions().size());
    for (const auto& revision : Revisions()) revisions.push_back(revision.get());
    return revisions;
}

void ImodelContextImpl::DuplicateContextInfo(const ImodelContextImpl* other, bool all)
{
    if (!other || other == this) return;
    const bool bothPending = Pending() && other->Pending();
    if (bothPending && !m_pendingSample && !other->m_pendingSample) {
        // Fresh revisions copied into fresh ones leave them as they are.
    } else if (bothPending && m_pendingViews == other->m_pendingViews) {
        // The same views on both sides: each revision takes the alike one.
        const ImodelRevContextImpl fresh(std::string(), m_module);
        PendingSample()->DuplicateContextInfo(other->m_pendingSample ? other->m_pendingSample.get() : &fresh, all);
    } else {
        for (const auto& revision : Revisions())
            revision->DuplicateContextInfo(other->FindRevision(revision->GetName()), all);
    }
    // Another unit's data: its place-and-route list comes along as well.
    imodelCarryLayoutLists(*other, *this);
}

void ImodelContextImpl::TakeContextInfo(ImodelContextImpl& other, bool all)
{
    // A fresh sample that takes every part of the other's is the other's.
    if (all && &other != this && Pending() && other.Pending() && !m_pendingSample && other.m_pendingSample &&
        m_pendingViews == other.m_pendingViews) {
        m_pendingSample = std::move(other.m_pendingSample);
        m_pendingSample->HandTo(m_module);
        return;
    }
    DuplicateContextInfo(&other, all);
}

void ImodelContextImpl::NotifyFileRemoved(const boost::shared_ptr<IfileObjectEx>& file)
{
    imodelContextWillChange(m_module);
    // Views not made yet will be copies of the sample, when there is one:
    // taken out of it, the record is out of each of them.
    if (Pending()) {
        if (m_pendingSample) m_pendingSample->NotifyFileRemoved(file);
        return;
    }
    for (const auto& revision : Revisions()) revision->NotifyFileRemoved(file);
}

imodelSolvatoState ImodelContextImpl::GetSolvatoState() const
{
    return Current() ? Current()->GetSolvatoState() : Pre_Synthesis;
}

void ImodelContextImpl::SetSolvatoState(imodelSolvatoState state)
{
    if (!Current()) return;
    if (imodelContextIsDebugState() && state != Current()->GetSolvatoState()) TraceNewDesignState(m_name, state);
    if (IsStateOfOneView(state)) {
        Current()->SetSolvatoState(state);
        return;
    }
    for (const auto& revision : Revisions()) revision->SetSolvatoState(state);
}

imodelToolState ImodelContextImpl::GetToolState(ImodelFunctionType tool,
                                                const boost::shared_ptr<IfileObjectEx>& activeFile) const
{
    return Current() ? Current()->GetToolState(tool, activeFile) : StateNoResult;
}

void ImodelContextImpl::SetToolState(ImodelFunctionType tool, const boost::shared_ptr<IfileObjectEx>& activeFile,
                                     imodelToolState state, bool allFiles)
{
    if (!Current()) return;
    for (const auto& revision : Revisions()) revision->SetToolState(tool, activeFile, state, allFiles);
}

imodelToolState ImodelContextImpl::GetToolState(IprocessToolObject* tool) const
{
    return Current() ? Current()->GetToolState(tool) : StateNoResult;
}

void ImodelContextImpl::SetToolState(IprocessToolObject* tool, imodelToolState state, IprocessFlowObject* flowObject,
                                     bool allFiles)
{
    // "No result" changes nothing in revisions without tool records: pending
    // ones are not made for it.
    if (Pending() && tool && state == StateNoResult &&
        (!m_pendingSample || m_pendingSample->GetToolStatesManager().IsEmpty()))
        return;
    if (!Current()) return;
    std::vector<ImodelRevContextImpl*> revisions;
    if (tool && state == StateNoResult) {
        // "No result" changes nothing in a revision without tool records: only
        // the others are worth asking whether the flow uses them (a project
        // may have thousands of views, and every unit is set in each).
        GetRevsUsed(revisions, flowObject, true);
    } else {
        GetRevsUsed(revisions, flowObject);
    }
    for (ImodelRevContextImpl* revision : revisions) revision->SetToolState(tool, state, flowObject, allFiles);
}

void ImodelContextImpl::GetRevsUsed(std::vector<ImodelRevContextImpl*>& out, IprocessFlowObject* flowObject) const
{
    GetRevsUsed(out, flowObject, false);
}

void ImodelContextImpl::GetRevsUsed(std::vector<ImodelRevContextImpl*>& out, IprocessFlowObject* flowObject,
                                    bool withRecordsOnly) const
{
    out.clear();
    const IprocessFlowObject* concerned = m_module ? m_module->GetMessageObject() : nullptr;
    if (concerned && concerned->IsRevDependent()) {
        if (Current() && !(withRecordsOnly && Current()->GetToolStatesManager().IsEmpty())) out.push_back(Current());
        return;
    }
    for (const auto& revision : Revisions()) {
        if (withRecordsOnly && revision->GetToolStatesManager().IsEmpty()) continue;
        if ((flowObject && !flowObject->IsObjectUsed(m_module, revision.get())) || !concerned ||
            concerned->IsObjectUsed(m_module, revision.get()))
            out.push_back(revision.get());
    }
}

void ImodelContextImpl::ResetAccessibleStateList()
{
    if (Current()) Current()->ResetAccessibleStateList();
}

void ImodelContextImpl::AddAccessibleState(imodelSolvatoState state)
{
    if (Current()) Current()->AddAccessibleState(state);
}

bool ImodelContextImpl::IsStateAccessible(imodelSolvatoState state) const
{
    return Current() && Current()->IsStateAccessible(state);
}

bool ImodelContextImpl::IsInDefaultState() const
{
    // Pending revisions are all alike.
    if (Pending()) return m_pendingViews->empty() || !m_pendingSample || m_pendingSample->IsInDefaultState();
    return std::all_of(m_revisions.begin(), m_revisions.end(),
                       [](const auto& revision) { return revision->IsInDefaultState(); });
}

void ImodelContextImpl::SetFlowOptions(const ImodelFlowOptions& options)
{
    if (Current()) Current()->SetFlowOptions(options);
}

ImodelFlowOptions* ImodelContextImpl::GetFlowOptions() { return Current() ? Current()->GetFlowOptions() : nullptr; }
