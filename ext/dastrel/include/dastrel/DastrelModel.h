// The IP-repository command library: keeps the user's own repositories of
// cores and tells the host's core browser (through the callback given to
// Init) when one is added or removed.
//
// The repositories are kept for the life of the process: this library has
// no storage of its own to keep them between sessions.
#pragma once

#include "dastrel/IIpMgrCallback.h"
#include "dastrel/IIpRepository.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <utility>
#include <vector>

namespace Dastrel {

// Where the user repositories would be stored between sessions.
enum UserRepositoryFile {
    UserRepositoryFileDefault = 0
};

}  // namespace Dastrel

class DastrelModel {
public:
    static DastrelModel& GetInstance();

    DastrelModel(const DastrelModel&) = delete;
    DastrelModel& operator=(const DastrelModel&) = delete;

    // Takes the host's callback (may be empty: then nobody is told about
    // changes). The storage is not used: see above.
    void Init(boost::shared_ptr<IIpMgrCallback> callback, Dastrel::UserRepositoryFile file);

    // Registers the repository at `location` under `name` and announces it.
    // A location already registered answers true with the repository kept
    // for it, announced no second time; an empty location is refused (false
    // and no repository).
    std::pair<bool, boost::shared_ptr<IIpRepository>> CreateUserRep(const std::string& location,
                                                                    const std::string& name);
    // Forgets the repository at `location` and announces its removal; false
    // when none is registered there.
    bool RemoveUserRep(const std::string& location);

    // This library offers no Tcl command of its own, so nothing is
    // registered.
    void RegisterCommands();

private:
    using Repositories = std::vector<boost::shared_ptr<IIpRepository>>;

    DastrelModel() = default;

    Repositories::iterator Find(const std::string& location);
    // The callback's handler of additions or removals, when there is one.
    IIpMgrCallback::RepositoryCallback Handler(bool added) const;

    boost::shared_ptr<IIpMgrCallback> m_callback;
    Repositories m_repositories;
};
