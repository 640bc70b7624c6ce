#include "imodel/design/ImodelDestroyLib.h"

#include "imodel/design/ImodelModule.h"

#include <vector>

namespace {

// Empties the library's set and list, handing out its units.
void TakeUnits(ZorpaLibrary<ImodelModule*>& library, std::vector<ImodelModule*>& units)
{
    ZorpaLibrary<ImodelModule*>::ModuleSet& set = *library.GetModules();
    units.insert(units.end(), set.begin(), set.end());
    set.clear();
    library.SetModuleList(nullptr);
}

}  // namespace

void ImodelDestroyLib(boost::shared_ptr<ZorpaLibrary<ImodelModule*>> library)
{
    if (!library) return;
    std::vector<ImodelModule*> units;
    TakeUnits(*library, units);
    ImodelModule::DeleteModules(units);
}

void ImodelDestroyLibs(std::deque<boost::shared_ptr<ZorpaLibrary<ImodelModule*>>>& libraries)
{
    // All units at once: links between the libraries cost nothing to undo.
    std::vector<ImodelModule*> units;
    for (const boost::shared_ptr<ZorpaLibrary<ImodelModule*>>& library : libraries) {
        if (library) TakeUnits(*library, units);
    }
    libraries.clear();
    ImodelModule::DeleteModules(units);
}
