#include "imodel/design/ImodelModuleNotices.h"

#include "ievent/IeventClasses.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"

#include <boost/make_shared.hpp>

#include <algorithm>
#include <memory>
#include <unordered_set>

namespace {

ImodelModuleNoticeBatch* g_current = nullptr;
bool g_enabled = true;
std::uint32_t g_lastId = 0;

}  // namespace

ImodelModuleNoticeBatch::ImodelModuleNoticeBatch(std::size_t units) : m_outermost(g_current == nullptr)
{
    if (!m_outermost) return;
    g_current = this;
    // Four thousand million batches on, a number comes again: a unit
    // gathered that long ago and never since is the only one misread.
    if (++g_lastId == 0) ++g_lastId;
    m_id = g_lastId;
    m_notices.reserve(units);
}

ImodelModuleNoticeBatch::~ImodelModuleNoticeBatch()
{
    if (!m_outermost) return;
    g_current = nullptr;
    Send();
}

ImodelModuleNoticeBatch* ImodelModuleNoticeBatch::Current() { return g_enabled ? g_current : nullptr; }

void ImodelModuleNoticeBatch::Enable(bool enabled) { g_enabled = enabled; }

void ImodelModuleNoticeBatch::Gather(ImodelModule* module)
{
    if (Gathered(module)) return;
    module->m_noticeBatch = m_id;
    module->m_noticeBelow = false;
    m_notices.push_back({module, module->GetUnitSerial()});
}

void ImodelModuleNoticeBatch::Send()
{
    // Asked of the registry all at once: its entries for a large design lie
    // all over a large table.
    std::vector<ImodelModule*> modules;
    std::vector<IeventModuleRegistry::Serial> serials;
    modules.reserve(m_notices.size());
    serials.reserve(m_notices.size());
    for (const Notice& notice : m_notices) {
        modules.push_back(notice.module);
        serials.push_back(notice.serial);
    }
    const std::unique_ptr<bool[]> alive = std::make_unique<bool[]>(modules.size());
    IeventModuleRegistry::AreAlive(modules, serials, {alive.get(), modules.size()});
    IeventBatch events;
    events.reserve(m_notices.size());
    for (std::size_t i = 0; i < modules.size(); ++i) {
        if (!alive[i]) continue;
        // Found alive under its serial just now: the event need not ask again.
        if (modules[i]->CanBeDisplayedInAView())
            events.push_back(boost::make_shared<IeventModuleModified>(modules[i], serials[i]));
        else
            events.push_back(boost::make_shared<IeventModuleAdded>(modules[i], serials[i]));
    }
    m_notices.clear();
    if (events.empty()) return;
    const unsigned start = ImodelStartLongProcess("Notify - NotifyAllViews");
    Imodel::GetInstance().SendEvents(events, true);
    ImodelEndLongProcess(start);
}

void ImodelModuleNoticeBatch::Changed(ImodelModule* unit)
{
    if (unit != nullptr) Uncover(unit);
}

void ImodelModuleNoticeBatch::Uncover(ImodelModule* module)
{
    // Whether the unit was uncovered already since the last covering: then
    // so is everything above it. Marks it uncovered now otherwise.
    const auto uncoveredAlready = [this](const ImodelModule* unit) {
        const Uncovered now{unit->GetUnitSerial(), m_coverings};
        const auto [entry, added] = m_uncovered.try_emplace(unit, now);
        if (!added && entry->second.serial == now.serial && entry->second.at == now.at) return true;
        entry->second = now;
        return false;
    };
    if (uncoveredAlready(module)) return;
    std::unordered_set<const ImodelModule*> seen{module};
    std::vector<ImodelModule*> pending{module};
    while (!pending.empty()) {
        ImodelModule* unit = pending.back();
        pending.pop_back();
        NotAllBelow(unit);
        if (const ImodelLinkList* parents = unit->GetParentsList())
            for (ImodelModule* parent : *parents)
                if (parent != nullptr && seen.insert(parent).second && !uncoveredAlready(parent))
                    pending.push_back(parent);
    }
}

ImodelModuleNoticeBatch::FileWalk::FileWalk(ImodelModuleNoticeBatch& batch)
    : m_batch(batch), m_met(std::exchange(batch.m_metOfLastWalk, MetIndex()))
{
    m_met.ClearKeepingRoom();
    // The parse before this walk may have given units new parents.
    ++m_batch.m_coverings;
}

ImodelModuleNoticeBatch::FileWalk::~FileWalk() { m_batch.m_metOfLastWalk = std::move(m_met); }

std::pair<ImodelModuleNoticeBatch::Met*, bool> ImodelModuleNoticeBatch::FileWalk::Meet(ImodelModule* unit)
{
    const ZorpaUnitOrder& order = unit->GetUnitOrder();
    const auto [slot, added] = m_met.FindOrAdd(order.name, [unit](MetOfName& units) {
        units.push_back({unit, false});
    });
    MetOfName& units = m_met.At(slot);
    if (added) return {&units.front(), true};
    for (Met& met : units)
        if (met.unit == unit || met.unit->GetUnitOrder() == order) return {&met, false};
    units.push_back({unit, false});
    return {&units.back(), true};
}

void ImodelModuleNoticeBatch::FileWalk::Defined(ImodelModule* unit)
{
    if (unit == nullptr) return;
    ++m_batch.m_coverings;
    m_batch.NotAllBelow(unit);
}

void ImodelModuleNoticeBatch::FileWalk::Unit(ImodelModule* unit)
{
    if (unit != nullptr && Meet(unit).second) m_batch.Gather(unit);
}

void ImodelModuleNoticeBatch::FileWalk::Related(ImodelModule* root)
{
    // The order and the stops of GetAllRelatedModules: a unit before its
    // sub-blocks, then its parents; a unit met before in this file, or one
    // of the same place in the unit order, is not walked again.
    struct Step {
        ImodelModule* module;
        bool down;
        bool up;
    };
    // Kept from one walk to the next: a read walks from every file it parses.
    thread_local std::vector<Step> pending;
    thread_local std::vector<ImodelModule*> walkedDown;
    pending.assign({{root, true, true}});
    walkedDown.clear();
    bool complete = true;
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        const auto [met, first] = Meet(step.module);
        if (!first) {
            // Not walked down in this file: what lies below may be missing,
            // so no unit above it may stop a walk.
            if (step.down && (met->unit != step.module || !met->down)) {
                complete = false;
                m_batch.Uncover(step.module);
            }
            continue;
        }
        m_batch.Gather(step.module);
        if (step.up)
            if (const ImodelLinkList* parents = step.module->GetParentsList())
                for (auto it = parents->rbegin(); it != parents->rend(); ++it)
                    if (*it != nullptr) pending.push_back({*it, false, false});
        if (!step.down) continue;
        met->down = true;
        walkedDown.push_back(step.module);
        // The root's own sub-blocks are those the parse just gave it.
        if (step.module->m_noticeBelow && step.module != root) continue;
        if (const ImodelLinkList* subBlocks = step.module->GetSubBlocks())
            for (auto it = subBlocks->rbegin(); it != subBlocks->rend(); ++it)
                if (*it != nullptr) pending.push_back({*it, true, false});
    }
    // Everything below each unit walked down is gathered now, unless the
    // walk stopped at a unit it had not walked down.
    if (complete && !walkedDown.empty()) {
        ++m_batch.m_coverings;
        for (ImodelModule* unit : walkedDown) unit->m_noticeBelow = true;
    }
}
