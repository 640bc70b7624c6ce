#include "ievent/IeventModuleRegistry.h"

#include "ievent/IeventParents.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

namespace {

struct Registration {
    IeventModuleRegistry::Serial serial = 0;
    bool beingDestroyed = false;
};

// Modules by address, open addressing in one array (linear probing,
// backward-shift erase): every unit of a project registers and goes again,
// and a node per unit would be a block to allocate and free for each.
class RegistrationTable {
public:
    Registration* Find(const ImodelModule* module)
    {
        if (m_cells.empty() || module == nullptr) return nullptr;
        Cell& cell = m_cells[Probe(module)];
        return cell.module == module ? &cell.registration : nullptr;
    }
    const Registration* Find(const ImodelModule* module) const
    {
        return const_cast<RegistrationTable*>(this)->Find(module);
    }
    // The module's registration, made empty when it has none.
    Registration& operator[](const ImodelModule* module)
    {
        if (Registration* found = Find(module)) return *found;
        if ((m_used + 1) * 10 > m_cells.size() * 7) Grow();
        Cell& cell = m_cells[Probe(module)];
        cell.module = module;
        cell.registration = Registration{};
        ++m_used;
        return cell.registration;
    }
    // Whether the module had a registration.
    bool Erase(const ImodelModule* module)
    {
        if (m_cells.empty() || module == nullptr) return false;
        std::size_t at = Probe(module);
        if (m_cells[at].module != module) return false;
        const std::size_t mask = m_cells.size() - 1;
        m_cells[at] = Cell{};
        if (--m_used == 0) {
            // The last unit went (a project closed): the array goes too.
            std::vector<Cell>().swap(m_cells);
            m_shift = 64;
            return true;
        }
        // The cells after the freed one that probed past it move up, so
        // every module stays reachable from its home without a free cell
        // in between.
        for (std::size_t next = (at + 1) & mask; m_cells[next].module != nullptr; next = (next + 1) & mask) {
            const std::size_t home = Home(m_cells[next].module);
            const bool stays = at <= next ? (at < home && home <= next) : (at < home || home <= next);
            if (stays) continue;
            m_cells[at] = m_cells[next];
            m_cells[next] = Cell{};
            at = next;
        }
        return true;
    }

private:
    struct Cell {
        const ImodelModule* module = nullptr;  // null: a free cell
        Registration registration;
    };

    std::size_t Home(const ImodelModule* module) const
    {
        // Fibonacci hashing: the high bits of the product spread addresses
        // that differ in their low bits only.
        const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(module));
        return static_cast<std::size_t>((bits * 11400714819323198485ULL) >> m_shift);
    }
    std::size_t Probe(const ImodelModule* module) const
    {
        const std::size_t mask = m_cells.size() - 1;
        std::size_t at = Home(module);
        while (m_cells[at].module != nullptr && m_cells[at].module != module) at = (at + 1) & mask;
        return at;
    }
    void Grow()
    {
        const std::size_t size = m_cells.empty() ? 64 : m_cells.size() * 2;
        std::vector<Cell> old = std::exchange(m_cells, std::vector<Cell>(size));
        m_shift = 64 - std::countr_zero(size);
        for (const Cell& cell : old)
            if (cell.module != nullptr) m_cells[Probe(cell.module)] = cell;
    }

    std::vector<Cell> m_cells;
    std::size_t m_used = 0;
    int m_shift = 64;
};

// Every member is read and written under `lock`.
struct Registry {
    // Recursive, so that a display marker may itself ask the registry.
    std::recursive_mutex lock;
    RegistrationTable modules;
    // How many modules are being destroyed: batches are looked into only then.
    int beingDestroyed = 0;
    IeventModuleRegistry::DisplayMarker marker = nullptr;

    const Registration* Find(const ImodelModule* module) const { return modules.Find(module); }
    bool IsBeingDestroyed(const ImodelModule* module) const
    {
        const Registration* registration = Find(module);
        return registration != nullptr && registration->beingDestroyed;
    }
    bool CarriesModuleBeingDestroyed(const Ievent& event) const
    {
        const auto* carrier = dynamic_cast<const Ievent_ModulesParent*>(&event);
        return carrier != nullptr &&
               std::any_of(carrier->GetModules().begin(), carrier->GetModules().end(),
                           [this](const ImodelModule* module) { return IsBeingDestroyed(module); });
    }
};

// Built when the library is loaded, before any model or module, so it
// outlives the modules that the models destroy at unload.
Registry g_registry;

}  // namespace

void IeventModuleRegistry::Register(ImodelModule* module, Serial serial)
{
    if (module == nullptr) return;
    std::lock_guard guard(g_registry.lock);
    Registration& registration = g_registry.modules[module];
    if (registration.beingDestroyed) --g_registry.beingDestroyed;
    registration = Registration{serial, false};
}

IeventModuleRegistry::Serial IeventModuleRegistry::SerialOf(const ImodelModule* module)
{
    std::lock_guard guard(g_registry.lock);
    const Registration* registration = g_registry.Find(module);
    return registration == nullptr || registration->beingDestroyed ? 0 : registration->serial;
}

bool IeventModuleRegistry::IsBeingDestroyed(const ImodelModule* module)
{
    std::lock_guard guard(g_registry.lock);
    return g_registry.IsBeingDestroyed(module);
}

IeventModuleRegistry::Destruction::Destruction(ImodelModule* module) : m_module(module)
{
    if (m_module == nullptr) return;
    std::lock_guard guard(g_registry.lock);
    Registration& registration = g_registry.modules[m_module];
    if (!registration.beingDestroyed) ++g_registry.beingDestroyed;
    registration.beingDestroyed = true;
}

IeventModuleRegistry::Destruction::~Destruction()
{
    if (m_module == nullptr) return;
    std::lock_guard guard(g_registry.lock);
    if (g_registry.modules.Erase(m_module)) --g_registry.beingDestroyed;
}

void IeventModuleRegistry::SetDisplayMarker(DisplayMarker marker)
{
    std::lock_guard guard(g_registry.lock);
    g_registry.marker = marker;
}

namespace {

bool IsAliveLocked(const ImodelModule* module, IeventModuleRegistry::Serial serial)
{
    const auto* registration = g_registry.Find(module);
    return serial != 0 && registration != nullptr && registration->serial == serial && !registration->beingDestroyed;
}

}  // namespace

bool IeventModuleRegistry::IsAlive(const ImodelModule* module, Serial serial)
{
    std::lock_guard guard(g_registry.lock);
    return IsAliveLocked(module, serial);
}

bool IeventModuleRegistry::MarkDisplayable(ImodelModule* module, Serial serial)
{
    std::lock_guard guard(g_registry.lock);
    if (!IsAliveLocked(module, serial) || g_registry.marker == nullptr) return false;
    g_registry.marker(module);
    return true;
}

bool IeventMustDeliverAtOnce(const IeventBatch& events)
{
    std::lock_guard guard(g_registry.lock);
    if (g_registry.beingDestroyed == 0) return false;
    return std::any_of(events.begin(), events.end(), [](const boost::shared_ptr<Ievent>& event) {
        return event && g_registry.CarriesModuleBeingDestroyed(*event);
    });
}
