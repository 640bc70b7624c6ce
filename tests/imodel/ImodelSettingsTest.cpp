#include "imodel/model/Imodel.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Switch {
    const char* variable;
    bool (Imodel::*answer)();
    bool defaultValue;
    bool reloadable;
};

// Switches 14 to 16 answer through the packager operations (below).
const std::vector<Switch> kSwitches = {
    {"DEBUG_MSG", &Imodel::IsDebugMsg, false, true},
    {"DEBUG_TIMER", &Imodel::IsDebugTimer, false, true},
    {"DEBUG_STATE", &Imodel::IsDebugState, false, true},
    {"IDE_TIMER_ENABLED", &Imodel::IsTimerEnabled, true, true},
    {"IDE_IMPORT_FILES_RIGHT_AWAY", &Imodel::ImportFilesRightAway, true, true},
    {"IDE_REPOSITORY_TIMER_DISABLED", &Imodel::IsRepositoryTimerDisabled, false, true},
    {"IDE_KILTORA_PARSE_CXF_ONOPEN", &Imodel::ParseCxfOnOpen, true, true},
    {"IDE_SAFE_UPDATE_VIEWS", &Imodel::SafeUpdateViews, true, true},
    {"IDE_OPEN_ALL_CORE_FILES_IN_READONLY", &Imodel::OpenAllCoreFilesInReadOnly, true, true},
    {"IDE_UPDATE_ALWAYS_SEND_MESSAGE", &Imodel::UpdateAlwaysSendMessage, false, true},
    {"IDE_INTEGRATE_DREMMET", &Imodel::IntegrateDremmet, true, true},
    {"IDE_LINKING_ENABLED", &Imodel::IsLinkingEnabled, true, true},
    {"IDE_PACKAGER_ENABLED", &Imodel::IsPackagerEnabled, false, false},
    {"IDE_INCLUDE_FOR_SIMULATION_ENABLED", &Imodel::IsIncludeForSimulationEnabled, false, false},
};

// Each test reads the switches of a fresh wizard instance: they are cached
// per model, and the wizard's are its own.
class ImodelSettings : public ::testing::Test {
protected:
    void SetUp() override { DefReset(); }
    void TearDown() override
    {
        Imodel::DestroyNewProjectWizardInstance(m_model);
        DefReset();
    }
    Imodel& Fresh()
    {
        Imodel::DestroyNewProjectWizardInstance(m_model);
        m_model = Imodel::CreateNewProjectWizardInstance();
        return *m_model;
    }

private:
    Imodel* m_model = nullptr;
};

}  // namespace

TEST_F(ImodelSettings, SwitchesAnswerTheirDefaultsThenTheOptionsValues)
{
    Imodel& defaults = Fresh();
    for (const Switch& s : kSwitches) EXPECT_EQ((defaults.*s.answer)(), s.defaultValue) << s.variable;
    EXPECT_FALSE(defaults.IsPackagerEnabledForUserIP());

    for (const Switch& s : kSwitches) DefSetFL(s.variable, s.defaultValue ? "0" : "1");
    Imodel& set = Fresh();
    for (const Switch& s : kSwitches) EXPECT_EQ((set.*s.answer)(), !s.defaultValue) << s.variable;
}

TEST_F(ImodelSettings, OnlyTheStoredOneIsTrue)
{
    const std::vector<std::pair<const char*, bool>> cases = {{nullptr, true}, {"0", false},  {"2", false}, {"1", true},
                                                             {"TRUE", true},  {"no", false}, {"x", true}};
    for (const auto& [value, expected] : cases) {
        DefReset();
        if (value) DefSetFL("IDE_LINKING_ENABLED", value);
        EXPECT_EQ(Fresh().IsLinkingEnabled(), expected) << (value ? value : "unset");
    }
}

TEST_F(ImodelSettings, ReadOnceAndReloadOnlyTheFirstTwelve)
{
    Imodel& model = Fresh();
    for (const Switch& s : kSwitches) (model.*s.answer)();  // first reads: defaults
    for (const Switch& s : kSwitches) DefSetFL(s.variable, s.defaultValue ? "0" : "1");
    for (const Switch& s : kSwitches) EXPECT_EQ((model.*s.answer)(), s.defaultValue) << s.variable;

    EXPECT_FALSE(model.ReloadBoolSettings());
    for (const Switch& s : kSwitches)
        EXPECT_EQ((model.*s.answer)(), s.reloadable ? !s.defaultValue : s.defaultValue) << s.variable;

    // A variable gone after a reload keeps the value read last.
    ASSERT_FALSE(model.IsTimerEnabled());
    DefUnset("IDE_TIMER_ENABLED");
    model.ReloadBoolSettings();
    EXPECT_FALSE(model.IsTimerEnabled());
}

TEST_F(ImodelSettings, PackagerSwitchesNeedThePackagerAndAComponent)
{
    DefSetFL("IDE_PACKAGER_ENABLED_FOR_USERIP", "1");
    DefSetFL("IDE_PACKAGER_ENABLED_FOR_VY", "1");
    DefSetFL("IDE_PACKAGER_ENABLED_FOR_KT", "1");
    EXPECT_FALSE(Fresh().IsPackagerEnabledForUserIP());

    DefSetFL("IDE_PACKAGER_ENABLED", "1");
    Imodel& model = Fresh();
    EXPECT_TRUE(model.IsPackagerEnabledForUserIP());
    EXPECT_FALSE(model.IsPackagerEnabledFor(nullptr));

    // Read once, never again: a later change is not seen, also after a reload.
    DefSetFL("IDE_PACKAGER_ENABLED", "0");
    DefSetFL("IDE_PACKAGER_ENABLED_FOR_USERIP", "0");
    model.ReloadBoolSettings();
    EXPECT_TRUE(model.IsPackagerEnabled());
    EXPECT_TRUE(model.IsPackagerEnabledForUserIP());
}
