// The model's named switches: every row of the table reads its variable once
// with its default, only the reloadable rows read it again, and one golden
// dump of the table.
#include "Golden.h"
#include "OptionsScope.h"

#include "src/imodel/model/imodelImpl.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using BoolSetting = imodelImpl::BoolSetting;

struct Row {
    BoolSetting setting;
    const char* variable;
    bool defaultValue;
    bool reloadable;
};

const Row kRows[] = {
#define SETTINGS_TEST_ROW(name, variable, defaultValue, reloadable)                                                    \
    {BoolSetting::name, variable, defaultValue, reloadable},
    IMODEL_BOOL_SETTINGS(SETTINGS_TEST_ROW)
#undef SETTINGS_TEST_ROW
};

// Each test reads the switches of a fresh wizard instance: they are cached
// per model, and the wizard's are its own.
class ImodelSettings : public OptionsFixture {
protected:
    void TearDown() override { Imodel::DestroyNewProjectWizardInstance(m_model); }
    imodelImpl& Fresh()
    {
        Imodel::DestroyNewProjectWizardInstance(m_model);
        m_model = Imodel::CreateNewProjectWizardInstance();
        return dynamic_cast<imodelImpl&>(*m_model);
    }

private:
    std::unique_ptr<Imodel> m_model;
};

}  // namespace

TEST_F(ImodelSettings, EveryRowIsReadOnceWithItsDefaultAndOnlyReloadableRowsAgain)
{
    std::set<std::string> variables;
    std::string dump;
    for (const Row& row : kRows) {
        EXPECT_TRUE(variables.insert(row.variable).second) << row.variable;
        dump += std::string(row.variable) + " default=" + (row.defaultValue ? "1" : "0") +
                (row.reloadable ? " reloadable" : "") + "\n";
    }
    EXPECT_EQ(std::size(kRows), static_cast<std::size_t>(BoolSetting::Count));
    ExpectMatchesGolden("named_settings.txt", dump);

    imodelImpl& model = Fresh();
    for (const Row& row : kRows) EXPECT_EQ(model.Setting(row.setting), row.defaultValue) << row.variable;
    for (const Row& row : kRows) DefSetFL(row.variable, row.defaultValue ? "0" : "1");
    for (const Row& row : kRows) EXPECT_EQ(model.Setting(row.setting), row.defaultValue) << row.variable;
    model.ReloadBoolSettings();
    for (const Row& row : kRows)
        EXPECT_EQ(model.Setting(row.setting), row.reloadable != row.defaultValue) << row.variable;
    EXPECT_EQ(Fresh().IsLinkingEnabled(), false);  // a fresh model reads the set values

    // A variable gone after a reload keeps the value read last.
    imodelImpl& again = Fresh();
    ASSERT_FALSE(again.IsTimerEnabled());
    DefUnset("IDE_TIMER_ENABLED");
    again.ReloadBoolSettings();
    EXPECT_FALSE(again.IsTimerEnabled());
}
