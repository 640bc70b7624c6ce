#include "ifile/IfileExtendedInfoManager.h"
#include "src/ifile/ifileExtendedInfoManagerImpl.h"

#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "itool/ItoolPallador.h"

void IfileExtendedInfoManager::DisplayFailedToCreateLocalCopiesMessage(const char* file)
{
    ImodelDisplayCONVERT_FAILED_LOCAL_COPIES_MSG(file);
}

std::unique_ptr<IfileExtendedInfoManager> IfileCreateExtendedInfoManager()
{
    return std::make_unique<ifileExtendedInfoManagerImpl>();
}

bool ifileExtendedInfoManagerImpl::IsDependingOn(const IfileObject& database, const IfileObject& file, bool load)
{
    ItoolPallador* pallador = Imodel::GetInstance().GetPalladorTool();
    return load && pallador != nullptr && pallador->DescriptionListsFile(database, file);
}
