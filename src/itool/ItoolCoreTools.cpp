#include "itool/ItoolCoreTools.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "iprocess/IprocessConditions.h"
#include "itool/QuorlaneCoreToolManager.h"

#include <algorithm>

namespace {

bool IsActive(QuorlaneCoreToolManager& manager, Imodel& model)
{
    return !IprocessIsToolHidden(manager.GetToolType(), model);
}

}  // namespace

QuorlaneCoreToolManager* ItoolGetActiveCoreTool(zorpaFileManagerTypes coreType, Imodel& model)
{
    QuorlaneCoreToolManager* manager = model.GetCoreToolManager(coreType);
    return manager && IsActive(*manager, model) ? manager : nullptr;
}

void ItoolUpdateAllCoreTools()
{
    Imodel& model = Imodel::GetInstance();
    const Imodel::CoreToolManagerRange managers = model.GetCoreToolManagers();
    for (auto manager = managers.first; manager != managers.second; ++manager) {
        if (IsActive(**manager, model)) (*manager)->UpdateDataBase();
    }
}

bool ItoolIsCoreSubFile(const IfileObjectEx& file, zorpaFileManagerTypes& coreType)
{
    const Imodel::CoreToolManagerRange managers = Imodel::GetInstance().GetCoreToolManagers();
    const auto found = std::find_if(managers.first, managers.second, [&file](const auto& manager) {
        return file.HasParentFileOfType(manager->GetCoreType(), true);
    });
    if (found == managers.second) return false;
    coreType = (*found)->GetCoreType();
    return true;
}

bool ItoolIsMainCoreFile(const IfileObject* file)
{
    if (file == nullptr) return false;
    const Imodel::CoreToolManagerRange managers = Imodel::GetInstance().GetCoreToolManagers();
    return std::any_of(managers.first, managers.second,
                       [file](const auto& manager) { return manager->GetCoreType() == file->GetFileSpecificType(); });
}
