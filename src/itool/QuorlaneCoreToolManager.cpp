#include "itool/QuorlaneCoreToolManager.h"

std::pair<bool, Brndesign::CoreStatus> QuorlaneCoreToolManager::GetCoreState(boost::shared_ptr<IfileObjectEx>)
{
    return {false, Brndesign::CoreStatus()};
}

bool QuorlaneCoreToolManager::ReadCoreAgain(const IfileObject&) { return false; }
