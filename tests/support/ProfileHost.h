// A recording host whose profile manager names one active tool for every
// tool kind (by its options key, as "SYNPLIFY7_EXT") and offers one
// managed synthesis profile.
#pragma once

#include "RecordingHost.h"

#include "iprofile/IprofileManager.h"

#include <string>
#include <utility>
#include <vector>

class OneActiveToolProfiles : public IprofileManager {
public:
    explicit OneActiveToolProfiles(std::string activeKey, std::string synthesisToolName)
        : m_key(std::move(activeKey)), m_profiles{{ideSYNTHESIS, "Synplify", std::move(synthesisToolName), true}}
    {
    }
    bool FindActiveTool(ImodelFunctionType, std::string&, std::string&, std::string&, std::string&,
                        std::string& toolKey, bool&) override
    {
        toolKey = m_key;
        return true;
    }
    void BeginProjectRead() override {}
    void EndProjectRead() override {}
    void AddProjectProfile(ImodelFunctionType, const std::string&, const std::string&, const std::string&,
                           const std::string&, bool) override
    {
    }
    void GetProjectProfile(ImodelFunctionType, std::string&, std::string&, std::string&, std::string&, std::string&,
                           bool&) override
    {
    }
    const std::vector<IprofileManagedProfile>& GetProfileList() const override { return m_profiles; }

private:
    std::string m_key;
    std::vector<IprofileManagedProfile> m_profiles;
};

class ProfileHost : public RecordingHost {
public:
    explicit ProfileHost(const std::string& activeKey, const std::string& synthesisToolName = "Synplify Pro")
        : m_profiles(activeKey, synthesisToolName)
    {
    }
    IprofileManager* GetProfileManager() override { return &m_profiles; }

private:
    OneActiveToolProfiles m_profiles;
};
