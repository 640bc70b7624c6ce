#include "itimer/ItimerManager.h"
#include "src/itimer/itimerManagerImpl.h"

#include "imodel/model/Imodel.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"

bool& ItimerManager::GetDoFileDetection()
{
    static bool doFileDetection = true;
    return doFileDetection;
}

bool& ItimerManager::GetTimerBlockedByVeyrun()
{
    static bool blockedByVeyrun = false;
    return blockedByVeyrun;
}

bool ItimerManager::IsAutoFileDetectionEnabled()
{
    Imodel& model = Imodel::GetInstance();
    if (!model.IsTimerEnabled()) return false;
    const ImodelGlobalFlowOptions* flowOptions = model.GetGlobalFlowOptions();
    return !flowOptions || flowOptions->EnableFileDetection;
}

std::unique_ptr<ItimerManager> ItimerCreateManager() { return std::make_unique<itimerManagerImpl>(); }
