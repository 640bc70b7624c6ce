// The tool profiles of the quorlane shell. A terminal has no profiles of its
// own: it keeps those of the open project, so that they are written back
// when the project is saved. While a project file is read every tool kind
// is offered as a user-managed profile named by its keyword; afterwards the
// list holds the kinds that received a profile, in the order they came.
// A kind's tool is active when its profile names a tool: the tool is the
// key of the active tool, and the profile's location its executable.
//
// A profile file (import_files -profiles) brings profiles into the project:
// one section per tool kind, named as the project file names the kind, with
// the project file's keys ("#" or ";" starts a comment line):
//
//   [ideSYNTHESIS]
//   Profile = Synplify Pro
//   Tool = SYNPLIFY
//   Location = /opt/synplify/bin/synplify
//   AdditionalParameter =
//   Batch = false
//
// A profile replaces the project's profile of its kind; the project file
// keeps it from the next save.
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
    // Takes in every profile of the file, or, when a line of it is wrong or
    // it holds no profile, none: the line is reported with what is wrong.
    bool ImportProfiles(const std::string& fullName, bool flag) override;

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
