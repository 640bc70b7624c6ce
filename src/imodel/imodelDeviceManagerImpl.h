// The device manager; it holds nothing until the target-device value exists.
#pragma once

#include "imodel/ImodelDeviceManager.h"

class imodelDeviceManagerImpl : public ImodelDeviceManager {
public:
    imodelDeviceManagerImpl() = default;
};
