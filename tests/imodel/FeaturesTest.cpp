// Feature switches (the table's behaviour and one golden dump), the switches
// that combine options and project, timing lines, the model's own string
// helpers and the folder-copy description.
#include "Golden.h"
#include "OptionsScope.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelCopyDirTool.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using FeaturesTest = OptionsFixture;

struct Switch {
    const char* function;
    bool (*answer)();
    const char* variable;
};

const Switch kSwitches[] = {
#define FEATURES_TEST_ROW(function, variable) {#function, function, variable},
    IMODEL_SIMPLE_FEATURE_SWITCHES(FEATURES_TEST_ROW)
#undef FEATURES_TEST_ROW
};

}  // namespace

TEST_F(FeaturesTest, EverySimpleSwitchIsOnExactlyWhenItsOwnVariableReadsOne)
{
    std::set<std::string> variables;
    std::string dump;
    for (const Switch& row : kSwitches) {
        SCOPED_TRACE(row.variable);
        EXPECT_TRUE(variables.insert(row.variable).second);
        dump += std::string(row.function) + " " + row.variable + "\n";
        EXPECT_FALSE(row.answer());
        for (const auto& [text, on] : std::vector<std::pair<const char*, bool>>{
                 {"1", true}, {"2", false}, {"TRUE", true}, {"0", false}, {"not a number", false}}) {
            DefSetFL(row.variable, text);
            EXPECT_EQ(row.answer(), on) << text;
            // Asked again at every call, and of its own variable only.
            for (const Switch& other : kSwitches) {
                if (std::string(other.variable) != row.variable) {
                    EXPECT_FALSE(other.answer()) << other.function;
                }
            }
        }
        DefUnset(row.variable);
    }
    ExpectMatchesGolden("feature_switches.txt", dump);
}

TEST_F(FeaturesTest, CopyDirToolNamesTargetsAndReadOnlyCopies)
{
    ImodelCopyDirTool tool("/src/core", "/dst/core", "*.v");
    ImodelFileName target;
    EXPECT_TRUE(tool.NeedToCopyFolder("C:\\src\\core\\other\\", target));
    EXPECT_EQ("/dst/core/other", target.GetString());

    bool readOnly = true;
    EXPECT_TRUE(tool.NeedToCopyFile("/src/core/top.vhd", target, readOnly));
    EXPECT_EQ("/dst/core/top.vhd", target.GetString());
    EXPECT_FALSE(readOnly);

    std::vector<ImodelFileName> exempt = {"vhd", ".Log"};
    tool.MakeCopiedFilesReadOnly(true, &exempt);
    for (const auto& [name, expected] :
         std::vector<std::pair<const char*, bool>>{{"/src/core/top.VHD", false},
                                                   {"/src/core/run.log", false},
                                                   {"/src/core/top.v", true},
                                                   {"/src/core/Makefile", true},
                                                   {"/src/core/.vhd", true}}) {  // a dot-file has no extension
        EXPECT_TRUE(tool.NeedToCopyFile(name, target, readOnly));
        EXPECT_EQ(readOnly, expected) << name;
    }

    tool.ChangeFoldersForRecurseCall("/src/core/sub", "/dst/core/sub/");
    EXPECT_TRUE(tool.NeedToCopyFile("/src/core/sub/a.v", target, readOnly));
    EXPECT_EQ("/dst/core/sub/a.v", target.GetString());

    ImodelCopyDirTool intoRoot("/src", "/", "");
    EXPECT_TRUE(intoRoot.NeedToCopyFile("/src/a.v", target, readOnly));
    EXPECT_EQ("/a.v", target.GetString());
}
