// Path texts: qualification, joining to folders, separators and comparison.
#include "foundation/Sys.h"

#include <gtest/gtest.h>

// Absolute paths are checked against dot resolution by UtlResolveDotsTest.
TEST(SysPath, QualifiesAbsolutePathsLexically)
{
    // Windows separators are read as "/".
    EXPECT_EQ(SysGetQualifiedPath("\\proj\\hdl\\..\\src\\top.v"), "/proj/src/top.v");
    EXPECT_EQ(UtlGetQualifiedPath("/x/y/.."), "/x");
    EXPECT_EQ(SysGetQualifiedPath(""), "");
    // Names that only look like "." or ".." are kept.
    EXPECT_EQ(SysGetQualifiedPath("/a/.../..b/b.."), "/a/.../..b/b..");
}

TEST(SysPath, QualifiesRelativePathsAgainstTheProcessFolder)
{
    const std::string cwd = CwdirGetCurrentDirectory();
    ASSERT_FALSE(cwd.empty());
    EXPECT_EQ(SysGetQualifiedPath("."), cwd);
    EXPECT_EQ(SysGetQualifiedPath("sub/file.v"), cwd == "/" ? "/sub/file.v" : cwd + "/sub/file.v");
    EXPECT_EQ(SysGetQualifiedPath("sub\\..\\other"), SysGetQualifiedPath("other"));
    EXPECT_EQ(CwdirGetCurrentDirectory(), cwd);
}

TEST(SysPath, FullPathJoinsRelativeTextToTheFolder)
{
    EXPECT_EQ(AcmdGetFullPath("top.v", "/proj/hdl"), "/proj/hdl/top.v");
    EXPECT_EQ(AcmdGetFullPath("../src/top.v", "/proj/hdl/"), "/proj/src/top.v");
    EXPECT_EQ(AcmdGetFullPath("inc\\defs.vh", "C:\\ignored\\..\\proj"), SysGetQualifiedPath("C:/proj/inc/defs.vh"));
    EXPECT_EQ(AcmdGetFullPath("\\abs\\x.v", "/proj"), "/abs/x.v");
    EXPECT_EQ(AcmdGetFullPath("", "/proj/./hdl"), "/proj/hdl");
}

TEST(SysPath, SeparatorsAndSameFileName)
{
    std::string path = "C:\\proj\\hdl/top.v";
    EXPECT_EQ(&UtlSetValidSeparator(path), &path);
    EXPECT_EQ(path, "C:/proj/hdl/top.v");

    EXPECT_TRUE(UtlIsSameFileName("/Proj/HDL/Top.V", "/proj/hdl/top.v"));
    EXPECT_TRUE(UtlIsSameFileName("C:\\proj\\a.v", "c:/PROJ/a.v"));
    EXPECT_FALSE(UtlIsSameFileName("/proj/a.v", "/proj/b.v"));
    EXPECT_FALSE(UtlIsSameFileName("/proj//a.v", "/proj/a.v"));
}
