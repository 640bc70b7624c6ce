#include "itool/ItoolConstraintsManager.h"

#include "itool/ItoolWithConstraints.h"
#include "src/itool/ItoolConstraintsManagerImpl.h"

ItoolConstraintsManager& ItoolConstraintsManager::GetInstance()
{
    static ItoolConstraintsManagerImpl instance;
    return instance;
}

std::vector<ItoolWithConstraints*>& ItoolConstraintsManager::Registrations()
{
    static std::vector<ItoolWithConstraints*> tools;
    return tools;
}

ItoolWithConstraints* ItoolConstraintsManager::GetTool(ImodelFunctionType type)
{
    for (ItoolWithConstraints* tool : Registrations()) {
        if (tool->GetFunctionType() == type) return tool;
    }
    return nullptr;
}

std::vector<ItoolWithConstraints*> ItoolConstraintsManager::GetAllTools() { return Registrations(); }

void ItoolConstraintsManager::OptionalConstraintFileChanged(const IfileObject&, IprocessFileObject*, int, ImodelModule*)
{
}
