// Removing a folder only while it is empty: what a command that made
// folders for a project does when it fails, so that nothing the user put
// there goes with them.
#include "TempFolder.h"

#include "foundation/Sys.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

TEST(SysRemoveEmptyFolder, RemovesOnlyAnEmptyFolderItself)
{
    TempFolder temp;
    const std::string empty = temp / "empty";
    ASSERT_EQ(SysMkdir(empty), 0);
    EXPECT_EQ(SysRemoveEmptyFolder(empty), 0);
    EXPECT_FALSE(UtlDoesDiskObjectExist(empty));
    // Gone already, or never there.
    EXPECT_EQ(SysRemoveEmptyFolder(empty), -1);
    EXPECT_EQ(SysRemoveEmptyFolder(""), -1);

    // A folder that holds anything stays, with what it holds.
    const std::string file = temp.Write("full/kept.v", "module kept; endmodule\n");
    EXPECT_EQ(SysRemoveEmptyFolder(temp / "full"), -1);
    std::string text;
    ASSERT_TRUE(SysReadFile(file, text));
    EXPECT_EQ(text, "module kept; endmodule\n");
    ASSERT_EQ(SysMkdir(temp / "outer/inner", 0777), -1);  // no parents made
    ASSERT_TRUE(UtlValidateOrCreateFolder(temp / "outer/inner"));
    EXPECT_EQ(SysRemoveEmptyFolder(temp / "outer"), -1);
    EXPECT_TRUE(UtlDoesPathExist(temp / "outer/inner"));

    // A file is not a folder; a link to an empty folder is neither removed
    // nor followed.
    EXPECT_EQ(SysRemoveEmptyFolder(file), -1);
    EXPECT_TRUE(UtlDoesFileExist(file));
    ASSERT_EQ(SysMkdir(temp / "target"), 0);
    ASSERT_EQ(::symlink((temp / "target").c_str(), (temp / "link").c_str()), 0);
    EXPECT_EQ(SysRemoveEmptyFolder(temp / "link"), -1);
    EXPECT_TRUE(UtlDoesPathExist(temp / "target"));
    EXPECT_TRUE(UtlDoesDiskObjectExist(temp / "link"));

    // Paths written on Windows are read alike.
    ASSERT_EQ(SysMkdir(temp / "win"), 0);
    std::string windows = temp / "win";
    for (char& c : windows)
        if (c == '/') c = '\\';
    EXPECT_EQ(SysRemoveEmptyFolder(windows), 0);
    EXPECT_FALSE(UtlDoesDiskObjectExist(temp / "win"));
}
