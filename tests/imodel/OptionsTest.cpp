// Options backed by the options database.
#include "OptionsScope.h"

#include "imodel/options/ImodelStringDefVarOption.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

using OptionsTest = OptionsFixture;

// Counts the real changes the option reports.
class CountingOption : public ImodelStringDefVarOption {
public:
    using ImodelStringDefVarOption::ImodelStringDefVarOption;
    void ValueChanged() override { ++changes; }
    int changes = 0;
};

template <class Option>
std::string Written(Option& option)
{
    std::ostringstream out;
    option.Write(&out);
    return out.str();
}

}  // namespace

TEST_F(OptionsTest, TheVariableIsTheStateAndChangesAreReportedOnlyWhenReal)
{
    CountingOption option("IDE_OPT_TEXT", "fallback", "OptText");
    // Unset: the default answers, but nothing is written.
    EXPECT_EQ("fallback", option.GetValue());
    EXPECT_EQ("", Written(option));
    option.SetDefault();
    EXPECT_EQ(0, option.changes);
    EXPECT_EQ("OptText=fallback\n", Written(option));

    option.Read("OptText", "a=b c");
    option.Read("OptText", "a=b c");
    option.Read("opttext", "other");  // keys compare exactly
    EXPECT_EQ(1, option.changes);
    EXPECT_EQ("OptText=a=b c\n", Written(option));
    DefSetFL("IDE_OPT_TEXT", "changed elsewhere");
    EXPECT_EQ("changed elsewhere", CountingOption("IDE_OPT_TEXT", "", "").GetValue());

    // A text the line-oriented stores cannot hold is refused and changes nothing.
    EXPECT_FALSE(option.SetValue("two\nlines"));
    EXPECT_FALSE(option.SetValue(nullptr));
    EXPECT_EQ("changed elsewhere", option.GetValue());
    EXPECT_EQ(1, option.changes);

    // Without a key the option stays out of the project file.
    CountingOption user("IDE_USER_ONLY", "d", "");
    EXPECT_TRUE(user.IsUSERDefVar());
    EXPECT_TRUE(user.SetValue("set"));
    EXPECT_EQ("", Written(user));
}
