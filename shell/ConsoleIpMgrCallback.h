// The core browser of the quorlane shell, as the library's IP-repository
// callback sees it. A terminal has no browser to load catalogues into and
// imports no core archives; what it offers is the list of the suite's core
// catalogue (the install folder's catalogue that the project model reads),
// so that scripts can see the cores a device has.
#pragma once

#include <dastrel/IIpMgrCallback.h>

class ConsoleIpMgrCallback : public IIpMgrCallback {
public:
    // No loader, no plug-ins, nobody told about loads or user repositories.
    IIpPluginLoader* GetPluginLoader() override { return nullptr; }
    ResultCallback GetLoadFinishedCallback() override { return {}; }
    RepositoryCallback GetUserPluginAddedCallback() override { return {}; }
    RepositoryCallback GetUserPluginRemovedCallback() override { return {}; }
    boost::shared_ptr<IIpRepository> CreateIpCorePlugin(const std::string&) override { return {}; }
    boost::shared_ptr<IIpRepository> CreateKiltoraCorePlugin(const std::string&) override { return {}; }
    ResultCallback GetLoadResultReporter() override { return {}; }
    std::string GetDefaultIpCatalogLocation() override { return std::string(); }

    // One line "vendor:library:name:version" per core of the suite's
    // catalogue offered for the family (every core without a family), in
    // catalogue order, followed by " - " and its description when it has
    // one. With `latestOnly` a core listed in several versions is listed
    // once, in its highest version (numbers compared as numbers), where its
    // first version stood. The catalogue offers cores by family, so the die
    // narrows nothing.
    void ListCatalog(const std::string& family, const std::string& die, bool latestOnly,
                     std::vector<std::string>& lines) override;
};
