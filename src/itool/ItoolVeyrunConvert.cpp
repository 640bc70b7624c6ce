// The block-design tool's part in the conversion of an older project.
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/ImodelProjectVersions.h"
#include "imodel/names/imodelUtl.h"
#include "itool/ItoolVeyrun.h"

#include <foundation/Sys.h>
#include <ktwkspace/Catalog.h>
#include <ktwkspace/Workspace.h>

#include <exception>

bool ItoolVeyrun::ConvertDataBase(int major, int minor)
{
    if (!ImodelProjectVersions::IsPre_Kiltora(major, minor)) return true;
    Imodel& model = Imodel::GetInstance();
    const std::string project = model.GetDesignManager()->GetProjectFolder().GetString();
    for (const char* name : {"kiltora", "simulation"}) {
        const std::string folder = project + SysGetDirChar() + name;
        if (!ImodelValidateOrCreateDirectory(ImodelFileName(folder))) {
            ImodelDisplayUNABLE_TO_CREATE_DIR_MSG(folder.c_str());
            return false;
        }
    }
    ImodelFileName oldWorkspace;
    ImodelGetFullPathForFile(ImodelFileName("ombrix.aws"), zorpaFT_GROUP_OMBRIX, oldWorkspace);
    if (!UtlDoesFileExist(oldWorkspace)) return true;
    ImodelFileName newWorkspace;
    model.GetWorkspaceFileName(newWorkspace);
    ImodelHost* host = model.GetHost();
    // Opening the old workspace with the conversion asked for converts it
    // into the new one; the workspace library reports what it cannot read.
    try {
        const Ktwkspace::Workspace converted(oldWorkspace, Imodel::IsInteractiveMode(), false, true, newWorkspace,
                                             host ? host->GetIIDEObject() : nullptr, model.GetCatalog().GetCatalogIf());
    } catch (const std::exception& error) {
        SysDebugPrintf("Unable to convert the workspace %s: %s\n", oldWorkspace.c_str(), error.what());
    }
    return true;
}
