#include "imodel/cores/ImodelCvlibRepository.h"

#include "imodel/cores/ImodelRepVisitor.h"
#include "imodel/model/Imodel.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>
#include <vy/VyLoaderFactory.h>

#include <optional>

namespace {

// The supply cells are not offered as cores.
bool IsSupplyCell(const std::string& name) { return name == "VCC" || name == "GND" || name == "PWR"; }

}  // namespace

ImodelCvlibRepository::ImodelCvlibRepository() : ImodelRepository(GetCvlibCoresPluginName(), false) {}

std::string ImodelCvlibRepository::GetLocation() const { return GetCvlibCoresPluginName(); }

void ImodelCvlibRepository::CreateNewPlugin(const std::string&) {}

void ImodelCvlibRepository::RemovePlugin()
{
    SetPluginState(CatalogNotLoadedYet);
    CellList().swap(m_cells);
}

bool ImodelCvlibRepository::LoadPlugin()
{
    // Each load lists the library afresh, so a reload lists every cell once.
    m_cells.clear();
    const std::optional<std::string> library = DefGetFL("VERILOGLIB", __FILE__, __LINE__);
    const boost::shared_ptr<Vymodel::VyModuleMap> modules =
        library ? Vymodel::VyLoaderFactory::LoadModules(*library, "", nullptr) : nullptr;
    if (modules) {
        for (const auto& [id, module] : *modules) {
            const std::string name = module->GetName();
            if (!IsSupplyCell(name)) m_cells.push_back(name);
        }
        SetPluginState(CatalogLoaded);
    } else {
        if (library && Imodel::GetInstance().IsDebugMsg())
            SysDebugPrintf("ERROR: Unable to read the cell library %s\n", library->c_str());
        SetPluginState(CatalogUnreadable);
    }
    SendReady();
    return true;
}

std::string ImodelCvlibRepository::GetGotFromText() const { return "Unexpected value"; }

void ImodelCvlibRepository::Accept(ImodelRepVisitor& visitor) { visitor.Visit(*this); }

std::pair<ImodelCvlibRepository::CellList::const_iterator, ImodelCvlibRepository::CellList::const_iterator>
ImodelCvlibRepository::GetBrennicCells() const
{
    return {m_cells.cbegin(), m_cells.cend()};
}
