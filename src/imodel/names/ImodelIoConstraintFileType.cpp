// Which I/O constraint files the current device takes: the kinds import_files
// offers decide.
#include "imodel/model/ImodelCommandServices.h"
#include "imodel/names/ImodelFileTypes.h"

zorpaFileManagerTypes ImodelGetIoConstraintFileType()
{
    ImodelCommandServices* commands = ImodelCommandServices::Get();
    if (commands == nullptr) return zorpaFT_UNKNOWN;
    for (const zorpaFileManagerTypes type : {zorpaFT_PDC, zorpaFT_GCF, zorpaFT_PIN})
        if (commands->ImportsFileType(type)) return type;
    return zorpaFT_UNKNOWN;
}
