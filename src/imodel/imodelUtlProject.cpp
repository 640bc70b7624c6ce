#include "imodelUtlProject.h"

#include "imodel/Imodel.h"
#include "imodel/ImodelDesignManager.h"
#include "imodel/ImodelFileName.h"
#include "imodel/ImodelRevisionManager.h"

const ImodelFileName* ImodelUtlGetProjectFolder()
{
    ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
    return design ? &design->GetProjectFolder() : nullptr;
}

int ImodelUtlGetCurrentRevisionNumber()
{
    ImodelRevisionManager* revisions = Imodel::GetInstance().GetRevisionManager();
    return revisions ? revisions->GetCurrentRevisionNumber() : 0;
}

bool ImodelUtlIsDebugMsg() { return Imodel::GetInstance().IsDebugMsg(); }
