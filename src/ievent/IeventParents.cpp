#include "ievent/IeventParents.h"

#include <utility>

Ievent_ModulesParent::Ievent_ModulesParent(const std::vector<ImodelModule*>& modules)
    : Ievent_ModulesParent(Modules(modules.begin(), modules.end()))
{
}

Ievent_ModulesParent::Ievent_ModulesParent(Modules modules) : m_modules(std::move(modules)), m_serials(m_modules.size())
{
    IeventModuleRegistry::SerialsOf({m_modules.data(), m_modules.size()}, {m_serials.data(), m_serials.size()});
}

// Made for every unit a re-read file reaches: built in place, without a
// list to copy from.
Ievent_ModulesParent::Ievent_ModulesParent(ImodelModule* module)
    : m_modules(1, module), m_serials(1, IeventModuleRegistry::SerialOf(module))
{
}

Ievent_ModulesParent::Ievent_ModulesParent(ImodelModule* module, IeventModuleRegistry::Serial serial)
    : m_modules(1, module), m_serials(1, serial)
{
}

void Ievent_ModulesParent::MarkModulesDisplayable() const
{
    IeventModuleRegistry::MarkAllDisplayable({m_modules.data(), m_modules.size()},
                                             {m_serials.data(), m_serials.size()});
}

std::vector<ImodelModule*> Ievent_ModulesParent::GetLiveModules() const
{
    // In place for the one module most events carry.
    boost::container::small_vector<bool, 4> alive(m_modules.size());
    IeventModuleRegistry::AreAlive({m_modules.data(), m_modules.size()}, {m_serials.data(), m_serials.size()},
                                   {alive.data(), alive.size()});
    std::vector<ImodelModule*> live;
    live.reserve(m_modules.size());
    for (std::size_t i = 0; i < m_modules.size(); ++i)
        if (alive[i]) live.push_back(m_modules[i]);
    return live;
}
