// The cache of place-and-route project descriptions, one per design
// database file. The project model owns the one cache.
#pragma once

#include <memory>

class IfileExtendedInfoManager {
public:
    virtual ~IfileExtendedInfoManager() = default;

    // Tells the user that the local copies of a converted file could not be
    // made ("CONVERT_FAILED_LOCAL_COPIES").
    static void DisplayFailedToCreateLocalCopiesMessage(const char* file);

protected:
    IfileExtendedInfoManager() = default;
    IfileExtendedInfoManager(const IfileExtendedInfoManager&) = delete;
    IfileExtendedInfoManager& operator=(const IfileExtendedInfoManager&) = delete;
};

// The cache of place-and-route project information, for the project singleton to own.
std::unique_ptr<IfileExtendedInfoManager> IfileCreateExtendedInfoManager();
