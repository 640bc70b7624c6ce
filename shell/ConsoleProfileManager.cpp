#include "ConsoleProfileManager.h"

#include <algorithm>

namespace {

IprofileManagedProfile UserProfileOf(ImodelFunctionType kind)
{
    std::string keyword;
    ImodelWriteToolNameString(kind, keyword);
    return IprofileManagedProfile(kind, keyword, std::string(), false);
}

}  // namespace

ConsoleProfileManager::ConsoleProfileManager()
{
    for (int kind = 0; kind < ImodelFunctionTypeCount; ++kind)
        m_everyKind.push_back(UserProfileOf(static_cast<ImodelFunctionType>(kind)));
}

bool ConsoleProfileManager::FindActiveTool(ImodelFunctionType kind, std::string& profile, std::string& info,
                                           std::string& version, std::string& executable, std::string& toolKey,
                                           bool& batch)
{
    const auto found = m_profiles.find(kind);
    info.clear();
    version.clear();
    toolKey.clear();
    if (found == m_profiles.end() || found->second.tool.empty()) {
        profile.clear();
        executable.clear();
        batch = false;
        return false;
    }
    profile = found->second.profile;
    executable = found->second.location;
    toolKey = found->second.tool;
    batch = found->second.batch;
    return true;
}

void ConsoleProfileManager::BeginProjectRead()
{
    Clear();
    m_reading = true;
}

void ConsoleProfileManager::EndProjectRead() { m_reading = false; }

void ConsoleProfileManager::AddProjectProfile(ImodelFunctionType kind, const std::string& profile,
                                              const std::string& tool, const std::string& location,
                                              const std::string& parameters, bool batch)
{
    // An older project names an empty profile for each section it had.
    if (profile.empty() && tool.empty() && location.empty() && parameters.empty() && !batch) return;
    if (!m_profiles.count(kind)) m_held.push_back(UserProfileOf(kind));
    m_profiles[kind] = Profile{profile, tool, location, parameters, batch};
}

void ConsoleProfileManager::GetProjectProfile(ImodelFunctionType kind, std::string& profile, std::string& tool,
                                              std::string& otherText, std::string& location, std::string& parameters,
                                              bool& batch)
{
    const auto found = m_profiles.find(kind);
    const Profile held = found == m_profiles.end() ? Profile() : found->second;
    profile = held.profile;
    tool = held.tool;
    otherText.clear();
    location = held.location;
    parameters = held.parameters;
    batch = held.batch;
}

const std::vector<IprofileManagedProfile>& ConsoleProfileManager::GetProfileList() const
{
    return m_reading ? m_everyKind : m_held;
}

void ConsoleProfileManager::Clear()
{
    m_held.clear();
    m_profiles.clear();
}
