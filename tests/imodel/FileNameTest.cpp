#include "ProjectFolderScope.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/imodelUtl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

TEST(FileName, NullPointersAndSelfAssignmentKeepTheName)
{
    EXPECT_TRUE(ImodelFileName(static_cast<const char*>(nullptr)).empty());

    ImodelFileName name("hdl/top.v");
    name = static_cast<const char*>(nullptr);
    EXPECT_EQ(name.GetString(), "hdl/top.v");

    const ImodelFileName& self = name;
    name = self;
    EXPECT_EQ(name.GetString(), "hdl/top.v");
    name = name.GetString();
    EXPECT_EQ(name.GetString(), "hdl/top.v");
    name = name.c_str();
    EXPECT_EQ(name.GetString(), "hdl/top.v");

    // The text stays exactly as given: no normalisation on the way in.
    ImodelFileName windows("C:\\Proj\\HDL\\Top.v");
    EXPECT_EQ(windows.GetString(), "C:\\Proj\\HDL\\Top.v");
    ImodelFileName copy(windows);
    EXPECT_EQ(copy.GetString(), windows.GetString());
}

TEST(FileName, EqualityIgnoresCaseAndSeparatorsWhileOrderIsBytes)
{
    const std::vector<std::pair<std::string, std::string>> same = {
        {"/proj/hdl/top.v", "/PROJ/HDL/TOP.V"},
        {"/proj/hdl/top.v", "\\proj\\hdl\\top.v"},
        {"a\\B/c", "A/b\\C"},
        {"", ""},
    };
    for (const auto& [a, b] : same) {
        const ImodelFileName first(a), second(b);
        EXPECT_TRUE(first == second) << a << " / " << b;
        EXPECT_FALSE(first != second) << a << " / " << b;
        EXPECT_TRUE(first == b.c_str());
        EXPECT_FALSE(first != b.c_str());
        if (a != b) {
            EXPECT_TRUE(first < second || second < first) << a << " / " << b;
        }
    }

    const std::vector<std::pair<std::string, std::string>> different = {
        {"/proj/hdl/top.v", "/proj/hdl/top.vhd"},
        {"/proj//hdl/top.v", "/proj/hdl/top.v"},  // a doubled separator: different lengths
        {"/proj/hdl/top.v", "/proj/hdl/tap.v"},
        {"a", ""},
    };
    for (const auto& [a, b] : different) {
        const ImodelFileName first(a), second(b);
        EXPECT_FALSE(first == second) << a << " / " << b;
        EXPECT_TRUE(first != second) << a << " / " << b;
        EXPECT_FALSE(first == b.c_str());
        EXPECT_TRUE(first != b.c_str());
    }

    // A null character string compares as the empty name.
    EXPECT_TRUE(ImodelFileName() == static_cast<const char*>(nullptr));
    EXPECT_TRUE(ImodelFileName("x") != static_cast<const char*>(nullptr));

    // Sorted containers keep names that == finds equal as separate keys.
    const std::set<ImodelFileName> names = {"Top.v", "top.v", "TOP.V"};
    EXPECT_EQ(names.size(), 3u);
    EXPECT_TRUE(ImodelFileName("B") < ImodelFileName("a"));  // byte order, not case-folded
}

TEST(FileName, ProjectTokenStandsForTheProjectFolder)
{
    const ProjectFolderScope scope("/work/designs/alu");
    const ImodelFileName stored("<project>/hdl/a.v");
    EXPECT_TRUE(stored == ImodelFileName("/work/designs/alu/HDL/A.V"));
    EXPECT_TRUE(ImodelFileName("/work/designs/alu/hdl/a.v") == stored);
    EXPECT_TRUE(stored == "\\work\\designs\\alu\\hdl\\a.v");
    EXPECT_FALSE(stored == ImodelFileName("/work/designs/alu/hdl/b.v"));
    EXPECT_FALSE(stored == ImodelFileName("/work/designs/alu//hdl/a.v"));

    // Both sides with the token: compared as they stand.
    EXPECT_TRUE(stored == ImodelFileName("<project>\\HDL\\A.V"));
    EXPECT_TRUE(ImodelIsSameFileName("<project>/x", "<project>/X"));
}

TEST(FileName, ProjectTokenWithoutProjectFolderMatchesOnlyItself)
{
    const ProjectFolderScope scope("");
    const ImodelFileName stored("<project>/hdl/a.v");
    EXPECT_TRUE(stored == stored);
    EXPECT_TRUE(stored == ImodelFileName("<project>/hdl/a.v"));
    EXPECT_FALSE(stored == ImodelFileName("/hdl/a.v"));
    EXPECT_FALSE(stored == ImodelFileName("hdl/a.v"));
    EXPECT_TRUE(stored != ImodelFileName("/hdl/a.v"));
}
