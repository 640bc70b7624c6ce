#include "ndb/NdbWorld.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

class NdbWorld {
public:
    explicit NdbWorld(std::string name) : m_name(std::move(name)) {}
    const std::string& GetName() const { return m_name; }

private:
    std::string m_name;
};

namespace {

// Every world alive, owned here, so that a handle can be checked before it
// is used and nothing is left behind at exit.
struct Worlds {
    std::mutex lock;
    std::vector<std::unique_ptr<NdbWorld>> alive;

    auto Find(const NdbWorld* world)
    {
        return std::find_if(alive.begin(), alive.end(),
                            [world](const std::unique_ptr<NdbWorld>& held) { return held.get() == world; });
    }
};

Worlds& TheWorlds()
{
    static Worlds worlds;
    return worlds;
}

}  // namespace

NdbWorld* NdbCreateDefaultWorld(const char* name)
{
    Worlds& worlds = TheWorlds();
    const std::lock_guard<std::mutex> guard(worlds.lock);
    worlds.alive.push_back(std::make_unique<NdbWorld>(name ? name : ""));
    return worlds.alive.back().get();
}

void NdbDelAll(NdbWorld* world)
{
    Worlds& worlds = TheWorlds();
    const std::lock_guard<std::mutex> guard(worlds.lock);
    const auto found = worlds.Find(world);
    if (found != worlds.alive.end()) worlds.alive.erase(found);
}

std::string NdbGetWorldName(const NdbWorld* world)
{
    Worlds& worlds = TheWorlds();
    const std::lock_guard<std::mutex> guard(worlds.lock);
    const auto found = worlds.Find(world);
    return found == worlds.alive.end() ? std::string() : (*found)->GetName();
}

int NdbGetWorldCount()
{
    Worlds& worlds = TheWorlds();
    const std::lock_guard<std::mutex> guard(worlds.lock);
    return static_cast<int>(worlds.alive.size());
}
