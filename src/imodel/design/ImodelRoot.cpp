#include "imodel/design/ImodelRoot.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "src/imodel/design/imodelTopUnits.h"

#include <algorithm>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

bool IsKeptFromRootInTests(const ImodelModule* module)
{
    if (!Imodel::IsRunningTests()) return false;
    const std::vector<ImodelModule*>& refused = ImodelModule::CannotBeSetAsRootList();
    return std::find(refused.begin(), refused.end(), module) != refused.end();
}

template <class List>
ImodelModule* FirstThatMayBeRoot(const List& modules)
{
    for (ImodelModule* module : modules)
        if (ImodelCanBeRoot(module)) return module;
    return nullptr;
}

// A level first, then the levels below, one sub-tree after the other. A unit
// whose sub-blocks were searched once found nothing there and is not
// searched again: that also ends the search on a cyclic hierarchy. The
// search keeps its own stack of the lists whose units' sub-blocks it is
// going through.
template <class List>
ImodelModule* FirstValidRoot(const List* modules)
{
    if (modules == nullptr) return nullptr;
    if (ImodelModule* found = FirstThatMayBeRoot(*modules)) return found;
    std::unordered_set<const ImodelModule*> searched;
    // The units of the given list whose sub-blocks are searched, in order.
    for (const ImodelModule* top : *modules) {
        if (top == nullptr || !searched.insert(top).second || top->GetSubBlocks() == nullptr) continue;
        const ImodelLinkList* first = top->GetSubBlocks();
        if (ImodelModule* found = FirstThatMayBeRoot(*first)) return found;
        std::vector<std::pair<const ImodelLinkList*, ImodelLinkList::const_iterator>> stack{{first, first->begin()}};
        while (!stack.empty()) {
            auto& [list, at] = stack.back();
            if (at == list->end()) {
                stack.pop_back();
                continue;
            }
            const ImodelModule* module = *at++;
            const ImodelLinkList* below = module->GetSubBlocks();
            if (!searched.insert(module).second || below == nullptr) continue;
            if (ImodelModule* found = FirstThatMayBeRoot(*below)) return found;
            stack.emplace_back(below, below->begin());
        }
    }
    return nullptr;
}

}  // namespace

// Schematics may be the root: the flow hides no PC-only tools here.
bool ImodelCanBeRoot(const ImodelModule* module)
{
    return module != nullptr && !module->IsPackage() && !IsKeptFromRootInTests(module);
}

ImodelModule* ImodelGetFirstValidRoot(ImodelUnitListRef modules)
{
    return modules.With([](const auto* list) { return FirstValidRoot(list); });
}

ImodelModule* ImodelGetFirstValidRoot()
{
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    const ImodelDesignManager::LibraryPtr work = design.FindLibraryByName("work");
    if (!work) return nullptr;
    // A root is chosen again after each file a delete takes out: the list
    // of top units, stale after each, is not made anew when a unit of its
    // level may be the root (packages may not), the usual case.
    if (work->IsModuleListStale())
        if (ImodelModule* found = imodelTopUnits::FirstNonPackage(*work, ImodelCanBeRoot)) return found;
    design.UpdateTopModules(work);
    return ImodelGetFirstValidRoot(design.GetTopModules(work));
}
