#include "imodel/cores/ImodelRepositoryMgr.h"

#include "ievent/IeventClasses.h"
#include "imodel/cores/ImodelCvlibRepository.h"
#include "imodel/cores/ImodelIPRepository.h"
#include "imodel/cores/ImodelKTRepository.h"
#include "imodel/cores/ImodelRepMgrCallBack.h"
#include "imodel/cores/ImodelUserRepository.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"

#include <dastrel/DastrelModel.h>
#include <foundation/Def.h>

#include <boost/make_shared.hpp>

#include <algorithm>

ImodelRepositoryMgr& ImodelRepositoryMgr::GetInstance()
{
    static ImodelRepositoryMgr manager;
    return manager;
}

ImodelRepositoryMgr::ImodelRepositoryMgr()
{
    int displayIpCores = -1;
    DefGetIntFL("IDE_DISPLAY_IPCORES", &displayIpCores, __FILE__, __LINE__);
    if (displayIpCores == 1) m_repositories.push_back(boost::make_shared<ImodelIPRepository>());
    m_repositories.push_back(boost::make_shared<ImodelKTRepository>());
    m_repositories.push_back(boost::make_shared<ImodelCvlibRepository>());
    if (ImodelHost* host = Imodel::GetInstance().GetHost())
        DastrelModel::GetInstance().Init(host->GetIpMgrCallback(), Dastrel::UserRepositoryFileDefault);
}

// The plug-ins stay loaded: the host's browser outlives the library.
ImodelRepositoryMgr::~ImodelRepositoryMgr() = default;

boost::shared_ptr<ImodelRepository> ImodelRepositoryMgr::FindPlugin(const std::string& location)
{
    for (const auto& repository : m_repositories) {
        if (repository->GetLocation() == location) return repository;
    }
    return {};
}

boost::shared_ptr<ImodelRepository> ImodelRepositoryMgr::FindPluginByName(const std::string& name)
{
    for (const auto& repository : m_repositories) {
        if (repository->GetName() == name) return repository;
    }
    return {};
}

void ImodelRepositoryMgr::UnregisterAll()
{
    // A copy: a plug-in's unload may announce a removal that edits the list.
    const RepositoryList repositories = m_repositories;
    for (const auto& repository : repositories) repository->RemovePlugin();
}

bool ImodelRepositoryMgr::AddUserRepository(const std::string& name, std::string location)
{
    // An empty location would "find" a built-in repository that has none.
    if (location.empty()) return false;
    if (FindPlugin(location)) return true;
    return DastrelModel::GetInstance().CreateUserRep(location, name).first;
}

void ImodelRepositoryMgr::RemoveUserRepository(boost::shared_ptr<ImodelRepository> repository)
{
    if (!repository) return;
    const std::string location = repository->GetLocation();
    Imodel::GetInstance().SendEvent(boost::make_shared<IeventIPRepositoryRemoved>(location.c_str()), true);
    DastrelModel::GetInstance().RemoveUserRep(location);
}

void ImodelRepositoryMgr::RemoveUserRepository(const std::string& name, std::string)
{
    if (boost::shared_ptr<ImodelRepository> repository = FindPluginByName(name)) RemoveUserRepository(repository);
}

void ImodelRepositoryMgr::ReLoadUserRepositories(bool) {}
void ImodelRepositoryMgr::SaveUserRepositories() {}
void ImodelRepositoryMgr::RemoveAllUserRepositories() {}

void ImodelRepositoryMgr::OnUserRepAdded(boost::shared_ptr<IIpRepository> repository)
{
    GetInstance().AddUserRep(std::move(repository));
}

void ImodelRepositoryMgr::OnUserRepRemoved(boost::shared_ptr<IIpRepository> repository)
{
    GetInstance().RmUserRep(std::move(repository));
}

void ImodelRepositoryMgr::AddUserRep(boost::shared_ptr<IIpRepository> repository)
{
    if (!repository) return;
    const std::string name = repository->GetName();
    m_repositories.push_back(boost::make_shared<ImodelUserRepository>(name.c_str(), std::move(repository)));
}

void ImodelRepositoryMgr::RmUserRep(boost::shared_ptr<IIpRepository> repository)
{
    if (!repository) return;
    const auto found = std::find_if(m_repositories.begin(), m_repositories.end(),
                                    [&](const auto& held) { return held->GetName() == repository->GetName(); });
    if (found != m_repositories.end()) m_repositories.erase(found);
}

ImodelRepMgrCallBack::Handler ImodelRepMgrCallBack::GetUserPluginAddedCallback()
{
    return &ImodelRepositoryMgr::OnUserRepAdded;
}

ImodelRepMgrCallBack::Handler ImodelRepMgrCallBack::GetUserPluginRemovedCallback()
{
    return &ImodelRepositoryMgr::OnUserRepRemoved;
}
