// The list of core repositories: the built-in ones (the IP catalogue when
// "IDE_DISPLAY_IPCORES" is 1, the core generator's catalogue, the cell
// library), then the user repositories in the order the IP-repository
// command library announced them. The host drives the repositories it finds
// here.
#pragma once

#include "imodel/cores/ImodelRepository.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

class IIpRepository;

class ImodelRepositoryMgr {
public:
    using RepositoryList = std::vector<boost::shared_ptr<ImodelRepository>>;

    // Built on the first call, which also hands the host's callback to the
    // IP-repository command library when a host is registered.
    static ImodelRepositoryMgr& GetInstance();

    ImodelRepositoryMgr(const ImodelRepositoryMgr&) = delete;
    ImodelRepositoryMgr& operator=(const ImodelRepositoryMgr&) = delete;

    // The repositories, in list order.
    const RepositoryList& GetRepositories() const { return m_repositories; }

    // The first repository whose location (or name) is exactly this text;
    // empty when none.
    boost::shared_ptr<ImodelRepository> FindPlugin(const std::string& location);
    boost::shared_ptr<ImodelRepository> FindPluginByName(const std::string& name);

    // Removes the plug-in of every repository; the list stays.
    void UnregisterAll();

    // Asks the IP-repository command library to register a repository,
    // unless one is at that location already (true then); an empty location
    // is refused (false). The list changes only when the library announces
    // it (OnUserRepAdded).
    bool AddUserRepository(const std::string& name, std::string location);
    // Announces the removal (IeventIPRepositoryRemoved) and asks the library
    // to forget the repository's location. The list changes only when the
    // library announces it (OnUserRepRemoved).
    void RemoveUserRepository(boost::shared_ptr<ImodelRepository> repository);
    // The same for the first repository of this name; the second text is
    // not used.
    void RemoveUserRepository(const std::string& name, std::string unused);

    // The IP-repository command library keeps the user repositories itself:
    // there is nothing to reload, save or remove here.
    void ReLoadUserRepositories(bool);
    void SaveUserRepositories();
    void RemoveAllUserRepositories();

    // The announcements of the IP-repository command library: a user
    // repository appended to the list, or the first of its name taken out.
    // An empty pointer changes nothing.
    static void OnUserRepAdded(boost::shared_ptr<IIpRepository> repository);
    static void OnUserRepRemoved(boost::shared_ptr<IIpRepository> repository);

private:
    ImodelRepositoryMgr();
    virtual ~ImodelRepositoryMgr();

    void AddUserRep(boost::shared_ptr<IIpRepository> repository);
    void RmUserRep(boost::shared_ptr<IIpRepository> repository);

    RepositoryList m_repositories;
};
