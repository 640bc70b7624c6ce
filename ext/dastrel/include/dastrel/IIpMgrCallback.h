// What the host's core browser offers to those who manage catalogues of
// cores: the plug-in loader, the plug-ins of the built-in catalogues, where
// the results of loads go, and who is told about user repositories.
#pragma once

#include "dastrel/IIpPluginLoader.h"
#include "dastrel/IIpRepository.h"

#include <boost/shared_ptr.hpp>
#include <functional>

#include <string>
#include <vector>

class IIpMgrCallback {
public:
    // Receives the location (or name) of a catalogue and a result code.
    using ResultCallback = std::function<void(std::string, int)>;
    // Receives a user repository that was added or removed.
    using RepositoryCallback = std::function<void(boost::shared_ptr<IIpRepository>)>;

    virtual ~IIpMgrCallback() = default;

    // The loader; owned by the host.
    virtual IIpPluginLoader* GetPluginLoader() = 0;
    // Called when a load finishes; may be empty.
    virtual ResultCallback GetLoadFinishedCallback() = 0;
    // Told about every user repository added or removed; may be empty.
    virtual RepositoryCallback GetUserPluginAddedCallback() = 0;
    virtual RepositoryCallback GetUserPluginRemovedCallback() = 0;
    // The plug-ins of the IP catalogue and of the core generator's catalogue
    // at a location; empty when none can be made.
    virtual boost::shared_ptr<IIpRepository> CreateIpCorePlugin(const std::string& location) = 0;
    virtual boost::shared_ptr<IIpRepository> CreateKiltoraCorePlugin(const std::string& location) = 0;
    // Reports the result of a load to the user; may be empty.
    virtual ResultCallback GetLoadResultReporter() = 0;
    // Where the IP catalogue lies when nothing else says so.
    virtual std::string GetDefaultIpCatalogLocation() = 0;

    // What the browser answers an import of a core archive with.
    enum ArchiveImport : int {
        ArchiveImported = 0,
        ArchiveCoreExists = 15,
        ArchiveNotImported = 1  // any other value is a failure too
    };
    // Imports the core archive (its full name) into the user's cores. A
    // browser that imports no archives refuses each one.
    virtual int ImportCoreArchive(const std::string& /*fullName*/) { return ArchiveNotImported; }
    // One line per core of the catalogue offered for the family and die
    // (with `latestOnly`, only the latest version of each core), replacing
    // `lines`. A browser without a catalogue lists none.
    virtual void ListCatalog(const std::string& /*family*/, const std::string& /*die*/, bool /*latestOnly*/,
                             std::vector<std::string>& lines)
    {
        lines.clear();
    }

protected:
    IIpMgrCallback() = default;
    IIpMgrCallback(const IIpMgrCallback&) = default;
    IIpMgrCallback& operator=(const IIpMgrCallback&) = default;
};
