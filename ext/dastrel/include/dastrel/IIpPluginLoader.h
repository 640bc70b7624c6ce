// Loads and unloads catalogues of cores into the host's core browser. The
// host owns the loader; its users never delete it.
#pragma once

#include <functional>

#include <string>

class IIpPluginLoader {
public:
    // Called with the location and the result code when a load finishes.
    using FinishedCallback = std::function<void(std::string, int)>;

    // Starts loading the catalogue at `location` (its index file, whether it
    // is the user's and whether it is read-only as the plug-in says); 0 when
    // the load started or finished successfully. `finished`, when not empty,
    // is called when the load is over.
    virtual int Load(const std::string& location, const std::string& indexFileName, FinishedCallback finished,
                     bool userRepository, bool readOnly) = 0;
    // Forgets the catalogue loaded from `location`.
    virtual void Unload(const std::string& location) = 0;

protected:
    IIpPluginLoader() = default;
    IIpPluginLoader(const IIpPluginLoader&) = default;
    IIpPluginLoader& operator=(const IIpPluginLoader&) = default;
    ~IIpPluginLoader() = default;
};
