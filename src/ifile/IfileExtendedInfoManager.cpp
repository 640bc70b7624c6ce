#include "ifile/IfileExtendedInfoManager.h"
#include "src/ifile/ifileExtendedInfoManagerImpl.h"

#include "imodel/names/ImodelMessages.h"

void IfileExtendedInfoManager::DisplayFailedToCreateLocalCopiesMessage(const char* file)
{
    ImodelDisplayCONVERT_FAILED_LOCAL_COPIES_MSG(file);
}

std::unique_ptr<IfileExtendedInfoManager> IfileCreateExtendedInfoManager()
{
    return std::make_unique<ifileExtendedInfoManagerImpl>();
}
