#include "imodel/design/ImodelModuleNotices.h"

#include "ievent/IeventClasses.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"

#include <boost/make_shared.hpp>

#include <bit>
#include <cstdint>
#include <unordered_set>

namespace {

ImodelModuleNoticeBatch* g_current = nullptr;
bool g_enabled = true;

}  // namespace

ImodelModuleNoticeBatch::ImodelModuleNoticeBatch() : m_outermost(g_current == nullptr)
{
    if (m_outermost) g_current = this;
}

ImodelModuleNoticeBatch::~ImodelModuleNoticeBatch()
{
    if (!m_outermost) return;
    g_current = nullptr;
    Send();
}

ImodelModuleNoticeBatch* ImodelModuleNoticeBatch::Current() { return g_enabled ? g_current : nullptr; }

void ImodelModuleNoticeBatch::Enable(bool enabled) { g_enabled = enabled; }

std::size_t ImodelModuleNoticeBatch::Places::Home(const ImodelModule* module) const
{
    // Fibonacci hashing of the address: the top bits of the product.
    return static_cast<std::size_t>((reinterpret_cast<std::uintptr_t>(module) * 0x9E3779B97F4A7C15ull) >> m_shift);
}

std::size_t* ImodelModuleNoticeBatch::Places::Find(const ImodelModule* module)
{
    if (m_slots.empty()) return nullptr;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = Home(module);; at = (at + 1) & mask) {
        Slot& slot = m_slots[at];
        if (slot.module == module) return &slot.place;
        if (slot.module == nullptr) return nullptr;
    }
}

std::pair<std::size_t*, bool> ImodelModuleNoticeBatch::Places::TryEmplace(const ImodelModule* module,
                                                                          std::size_t place)
{
    if (2 * (m_used + 1) > m_slots.size()) Grow();
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = Home(module);; at = (at + 1) & mask) {
        Slot& slot = m_slots[at];
        if (slot.module == module) return {&slot.place, false};
        if (slot.module != nullptr) continue;
        slot = Slot{module, place};
        ++m_used;
        return {&slot.place, true};
    }
}

void ImodelModuleNoticeBatch::Places::Grow()
{
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(old.empty() ? 64 : 2 * old.size(), Slot{});
    m_shift = 64 - std::countr_zero(m_slots.size());
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.module == nullptr) continue;
        std::size_t at = Home(slot.module);
        while (m_slots[at].module != nullptr) at = (at + 1) & mask;
        m_slots[at] = slot;
    }
}

void ImodelModuleNoticeBatch::Places::Clear()
{
    m_slots.clear();
    m_slots.shrink_to_fit();
    m_used = 0;
    m_shift = 64;
}

ImodelModuleNoticeBatch::Notice* ImodelModuleNoticeBatch::Standing(const ImodelModule* module)
{
    const std::size_t* place = m_index.Find(module);
    if (place == nullptr) return nullptr;
    Notice& notice = m_notices[*place];
    return notice.serial == module->GetUnitSerial() ? &notice : nullptr;
}

std::size_t ImodelModuleNoticeBatch::Gather(ImodelModule* module)
{
    const auto [place, added] = m_index.TryEmplace(module, m_notices.size());
    if (!added) {
        if (m_notices[*place].serial == module->GetUnitSerial()) return *place;
        // A unit gone since; another now stands at its address.
        *place = m_notices.size();
    }
    m_notices.push_back({module, module->GetUnitSerial(), false});
    return *place;
}

void ImodelModuleNoticeBatch::Send()
{
    IeventBatch events;
    events.reserve(m_notices.size());
    for (const Notice& notice : m_notices) {
        if (!IeventModuleRegistry::IsAlive(notice.module, notice.serial)) continue;
        if (notice.module->CanBeDisplayedInAView())
            events.push_back(boost::make_shared<IeventModuleModified>(notice.module));
        else
            events.push_back(boost::make_shared<IeventModuleAdded>(notice.module));
    }
    m_notices.clear();
    m_index.Clear();
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
    std::unordered_set<const ImodelModule*> seen{module};
    std::vector<ImodelModule*> pending{module};
    while (!pending.empty()) {
        ImodelModule* unit = pending.back();
        pending.pop_back();
        if (Notice* notice = Standing(unit)) notice->below = false;
        if (const ImodelLinkList* parents = unit->GetParentsList())
            for (ImodelModule* parent : *parents)
                if (parent != nullptr && seen.insert(parent).second) pending.push_back(parent);
    }
}

void ImodelModuleNoticeBatch::FileWalk::Defined(ImodelModule* unit)
{
    if (unit == nullptr) return;
    if (Notice* notice = m_batch.Standing(unit)) notice->below = false;
}

void ImodelModuleNoticeBatch::FileWalk::Unit(ImodelModule* unit)
{
    if (unit != nullptr && m_met.try_emplace(unit, false).second) m_batch.Gather(unit);
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
    std::vector<Step> pending{{root, true, true}};
    std::vector<std::size_t> walkedDown;
    bool complete = true;
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        const auto [met, first] = m_met.try_emplace(step.module, false);
        if (!first) {
            // Not walked down in this file: what lies below may be missing,
            // so no unit above it may stop a walk.
            if (step.down && (met->first != step.module || !met->second)) {
                complete = false;
                m_batch.Uncover(step.module);
            }
            continue;
        }
        const std::size_t notice = m_batch.Gather(step.module);
        if (step.up)
            if (const ImodelLinkList* parents = step.module->GetParentsList())
                for (auto it = parents->rbegin(); it != parents->rend(); ++it)
                    if (*it != nullptr) pending.push_back({*it, false, false});
        if (!step.down) continue;
        met->second = true;
        walkedDown.push_back(notice);
        // The root's own sub-blocks are those the parse just gave it.
        if (m_batch.m_notices[notice].below && step.module != root) continue;
        if (const ImodelLinkList* subBlocks = step.module->GetSubBlocks())
            for (auto it = subBlocks->rbegin(); it != subBlocks->rend(); ++it)
                if (*it != nullptr) pending.push_back({*it, true, false});
    }
    // Everything below each unit walked down is gathered now, unless the
    // walk stopped at a unit it had not walked down.
    if (complete)
        for (const std::size_t notice : walkedDown) m_batch.m_notices[notice].below = true;
}
