// The host's tool-profile manager: which outside tool (executable, extra
// parameters, batch mode) serves each tool kind of the flow. The host owns
// it and hands it out through ImodelHost::GetProfileManager (null when it
// has none); the library asks it for the active tool of a kind, keeps the
// project's profiles in the project file and looks up managed profiles.
#pragma once

#include "imodel/names/ImodelToolKinds.h"
#include "iprofile/IprofileManagedProfile.h"

#include <string>
#include <vector>

class IprofileManager {
public:
    virtual ~IprofileManager() = default;

    // Whether a tool is active for the kind. The texts name it; the meaning
    // of all but the last is the host's: `toolKey` is the name of an options
    // variable which, with "_DISP" appended, gives the tool's display name.
    virtual bool FindActiveTool(ImodelFunctionType kind, std::string& profile, std::string& info, std::string& version,
                                std::string& executable, std::string& toolKey, bool& batch) = 0;
    // Brackets the reading of a project file's profiles.
    virtual void BeginProjectRead() = 0;
    virtual void EndProjectRead() = 0;
    // Stores a profile read from a project file.
    virtual void AddProjectProfile(ImodelFunctionType kind, const std::string& profile, const std::string& tool,
                                   const std::string& location, const std::string& parameters, bool batch) = 0;
    // The profile values of a tool kind; for simulation the location is the
    // simulator's executable.
    virtual void GetProjectProfile(ImodelFunctionType kind, std::string& profile, std::string& tool,
                                   std::string& otherText, std::string& location, std::string& parameters,
                                   bool& batch) = 0;
    // The managed profiles, in order.
    virtual const std::vector<IprofileManagedProfile>& GetProfileList() const = 0;
    // Takes in the tool profiles of a profile file (its full name); what
    // `flag` asks is the manager's (the import of files passes true). True
    // when imported; a manager that reads no profile files imports none.
    virtual bool ImportProfiles(const std::string& /*fullName*/, bool /*flag*/) { return false; }

    // The first profile of the kind; null when there is none.
    const IprofileManagedProfile* GetManagedProfile(ImodelFunctionType kind) const
    {
        for (const IprofileManagedProfile& profile : GetProfileList())
            if (profile.GetToolKind() == kind) return &profile;
        return nullptr;
    }
    // The active tool of the kind (FindActiveTool's answer, filling `info` and
    // `key`) and its display name: the option named by the key with "_DISP"
    // appended, else the option named by the key, else "'Unknown Tool'".
    bool GetActiveTool(ImodelFunctionType kind, std::string& displayName, std::string& info, std::string& key);
    // Whether the profile of the kind exists and is user-managed.
    bool IsUserManagedProfile(ImodelFunctionType kind) const
    {
        const IprofileManagedProfile* profile = GetManagedProfile(kind);
        return profile && !profile->IsManaged();
    }

protected:
    IprofileManager() = default;
    IprofileManager(const IprofileManager&) = delete;
    IprofileManager& operator=(const IprofileManager&) = delete;
};
