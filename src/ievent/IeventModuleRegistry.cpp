#include "ievent/IeventModuleRegistry.h"

#include "ievent/IeventAddressTable.h"
#include "ievent/IeventParents.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace {

// A unit's serial and whether it is being destroyed, in one word (serials
// count units made and stay far below 2^63): a slot of the table of every
// unit is then two words, and more of the table stays in the cache.
class Registration {
public:
    using Serial = IeventModuleRegistry::Serial;
    Registration() = default;
    Registration(Serial serial, bool destroyed) : m_word(serial << 1 | (destroyed ? 1 : 0)) {}
    Serial serial() const { return m_word >> 1; }
    bool beingDestroyed() const { return (m_word & 1) != 0; }
    void MarkBeingDestroyed() { m_word |= 1; }

private:
    std::uint64_t m_word = 0;
};

// The serial a registration stands for; 0 for none or one being destroyed.
IeventModuleRegistry::Serial SerialIn(const Registration* registration)
{
    return registration == nullptr || registration->beingDestroyed() ? 0 : registration->serial();
}

// Every unit of a project registers and goes again: one array, no node per
// unit to allocate and free.
using RegistrationTable = IeventAddressTable<ImodelModule, Registration>;

// Every member is read and written under `lock`.
struct Registry {
    // Recursive, so that a display marker may itself ask the registry.
    std::recursive_mutex lock;
    RegistrationTable modules;
    // How many modules are being destroyed: batches are looked into only then.
    int beingDestroyed = 0;
    IeventModuleRegistry::DisplayMarker marker = nullptr;
    // The table's layout for PrefetchCellOf, which takes no lock: the
    // changes below, which may make the table's array anew, set it again.
    std::atomic<std::uintptr_t> cellsHint{0};
    std::atomic<int> shiftHint{64};

    Registration& Add(const ImodelModule* module)
    {
        Registration& registration = *modules.FindOrAdd(module).first;
        Rehint();
        return registration;
    }
    bool Erase(const ImodelModule* module)
    {
        const bool erased = modules.Erase(module);
        Rehint();
        return erased;
    }
    void Reserve(std::size_t count)
    {
        modules.Reserve(count);
        Rehint();
    }
    void Clear()
    {
        modules.Clear();
        Rehint();
    }
    void Rehint()
    {
        const RegistrationTable::Layout layout = modules.GetLayout();
        cellsHint.store(layout.cells, std::memory_order_relaxed);
        shiftHint.store(layout.shift, std::memory_order_relaxed);
    }

    const Registration* Find(const ImodelModule* module) const { return modules.Find(module); }
    bool IsBeingDestroyed(const ImodelModule* module) const
    {
        const Registration* registration = Find(module);
        return registration != nullptr && registration->beingDestroyed();
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
    Registration& registration = g_registry.Add(module);
    if (registration.beingDestroyed()) --g_registry.beingDestroyed;
    registration = Registration(serial, false);
}

void IeventModuleRegistry::PrefetchCellOf(const void* address)
{
    const RegistrationTable::Layout layout{g_registry.cellsHint.load(std::memory_order_relaxed),
                                           g_registry.shiftHint.load(std::memory_order_relaxed)};
    if (const std::uintptr_t cell = RegistrationTable::HomeCellIn(layout, static_cast<const ImodelModule*>(address)))
        __builtin_prefetch(reinterpret_cast<const void*>(cell));
}

void IeventModuleRegistry::Reserve(std::size_t count)
{
    std::lock_guard guard(g_registry.lock);
    g_registry.Reserve(g_registry.modules.Size() + count);
}

IeventModuleRegistry::Serial IeventModuleRegistry::SerialOf(const ImodelModule* module)
{
    std::lock_guard guard(g_registry.lock);
    return SerialIn(g_registry.Find(module));
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
    Registration& registration = g_registry.Add(m_module);
    if (!registration.beingDestroyed()) ++g_registry.beingDestroyed;
    registration.MarkBeingDestroyed();
}

IeventModuleRegistry::Destruction::~Destruction()
{
    if (m_module == nullptr) return;
    std::lock_guard guard(g_registry.lock);
    if (g_registry.Erase(m_module)) --g_registry.beingDestroyed;
}

bool IeventModuleRegistry::ForgetAllIfOnly(std::size_t count)
{
    std::lock_guard guard(g_registry.lock);
    // A closed project: the table goes at once rather than entry by
    // entry, each a cache miss.
    if (g_registry.beingDestroyed != 0 || g_registry.modules.Size() != count) return false;
    g_registry.Clear();
    return true;
}

void IeventModuleRegistry::ForgetAll(const std::vector<std::unique_ptr<ImodelModule>>& modules)
{
    // Every module the registry holds is among them when it holds as many.
    if (ForgetAllIfOnly(modules.size())) return;
    std::lock_guard guard(g_registry.lock);
    for (const std::unique_ptr<ImodelModule>& module : modules) {
        const Registration* registration = g_registry.Find(module.get());
        if (registration == nullptr) continue;
        if (registration->beingDestroyed()) --g_registry.beingDestroyed;
        g_registry.Erase(module.get());
    }
}

void IeventModuleRegistry::SetDisplayMarker(DisplayMarker marker)
{
    std::lock_guard guard(g_registry.lock);
    g_registry.marker = marker;
}

namespace {

bool IsAliveAs(const Registration* registration, IeventModuleRegistry::Serial serial)
{
    return serial != 0 && SerialIn(registration) == serial;
}

bool IsAliveLocked(const ImodelModule* module, IeventModuleRegistry::Serial serial)
{
    return IsAliveAs(g_registry.Find(module), serial);
}

// Calls `visit(i, registration)` for each module in order, under the lock,
// with the registration's cell prefetched eight modules ahead.
template <class Visit>
void VisitAhead(std::span<ImodelModule* const> modules, Visit visit)
{
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = 0; i < std::min(kAhead, modules.size()); ++i) g_registry.modules.Prefetch(modules[i]);
    for (std::size_t i = 0; i < modules.size(); ++i) {
        if (i + kAhead < modules.size()) g_registry.modules.Prefetch(modules[i + kAhead]);
        visit(i, g_registry.Find(modules[i]));
    }
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

void IeventModuleRegistry::SerialsOf(std::span<ImodelModule* const> modules, std::span<Serial> serials)
{
    std::lock_guard guard(g_registry.lock);
    VisitAhead(modules, [&](std::size_t i, const Registration* registration) { serials[i] = SerialIn(registration); });
}

void IeventModuleRegistry::AreAlive(std::span<ImodelModule* const> modules, std::span<const Serial> serials,
                                    std::span<bool> alive)
{
    std::lock_guard guard(g_registry.lock);
    VisitAhead(modules, [&](std::size_t i, const Registration* registration) {
        alive[i] = IsAliveAs(registration, serials[i]);
    });
}

void IeventModuleRegistry::MarkAllDisplayable(std::span<ImodelModule* const> modules, std::span<const Serial> serials)
{
    std::lock_guard guard(g_registry.lock);
    if (g_registry.marker == nullptr) return;
    VisitAhead(modules, [&](std::size_t i, const Registration* registration) {
        if (IsAliveAs(registration, serials[i])) g_registry.marker(modules[i]);
    });
}

bool IeventMustDeliverAtOnce(const IeventBatch& events)
{
    std::lock_guard guard(g_registry.lock);
    if (g_registry.beingDestroyed == 0) return false;
    return std::any_of(events.begin(), events.end(), [](const boost::shared_ptr<Ievent>& event) {
        return event && g_registry.CarriesModuleBeingDestroyed(*event);
    });
}
