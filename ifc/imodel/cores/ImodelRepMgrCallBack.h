// For the host's side: the repository manager's handlers of user
// repositories added and removed, as function objects that the host hands
// to the IP-repository command library (IIpMgrCallback).
#pragma once

#include <boost/shared_ptr.hpp>
#include <functional>

class IIpRepository;

class ImodelRepMgrCallBack {
public:
    using Handler = std::function<void(boost::shared_ptr<IIpRepository>)>;

    virtual ~ImodelRepMgrCallBack() = default;

    // Bound to ImodelRepositoryMgr::OnUserRepAdded.
    virtual Handler GetUserPluginAddedCallback();
    // Bound to ImodelRepositoryMgr::OnUserRepRemoved.
    virtual Handler GetUserPluginRemovedCallback();
};
