#include "itool/QuorlaneCoreToolManager.h"

#include "imodel/names/ImodelFileName.h"

bool QuorlaneCoreToolManager::ImportCore(const IfileObject&, ImodelFileName& newName)
{
    newName.clear();
    return false;
}

bool QuorlaneCoreToolManager::ConvertDataBase(int, int) { return true; }
