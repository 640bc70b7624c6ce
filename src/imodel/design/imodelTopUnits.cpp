#include "src/imodel/design/imodelTopUnits.h"

#include "imodel/names/imodelUtl.h"

#include <algorithm>
#include <string>

namespace imodelTopUnits {

bool IsTop(const ImodelModule& unit, const std::string& library)
{
    const ImodelLinkList* parents = unit.GetParentsList();
    return parents == nullptr || std::none_of(parents->begin(), parents->end(), [&library](const ImodelModule* parent) {
               return parent != nullptr && ImodelIsSameStrNoCase(parent->GetComponentID().library, library);
           });
}

void MarkStale(ZorpaLibrary<ImodelModule*>& library)
{
    library.MakeModuleList();
    library.SetModuleListStale(true);
}

std::deque<ImodelModule*>* Current(ZorpaLibrary<ImodelModule*>& library)
{
    if (library.IsModuleListStale()) Rebuild(library);
    return library.GetModuleList();
}

void Rebuild(ZorpaLibrary<ImodelModule*>& library)
{
    library.MakeModuleList();
    library.SetModuleListStale(false);
    std::deque<ImodelModule*>& top = *library.GetModuleList();
    top.clear();
    const std::string name = library.GetName();
    for (ImodelModule* unit : *library.GetModules()) {
        if (unit == nullptr || !IsTop(*unit, name)) continue;
        if (unit->IsPackage())
            top.push_front(unit);
        else
            top.push_back(unit);
    }
}

}  // namespace imodelTopUnits
