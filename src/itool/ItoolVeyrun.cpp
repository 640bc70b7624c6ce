#include "itool/ItoolVeyrun.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelGetFullPathParam.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>
#include <ktwkspace/Catalog.h>
#include <ktwkspace/Workspace.h>
#include <vy/VyBusDefMgr.h>

#include <optional>

namespace {

// The project folder kind of a component kind; nothing for kinds whose
// files the project does not keep.
std::optional<zorpaFileManagerTypes> FolderKindOf(VyIfaces::IComponent::VyModuleType type)
{
    using Type = VyIfaces::IComponent;
    switch (type) {
    case Type::Kiltora:
        return zorpaFT_GROUP_KILTORA;
    case Type::Dremmet:
    case Type::IP:
        return zorpaFT_GROUP_DREMMET;
    case Type::HDL:
    case Type::Block:
    case Type::Schematic:
    case Type::SynplifyDSP:
        return zorpaFT_GROUP_COMPONENT_2;
    case Type::Veyrun:
    case Type::UserIP:
    case Type::SpiritDesign:
        return zorpaFT_GROUP_COMPONENT;
    default:
        return std::nullopt;
    }
}

// A library name is one folder below "component": never a path of its own.
bool CanNameFolder(const std::string& library)
{
    return !library.empty() && library != "." && library != ".." && library.find_first_of("/\\") == std::string::npos;
}

}  // namespace

ItoolVeyrun::ItoolVeyrun(Imodel* model) : IeventView(model) {}

std::string ItoolVeyrun::GetToolName() { return ImodelGetCoreToolString(); }

ItoolVeyrun* ItoolVeyrun::GetInstance()
{
    return dynamic_cast<ItoolVeyrun*>(Imodel::GetInstance().GetCoreToolManager(zorpaFT_OMBRIX_CXF));
}

ImodelFileName ItoolVeyrun::GetPathForComponent(const VyIfaces::ComponentID& id,
                                                VyIfaces::IComponent::VyModuleType type)
{
    const std::optional<zorpaFileManagerTypes> kind = FolderKindOf(type);
    const ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
    // Without a project the folder would land at the file system's root.
    if (!kind || design == nullptr || design->GetProjectFolder().empty()) return ImodelFileName();

    ImodelGetFullPathParam param;
    if (*kind == zorpaFT_GROUP_COMPONENT || *kind == zorpaFT_GROUP_COMPONENT_2) {
        if (!CanNameFolder(id.library)) return ImodelFileName();
        param.SetComponent(id.library);
    }
    ImodelFileName folder;
    ImodelGetFullPathForFile(*kind, folder, param);
    std::string& text = folder.GetString();
    if (!text.empty() && text.back() == SysGetDirChar()) text.pop_back();
    ImodelValidateOrCreateDirectory(folder);
    return folder;
}

bool ItoolVeyrun::UpdateDataBase()
{
    Imodel& model = Imodel::GetInstance();
    Ktwkspace::Workspace* workspace = model.GetWorkspace();
    if (workspace == nullptr) return true;
    const ImodelDevice& device = model.GetDeviceManager()->GetDevice();
    const std::string& family = device.GetFamily();
    const bool accepted = workspace->setProductFamily(family);
    workspace->setPackage(device.GetPackageInternalName());
    workspace->setTargetDevice(device.GetDieInternalName());
    if (Vybusdef::VyBusDefMgr* busDefinitions = model.GetBusDefManager()) busDefinitions->Load(family);
    model.GetCatalog().setCatalog(family);
    return accepted;
}
