// The project's target device and the device catalogue of the options
// database. Its operations come with the target-device value; the project
// model owns the one device manager from the start.
#pragma once

class ImodelDeviceManager {
public:
    virtual ~ImodelDeviceManager() = default;

protected:
    ImodelDeviceManager() = default;
    ImodelDeviceManager(const ImodelDeviceManager&) = delete;
    ImodelDeviceManager& operator=(const ImodelDeviceManager&) = delete;
};
