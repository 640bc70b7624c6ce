#include "imodel/design/ImodelRoot.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"

#include <algorithm>
#include <unordered_set>

namespace {

using ModuleList = ImodelModule::ModuleList;
using Searched = std::unordered_set<const ImodelModule*>;

bool IsKeptFromRootInTests(const ImodelModule* module)
{
    if (!Imodel::IsRunningTests()) return false;
    const std::vector<ImodelModule*>& refused = ImodelModule::CannotBeSetAsRootList();
    return std::find(refused.begin(), refused.end(), module) != refused.end();
}

// A level first, then the levels below, one sub-tree after the other. A unit
// whose sub-blocks were searched once found nothing there and is not
// searched again: that also ends the search on a cyclic hierarchy.
ImodelModule* FirstValidRoot(const ModuleList* modules, Searched& searched)
{
    if (modules == nullptr) return nullptr;
    for (ImodelModule* module : *modules)
        if (ImodelCanBeRoot(module)) return module;
    for (const ImodelModule* module : *modules) {
        if (module == nullptr || !searched.insert(module).second) continue;
        if (ImodelModule* found = FirstValidRoot(module->GetSubBlocks(), searched)) return found;
    }
    return nullptr;
}

}  // namespace

// Schematics may be the root: the flow hides no PC-only tools here.
bool ImodelCanBeRoot(const ImodelModule* module)
{
    return module != nullptr && !module->IsPackage() && !IsKeptFromRootInTests(module);
}

ImodelModule* ImodelGetFirstValidRoot(const std::deque<ImodelModule*>* modules)
{
    Searched searched;
    return FirstValidRoot(modules, searched);
}

ImodelModule* ImodelGetFirstValidRoot()
{
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    const ImodelDesignManager::LibraryPtr work = design.FindLibraryByName("work");
    if (!work) return nullptr;
    design.UpdateTopModules(work);
    return ImodelGetFirstValidRoot(work->GetModuleList());
}
