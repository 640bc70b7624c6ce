// The tool profiles of the quorlane shell. A terminal has no profiles of its
// own: it keeps those of the open project, so that they are written back
// when the project is saved. While a project file is read every tool kind
// is offered as a user-managed profile named by its keyword; afterwards the
// list holds the kinds that received a profile, in the order they came.
// A kind's tool is active when its profile names a tool: the tool is the
// key of the active tool, and the profile's location its executable.
#pragma once

#include "iprofile/IprofileManager.h"

#include <map>
#include <string>
#include <vector>

class ConsoleProfileManager : public IprofileManager {
public:
    ConsoleProfileManager();

    bool FindActiveTool(ImodelFunctionType kind, std::string& profile, std::string& info, std::string& version,
                        std::string& executable, std::string& toolKey, bool& batch) override;
    // Forgets the profiles of the project read before.
    void BeginProjectRead() override;
    void EndProjectRead() override;
    void AddProjectProfile(ImodelFunctionType kind, const std::string& profile, const std::string& tool,
                           const std::string& location, const std::string& parameters, bool batch) override;
    void GetProjectProfile(ImodelFunctionType kind, std::string& profile, std::string& tool, std::string& otherText,
                           std::string& location, std::string& parameters, bool& batch) override;
    const std::vector<IprofileManagedProfile>& GetProfileList() const override;

    // Forgets every profile (the project was closed).
    void Clear();

private:
    struct Profile {
        std::string profile;
        std::string tool;
        std::string location;
        std::string parameters;
        bool batch = false;
    };

    std::vector<IprofileManagedProfile> m_everyKind;
    std::vector<IprofileManagedProfile> m_held;
    std::map<int, Profile> m_profiles;
    bool m_reading = false;
};
