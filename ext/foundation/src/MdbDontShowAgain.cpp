// Questions the user may silence for good; the choice lives in the options.
#include <foundation/Def.h>
#include <foundation/Mdb.h>

#include <algorithm>

MdbDontShowAgainManager& MdbDontShowAgainManager::GetInstance()
{
    static MdbDontShowAgainManager manager;
    return manager;
}

const MdbDontShowAgainManager::Entry* MdbDontShowAgainManager::Find(const std::string& key) const
{
    for (const auto& [name, entry] : m_entries) {
        if (name == key) return &entry;
    }
    return nullptr;
}

void MdbDontShowAgainManager::RegisterQuery(const std::string& key, int value, const std::string& label, int, int)
{
    if (key.empty()) return;
    std::lock_guard lock(m_lock);
    const Entry entry{value, label};
    const auto known =
        std::find_if(m_entries.begin(), m_entries.end(), [&](const auto& named) { return named.first == key; });
    if (known != m_entries.end()) {
        known->second = entry;
    } else {
        m_entries.emplace_back(key, entry);
    }
}

bool MdbDontShowAgainManager::IsRegistered(const std::string& key) const
{
    std::lock_guard lock(m_lock);
    return Find(key) != nullptr;
}

bool MdbDontShowAgainManager::IsShown(const std::string& key) const
{
    int value = 0;
    {
        std::lock_guard lock(m_lock);
        const Entry* entry = Find(key);
        if (!entry) return true;
        value = entry->defaultValue;
    }
    // Read outside the lock: the options have their own.
    int stored = 0;
    if (DefGetIntFL(key.c_str(), &stored) == 0) value = stored;
    return value == 1;
}

bool MdbDontShowAgainManager::SetShown(const std::string& key, bool shown)
{
    return IsRegistered(key) && DefSetInt(key.c_str(), shown ? 1 : 0) == 0;
}

std::string MdbDontShowAgainManager::GetLabel(const std::string& key) const
{
    std::lock_guard lock(m_lock);
    const Entry* entry = Find(key);
    return entry ? entry->label : std::string();
}

std::vector<std::string> MdbDontShowAgainManager::GetKeys() const
{
    std::lock_guard lock(m_lock);
    std::vector<std::string> keys;
    keys.reserve(m_entries.size());
    for (const auto& [name, entry] : m_entries) keys.push_back(name);
    return keys;
}
