#include "itool/ItoolModelSimPathOptions.h"

#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <string>

namespace {

class ItoolModelSimPathOptionsTest : public testing::Test {
protected:
    void SetUp() override
    {
        DefReset();
        ASSERT_TRUE(DefLoadDefaultsFromText("FAM = ZX3\n"
                                            "IDE_MODELSIM_LIB_LOC_DEFAULT = /opt/sim/lib\n"
                                            "IDE_MODELSIM_LIB_VHDL_SUBDIR = vhdl\n"
                                            "IDE_MODELSIM_LIB_VLOG_SUBDIR = vlog\n"
                                            "IDE_MODELSIM_LIB_NEUTRAL_SUBDIR = neutral\n"
                                            "IDE_MODELSIM_VHDL_FAM = zx3_vhdl\n"
                                            "IDE_MODELSIM_VHDL_FAM[FAM=ZX7] = zx7_vhdl\n"
                                            "IDE_MODELSIM_VLOG_FAM = zx3_vlog\n"));
    }
    void TearDown() override { DefReset(); }
};

}  // namespace

TEST_F(ItoolModelSimPathOptionsTest, TheDefaultPathIsRootSubFolderAndFamilyLibraryAndNeedsTheRoot)
{
    std::string path;
    EXPECT_TRUE(ItoolModelSimPathOptions::GetModelDefaultLibPath(path, true, nullptr));
    EXPECT_EQ(path, "/opt/sim/lib/vhdl/zx3_vhdl");
    EXPECT_TRUE(ItoolModelSimPathOptions::GetModelDefaultLibPath(path, false, nullptr));
    EXPECT_EQ(path, "/opt/sim/lib/vlog/zx3_vlog");

    const std::string zx7 = "ZX7";
    EXPECT_TRUE(ItoolModelSimPathOptions::GetModelDefaultLibPath(path, true, &zx7));
    EXPECT_EQ(path, "/opt/sim/lib/vhdl/zx7_vhdl");
    // The family was only lent for the read.
    EXPECT_EQ(DefGetFL("FAM").value_or(""), "ZX3");

    ASSERT_EQ(DefSetFL("IDE_MODELSIM_IS_LIB_NEUTRAL", "1"), 0);
    EXPECT_TRUE(ItoolModelSimPathOptions::GetModelDefaultLibPath(path, false, nullptr));
    EXPECT_EQ(path, "/opt/sim/lib/neutral/zx3_vlog");

    // The project uses no custom path: the default answers.
    std::string libPath;
    EXPECT_TRUE(ItoolModelSimPathOptions::GetModelLibPath(libPath, false));
    EXPECT_EQ(libPath, path);

    // Without a root folder there is no default path.
    DefReset();
    ASSERT_TRUE(DefLoadDefaultsFromText("IDE_MODELSIM_VHDL_FAM = zx3_vhdl\n"));
    path = "stale";
    EXPECT_FALSE(ItoolModelSimPathOptions::GetModelDefaultLibPath(path, true, nullptr));
    EXPECT_EQ(path, "");

    // An empty sub-folder adds no separator of its own.
    ASSERT_TRUE(DefLoadDefaultsFromText("IDE_MODELSIM_LIB_LOC_DEFAULT = /lib\nIDE_MODELSIM_VHDL_FAM = zx3_vhdl\n"));
    EXPECT_TRUE(ItoolModelSimPathOptions::GetModelDefaultLibPath(path, true, nullptr));
    EXPECT_EQ(path, "/lib/zx3_vhdl");
}
