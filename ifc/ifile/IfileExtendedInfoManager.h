// The cache of place-and-route project descriptions, one per design
// database file. The project model owns the one cache.
#pragma once

#include <memory>

class IfileObject;

class IfileExtendedInfoManager {
public:
    virtual ~IfileExtendedInfoManager() = default;

    // Whether the place-and-route description of the database (a design
    // database, type 4) lists `file`; with `load` a description not yet
    // known is read. False for a database without a readable description.
    virtual bool IsDependingOn(const IfileObject& database, const IfileObject& file, bool load) = 0;

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
