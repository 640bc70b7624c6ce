#include "ievent/IeventParents.h"

#include <utility>

Ievent_ModulesParent::Ievent_ModulesParent(const std::vector<ImodelModule*>& modules)
    : Ievent_ModulesParent(Modules(modules.begin(), modules.end()))
{
}

Ievent_ModulesParent::Ievent_ModulesParent(Modules modules) : m_modules(std::move(modules))
{
    m_serials.reserve(m_modules.size());
    for (const ImodelModule* module : m_modules) m_serials.push_back(IeventModuleRegistry::SerialOf(module));
}

// Made for every unit a re-read file reaches: built in place, without a
// list to copy from.
Ievent_ModulesParent::Ievent_ModulesParent(ImodelModule* module)
    : m_modules(1, module), m_serials(1, IeventModuleRegistry::SerialOf(module))
{
}

void Ievent_ModulesParent::MarkModulesDisplayable() const
{
    for (std::size_t i = 0; i < m_modules.size(); ++i)
        IeventModuleRegistry::MarkDisplayable(m_modules[i], m_serials[i]);
}

std::vector<ImodelModule*> Ievent_ModulesParent::GetLiveModules() const
{
    std::vector<ImodelModule*> live;
    live.reserve(m_modules.size());
    for (std::size_t i = 0; i < m_modules.size(); ++i)
        if (IeventModuleRegistry::IsAlive(m_modules[i], m_serials[i])) live.push_back(m_modules[i]);
    return live;
}
