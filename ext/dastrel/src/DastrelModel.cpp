#include "dastrel/DastrelModel.h"

#include <boost/make_shared.hpp>

#include <algorithm>

namespace {

// A catalogue the user registered: writable, indexed by "index.xml".
class DastrelUserRepository : public IIpRepository {
public:
    DastrelUserRepository(const std::string& location, const std::string& name) : m_location(location), m_name(name) {}
    const std::string& GetLocation() const override { return m_location; }
    const std::string& GetIndexFileName() const override { return kIndexFileName; }
    const std::string& GetName() const override { return m_name; }
    bool IsUserRepository() const override { return true; }
    bool IsReadOnly() const override { return false; }

private:
    static inline const std::string kIndexFileName = "index.xml";
    std::string m_location;
    std::string m_name;
};

}  // namespace

DastrelModel& DastrelModel::GetInstance()
{
    static DastrelModel model;
    return model;
}

void DastrelModel::Init(boost::shared_ptr<IIpMgrCallback> callback, Dastrel::UserRepositoryFile)
{
    m_callback = std::move(callback);
}

IIpMgrCallback::RepositoryCallback DastrelModel::Handler(bool added) const
{
    if (!m_callback) return {};
    return added ? m_callback->GetUserPluginAddedCallback() : m_callback->GetUserPluginRemovedCallback();
}

DastrelModel::Repositories::iterator DastrelModel::Find(const std::string& location)
{
    return std::find_if(m_repositories.begin(), m_repositories.end(),
                        [&](const auto& repository) { return repository->GetLocation() == location; });
}

std::pair<bool, boost::shared_ptr<IIpRepository>> DastrelModel::CreateUserRep(const std::string& location,
                                                                              const std::string& name)
{
    if (location.empty()) return {false, {}};
    const auto held = Find(location);
    if (held != m_repositories.end()) return {true, *held};
    const boost::shared_ptr<IIpRepository> repository = boost::make_shared<DastrelUserRepository>(location, name);
    m_repositories.push_back(repository);
    if (const auto announce = Handler(true)) announce(repository);
    return {true, repository};
}

bool DastrelModel::RemoveUserRep(const std::string& location)
{
    const auto held = Find(location);
    if (held == m_repositories.end()) return false;
    const boost::shared_ptr<IIpRepository> repository = *held;
    m_repositories.erase(held);
    if (const auto announce = Handler(false)) announce(repository);
    return true;
}

void DastrelModel::RegisterCommands() {}
