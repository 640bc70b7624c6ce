#include "ConsoleProfileManager.h"

#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

namespace {

IprofileManagedProfile UserProfileOf(ImodelFunctionType kind)
{
    std::string keyword;
    ImodelWriteToolNameString(kind, keyword);
    return IprofileManagedProfile(kind, keyword, std::string(), false);
}

// The tool kind a profile file's section names: the kind's keyword as the
// project file stores it, letter case and surrounding blanks ignored.
std::optional<ImodelFunctionType> KindNamed(std::string_view name)
{
    for (int kind = 0; kind < ImodelFunctionTypeCount; ++kind) {
        std::string keyword;
        ImodelWriteToolNameString(static_cast<ImodelFunctionType>(kind), keyword);
        if (ImodelIsSameStrNoCase(std::string(UtlTrim(keyword)), std::string(name)))
            return static_cast<ImodelFunctionType>(kind);
    }
    return std::nullopt;
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

bool ConsoleProfileManager::ImportProfiles(const std::string& fullName, bool)
{
    std::string text;
    if (!SysReadFile(fullName, text)) {
        SysPrintf("Error: '%s' cannot be read.\n", fullName.c_str());
        return false;
    }
    std::vector<std::pair<ImodelFunctionType, Profile>> read;
    std::size_t lineNumber = 0;
    const auto wrong = [&](const std::string& what) {
        SysPrintf("Error: '%s', line %zu: %s\n", fullName.c_str(), lineNumber, what.c_str());
        return false;
    };
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string_view line = UtlTrim(std::string_view(text).substr(start, end - start));
        start = end + 1;
        ++lineNumber;
        if (line.empty() || line.front() == '#' || line.front() == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') return wrong("a section name must end with ']'.");
            const std::string_view name = UtlTrim(line.substr(1, line.size() - 2));
            const std::optional<ImodelFunctionType> kind = KindNamed(name);
            if (!kind) return wrong("'" + std::string(name) + "' names no tool kind.");
            const bool again =
                std::any_of(read.begin(), read.end(), [&](const auto& profile) { return profile.first == *kind; });
            if (again) return wrong("a second profile of '" + std::string(name) + "'.");
            read.emplace_back(*kind, Profile());
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return wrong("a line must be a [section] or a key = value.");
        const std::string key(UtlTrim(line.substr(0, equals)));
        const std::string value(UtlTrim(line.substr(equals + 1)));
        if (read.empty()) return wrong("'" + key + "' stands before the first [section].");
        Profile& profile = read.back().second;
        if (ImodelIsSameStrNoCase(key, "Profile")) {
            profile.profile = value;
        } else if (ImodelIsSameStrNoCase(key, "Tool")) {
            profile.tool = value;
        } else if (ImodelIsSameStrNoCase(key, "Location")) {
            profile.location = value;
        } else if (ImodelIsSameStrNoCase(key, "AdditionalParameter")) {
            profile.parameters = value;
        } else if (ImodelIsSameStrNoCase(key, "Batch")) {
            if (!ImodelIsSameStrNoCase(value, "true") && !ImodelIsSameStrNoCase(value, "false"))
                return wrong("Batch is true or false, not '" + value + "'.");
            profile.batch = ImodelIsSameStrNoCase(value, "true");
        } else {
            return wrong("'" + key + "' is no key of a profile (Profile, Tool, Location, AdditionalParameter, Batch).");
        }
    }
    if (read.empty()) {
        SysPrintf("Error: '%s' holds no tool profile.\n", fullName.c_str());
        return false;
    }
    for (const auto& [kind, profile] : read)
        AddProjectProfile(kind, profile.profile, profile.tool, profile.location, profile.parameters, profile.batch);
    return true;
}

void ConsoleProfileManager::Clear()
{
    m_held.clear();
    m_profiles.clear();
}
