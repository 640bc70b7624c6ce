#include "ifile/IfileExtendedInfoManager.h"
#include "src/ifile/ifileExtendedInfoManagerImpl.h"

#include "imodel/names/ImodelMessages.h"

std::deque<IfileObject>*& IfileExtendedInfoManager::IdePldFilesRecentlyChecked()
{
    static std::deque<IfileObject>* checked = nullptr;
    return checked;
}

bool& IfileExtendedInfoManager::IsDoingConvert()
{
    static bool converting = false;
    return converting;
}

void IfileExtendedInfoManager::DisplayFailedToCreateLocalCopiesMessage(const char* file)
{
    ImodelDisplayCONVERT_FAILED_LOCAL_COPIES_MSG(file);
}

std::unique_ptr<IfileExtendedInfoManager> IfileCreateExtendedInfoManager()
{
    return std::make_unique<ifileExtendedInfoManagerImpl>();
}
