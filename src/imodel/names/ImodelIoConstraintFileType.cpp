// Which I/O constraint files the current device takes: the kinds import_files
// offers decide.
#include "icmd/files/IcmdImportFiles.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileTypes.h"

zorpaFileManagerTypes ImodelGetIoConstraintFileType()
{
    const IcmdImportFiles import(&Imodel::GetInstance(), false);
    for (const zorpaFileManagerTypes type : {zorpaFT_PDC, zorpaFT_GCF, zorpaFT_PIN})
        if (import.IsSupportedType(type)) return type;
    return zorpaFT_UNKNOWN;
}
