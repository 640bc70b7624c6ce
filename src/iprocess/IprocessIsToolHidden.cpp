#include "iprocess/IprocessIsToolHidden.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"

#include <foundation/Def.h>

bool IprocessIsToolHidden(ImodelFunctionType kind, Imodel& model)
{
    switch (kind) {
    case ideARM:
        return !model.IntegrateDremmet();
    case ideCONSTRAINTSEDITOR:
        return !ImodelIsConstraintEditorSupported();
    case ideGENERATEEDIF: {
        int generateEdif = 0;
        DefGetBoolFL("IDE_GENERATE_EDIF", &generateEdif);
        return generateEdif == 1;
    }
    case idePACKAGER:
        return !model.IsPackagerEnabled();
    default:
        return false;
    }
}
