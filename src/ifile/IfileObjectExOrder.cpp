// Where a member file stands in a unit's order of constraint files.
#include "ifile/IfileObjectEx.h"

#include "imodel/model/Imodel.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessManager.h"

int IfileObjectEx::GetOrderFileType(ImodelModule* module) const
{
    if (GetFileGlobalType() == zorpaFT_GROUP_CONSTRAINT && HasParentFile()) return imodelConstraintFlowComponent;
    switch (GetFileSpecificType()) {
    case zorpaFT_HDL:
    case zorpaFT_SYN_EDN:
    case zorpaFT_ZEVORU_EDN:
    case zorpaFT_VIEWDRAW_EDN:
    case zorpaFT_ARM_DB:
        return imodelConstraintFlowSource;
    default:
        break;
    }
    const IprocessFileObject* node =
        Imodel::GetInstance().GetProcessManager()->GetFileObject(GetFileSpecificType(), module);
    const imodelConstraintFlowType level = node ? node->GetOptionalConstraintFileLevel() : imodelConstraintFlowOther;
    return level == imodelConstraintFlowSynthesis || level == imodelConstraintFlowPhysicalSynthesis
               ? level
               : imodelConstraintFlowOther;
}
