#include "src/imodel/names/imodelUtlProject.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/views/ImodelRevisionManager.h"

const ImodelFileName* ImodelUtlGetProjectFolder()
{
    ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
    return design ? &design->GetProjectFolder() : nullptr;
}

std::string ImodelUtlProjectFolderText()
{
    const ImodelFileName* project = ImodelUtlGetProjectFolder();
    return project ? project->GetString() : std::string();
}

int ImodelUtlGetCurrentRevisionNumber()
{
    ImodelRevisionManager* revisions = Imodel::GetInstance().GetRevisionManager();
    return revisions ? revisions->GetCurrentRevisionNumber() : 0;
}

bool ImodelUtlIsDebugMsg() { return Imodel::GetInstance().IsDebugMsg(); }
