// A core repository: one catalogue of cores that the host's core browser
// shows. It holds the catalogue plug-in, knows where the catalogue lies,
// keeps the catalogue's state with a status text, and announces state
// changes and readiness to the views. The plug-ins are made, loaded and
// unloaded through the host's callback (ImodelHost::GetIpMgrCallback);
// without a host or without that callback nothing that needs them is done.
// The repository manager owns the repositories; the host drives them.
#pragma once

#include <boost/shared_ptr.hpp>

#include <string>

class IIpMgrCallback;
class IIpRepository;
class ImodelRepVisitor;

// The state of a catalogue. The host may store any other value; it has an
// empty status text.
enum CatalogState : int {
    CatalogLoaded = 0,
    CatalogNotLoadedYet = 1,
    CatalogConfiguratorNotFound = 2,
    CatalogNoLocationFromConfigurator = 3,
    CatalogNotOnDisk = 4,
    CatalogUnreadable = 5
};

// The IP catalogue (the vault) is always offered: true.
bool ImodelIsVaultEnabled();

class ImodelRepository {
public:
    ImodelRepository(const std::string& name, bool flag);
    virtual ~ImodelRepository();
    ImodelRepository(const ImodelRepository&) = delete;
    ImodelRepository& operator=(const ImodelRepository&) = delete;

    // The names of the built-in repositories: "IP", "Kiltora", "cvlib".
    static const char* GetIPCoresPluginName();
    static const char* GetKTCoresPluginName();
    static const char* GetCvlibCoresPluginName();

    virtual bool IsUserRepository();
    virtual bool IsVault();
    // Where the catalogue lies.
    virtual std::string GetLocation() const = 0;
    // Runs the whole cycle from the current location: finds the catalogue,
    // makes a new plug-in (but for a user repository) and loads it.
    virtual void DestroyAndReCreate();
    // Makes the plug-in (the name is not used).
    virtual void CreateNewPlugin(const std::string& name) = 0;
    // Unloads and drops the plug-in; the state becomes "not loaded yet".
    virtual void RemovePlugin();
    // Loads the plug-in's catalogue; true when the load succeeded.
    virtual bool LoadPlugin();
    // How the location was found, as a text.
    virtual std::string GetGotFromText() const = 0;
    virtual void Accept(ImodelRepVisitor& visitor) = 0;

    const std::string& GetName() const { return m_name; }
    // The constructor's flag (true for the IP repository); kept for the host.
    bool GetFlag() const { return m_flag; }

    CatalogState GetPluginState() const { return m_state; }
    // A new state is announced (IeventIPRepositoryStateChanged, with the
    // location) before it is stored; the stored state sends nothing.
    void SetPluginState(CatalogState state);
    // The status text of the state; in HTML form with the name, the colour
    // and, with debug messages on, how the location was found.
    std::string GetCatalogStatus(bool html) const;

protected:
    // The host's callback, empty without host or callback.
    static boost::shared_ptr<IIpMgrCallback> GetCallback();
    // Announces that the catalogue is ready (IeventIPRepositoryReady).
    void SendReady() const;

    int GetGotFromCode() const { return m_gotFrom; }
    void SetGotFromCode(int code) { m_gotFrom = code; }
    // The got-from text of a code from a table of the texts of codes 0 to 4;
    // empty outside it.
    static std::string GotFromText(const char* const (&texts)[5], int code);

    boost::shared_ptr<IIpRepository> m_plugin;

private:
    std::string m_name;
    int m_gotFrom = 0;
    bool m_flag;
    CatalogState m_state = CatalogNotLoadedYet;
};
