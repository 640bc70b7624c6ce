#include "ievent/IeventParents.h"

Ievent_ModulesParent::Ievent_ModulesParent(const std::vector<ImodelModule*>& modules) : m_modules(modules)
{
    m_serials.reserve(m_modules.size());
    for (const ImodelModule* module : m_modules) m_serials.push_back(IeventModuleRegistry::SerialOf(module));
}

Ievent_ModulesParent::Ievent_ModulesParent(ImodelModule* module)
    : Ievent_ModulesParent(std::vector<ImodelModule*>{module})
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
    for (std::size_t i = 0; i < m_modules.size(); ++i)
        if (IeventModuleRegistry::IsAlive(m_modules[i], m_serials[i])) live.push_back(m_modules[i]);
    return live;
}
