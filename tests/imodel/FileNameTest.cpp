#include "ProjectFolderScope.h"

#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileName.h"
#include "imodel/names/imodelUtl.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

TEST(FileName, NullPointersAndSelfAssignmentKeepTheNameAsGiven)
{
    EXPECT_TRUE(ImodelFileName(static_cast<const char*>(nullptr)).empty());
    ImodelFileName name("C:\\Proj\\HDL\\Top.v");  // no normalisation on the way in
    name = static_cast<const char*>(nullptr);
    const ImodelFileName& self = name;
    name = self;
    name = name.c_str();
    EXPECT_EQ(name.GetString(), "C:\\Proj\\HDL\\Top.v");
}

TEST(FileName, EqualityIgnoresCaseAndSeparatorsWhileOrderIsBytes)
{
    const std::pair<std::string, std::string> same[] = {
        {"/proj/hdl/top.v", "/PROJ/HDL/TOP.V"}, {"/proj/hdl/top.v", "\\proj\\hdl\\top.v"}, {"", ""}};
    for (const auto& [a, b] : same) {
        EXPECT_TRUE(ImodelFileName(a) == ImodelFileName(b) && ImodelFileName(a) == b.c_str()) << a << " / " << b;
        if (a != b) {
            EXPECT_TRUE(ImodelFileName(a) < ImodelFileName(b) || ImodelFileName(b) < ImodelFileName(a));
        }
    }
    const std::pair<std::string, std::string> different[] = {
        {"/proj/hdl/top.v", "/proj/hdl/top.vhd"}, {"/proj//hdl/top.v", "/proj/hdl/top.v"}, {"a", ""}};
    for (const auto& [a, b] : different)
        EXPECT_TRUE(ImodelFileName(a) != ImodelFileName(b) && ImodelFileName(a) != b.c_str()) << a << " / " << b;
    EXPECT_TRUE(ImodelFileName() == static_cast<const char*>(nullptr));
    // Sorted containers keep names that == finds equal as separate keys.
    EXPECT_EQ((std::set<ImodelFileName>{"Top.v", "top.v", "TOP.V"}).size(), 3u);
    EXPECT_TRUE(ImodelFileName("B") < ImodelFileName("a"));  // byte order, not case-folded
}

TEST(FileName, ProjectTokenStandsForTheProjectFolderAndWithoutOneOnlyForItself)
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

    // Without a project folder the token matches only itself.
    const ProjectFolderScope none("");
    EXPECT_TRUE(stored == stored);
    EXPECT_TRUE(stored == ImodelFileName("<project>/hdl/a.v"));
    EXPECT_FALSE(stored == ImodelFileName("/hdl/a.v"));
    EXPECT_FALSE(stored == ImodelFileName("hdl/a.v"));
    EXPECT_TRUE(stored != ImodelFileName("/hdl/a.v"));
}
