#include "ifile/IfileExtendedInfoManager.h"

#include "imodel/ImodelMessages.h"

void IfileExtendedInfoManager::DisplayFailedToCreateLocalCopiesMessage(const char* file)
{
    ImodelDisplayCONVERT_FAILED_LOCAL_COPIES_MSG(file);
}
