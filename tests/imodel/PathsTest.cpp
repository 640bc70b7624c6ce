#include "DebugCapture.h"
#include "ProjectFolderScope.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"

#include "TempFolder.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string Relative(const std::string& name, bool cut, int type = 2,
                     const ImodelGetFullPathParam& param = ImodelGetFullPathParam(), bool* result = nullptr)
{
    ImodelFileName out("garbage");
    const bool ok = ImodelGetRelativeFileName(name, out, cut, type, param);
    if (result) *result = ok;
    return out.GetString();
}

std::string RelativePath(const std::string& folder, const std::string& path)
{
    ImodelFileName out(path);
    ImodelGetRelativePath(folder, out);
    return out.GetString();
}

}  // namespace

TEST(Paths, SameStringWithoutCase)
{
    EXPECT_TRUE(ImodelIsSameStrNoCase("Work", "wORK"));
    EXPECT_TRUE(ImodelIsSameStrNoCase("", ""));
    EXPECT_FALSE(ImodelIsSameStrNoCase("work", "work "));
    EXPECT_FALSE(ImodelIsSameStrNoCase("a/b", "a\\b"));
}

TEST(Paths, RelativeNameWithTheCutFlag)
{
    const ProjectFolderScope scope("/work/alu");
    bool ok = false;
    EXPECT_EQ(Relative("/work/alu/hdl/a.v", true, 2, {}, &ok), "hdl/a.v");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Relative("/WORK/Alu/hdl/A.v", true, 2, {}, &ok), "hdl/A.v");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Relative("\\work\\alu\\hdl\\a.v", true, 2, {}, &ok), "hdl/a.v");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Relative("/work/other/a.v", true, 2, {}, &ok), "/work/other/a.v");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Relative("C:\\elsewhere\\a.v", true, 2, {}, &ok), "C:/elsewhere/a.v");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Relative("/work/alu/", true, 2, {}, &ok), "/work/alu/");  // not longer than the prefix
    EXPECT_FALSE(ok);
    EXPECT_EQ(Relative("/work/aluminium/a.v", true, 2, {}, &ok), "/work/aluminium/a.v");
    EXPECT_FALSE(ok);
}

TEST(Paths, RelativeNameWithoutProjectFolderIsNotCut)
{
    const ProjectFolderScope scope("");
    bool ok = true;
    EXPECT_EQ(Relative("/work/alu/hdl/a.v", true, 2, {}, &ok), "/work/alu/hdl/a.v");
    EXPECT_FALSE(ok);
}

TEST(Paths, RelativeNameInTheFolderOfItsType)
{
    bool ok = false;
    EXPECT_EQ(Relative("top.v", false, 2, {}, &ok), "hdl/top.v");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Relative("top.pdc", false, 22, {}, &ok), "constraint/top.pdc");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Relative("top.adb", false, 4, ImodelGetFullPathParam(2), &ok), "pallador/impl2/top.adb");
    EXPECT_TRUE(ok);
    EXPECT_EQ(Relative("run.log", false, 36, {}, &ok), "run.log");
    EXPECT_FALSE(ok);
}

TEST(Paths, PathRelativeToAFolder)
{
    EXPECT_EQ(RelativePath("/a/b", "/a/c/x.v"), "../c/x.v");
    EXPECT_EQ(RelativePath("C:/a/b", "C:/a/c/x.v"), "../c/x.v");
    EXPECT_EQ(RelativePath("C:\\a\\b", "C:\\a\\c\\x.v"), "../c/x.v");
    EXPECT_EQ(RelativePath("/a/b/", "/a/c/x.v"), "../c/x.v");
    EXPECT_EQ(RelativePath("/a/b", "/a/b/x.v"), "x.v");
    EXPECT_EQ(RelativePath("/a/b", "/a/b/sub/x.v"), "sub/x.v");
    EXPECT_EQ(RelativePath("/a/b/c", "/x/y.v"), "../../../x/y.v");
    EXPECT_EQ(RelativePath("/A/b", "/a/b/x.v"), "../../a/b/x.v");  // components compare exactly
    EXPECT_EQ(RelativePath("", "/a/x.v"), "/a/x.v");
    EXPECT_EQ(RelativePath("/a/bc", "/a/b/x.v"), "../b/x.v");
}

TEST(Paths, PathRelativeToAVariable)
{
    EXPECT_EQ(ImodelGetPathRelativeToVariable("/opt/lib", "/opt/lib/cores/x.v", "LIB"), "${LIB}/cores/x.v");
    EXPECT_EQ(ImodelGetPathRelativeToVariable("/opt/lib", "/opt/other/x.v", "LIB"), "${LIB}/../other/x.v");
    EXPECT_EQ(ImodelGetPathRelativeToVariable("/opt/lib/", "/opt/other/x.v", "LIB"), "${LIB}/../other/x.v");
    EXPECT_EQ(ImodelGetPathRelativeToVariable("/opt/lib", "/opt/lib", "LIB"), "${LIB}");
    EXPECT_EQ(ImodelGetPathRelativeToVariable("\\opt\\LIB", "/OPT/lib/x.v", "LIB"), "${LIB}/x.v");
    EXPECT_EQ(ImodelGetPathRelativeToVariable("/opt/lib", "/opt/library/x.v", "LIB"), "${LIB}/../library/x.v");
    EXPECT_EQ(ImodelGetPathRelativeToVariable("/x", "/y/z.v", "V"), "${V}/../y/z.v");
    EXPECT_EQ(ImodelGetPathRelativeToVariable("/a/b/c", "/d/e.v", "V"), "${V}/../../../d/e.v");
    EXPECT_EQ(ImodelGetPathRelativeToVariable("/", "/home/x.v", "ROOT"), "${ROOT}/home/x.v");
    // Nothing in common: the normalised path.
    EXPECT_EQ(ImodelGetPathRelativeToVariable("C:/x", "D:\\y\\z.v", "V"), "D:/y/z.v");
    EXPECT_EQ(ImodelGetPathRelativeToVariable("/x", "rel/z.v", "V"), "rel/z.v");
    EXPECT_EQ(ImodelGetPathRelativeToVariable("lib", "other/z.v", "V"), "other/z.v");
    EXPECT_EQ(ImodelGetPathRelativeToVariable("", "/a/z.v", "V"), "/a/z.v");
}

TEST(Paths, ValidNames)
{
    for (const char* good : {"top.v", "C:/designs/top.v", "my design/a-b_c.v", "", "a$b", "x#1"})
        EXPECT_TRUE(ImodelIsValidPathName(good)) << good;
    for (const char* bad : {"a*b", "a|b", "a\"b", "a<b", "a>b", "~/x", "what?", "/a/b:c", "ab:", "a\nb", "a\rb"})
        EXPECT_FALSE(ImodelIsValidPathName(bad)) << bad;

    for (const char* good : {"fifo", "fifo_16x8", "C:fifo"}) EXPECT_TRUE(ImodelIsValidComponentName(good)) << good;
    for (const char* bad : {"a$b", "50%", "a\\b", "a/b", "x#1", "a*b", "a\nb"})
        EXPECT_FALSE(ImodelIsValidComponentName(bad)) << bad;
}

TEST(Paths, SeparatorsAndCase)
{
    std::string text = "C:\\a\\b\\";
    ImodelSetValidSeparator(text, false);
    EXPECT_EQ(text, "C:/a/b/");
    ImodelFileName name("C:\\a\\b\\");
    ImodelSetValidSeparator(name, true);
    EXPECT_EQ(name.GetString(), "C:/a/b");

    text = "MixedCase/Path.V";
    ImodelChangeCaseIfNotUnix(text);
    EXPECT_EQ(text, "MixedCase/Path.V");  // file names keep their case on this platform
    ImodelMakeLower(text);
    EXPECT_EQ(text, "mixedcase/path.v");
    ImodelMakeUpper(text);
    EXPECT_EQ(text, "MIXEDCASE/PATH.V");
}

TEST(Paths, CreatesNestedFolders)
{
    const TempFolder temp;
    const std::string deep = temp / "a/b/c/d";
    EXPECT_TRUE(ImodelValidateOrCreateDirectory(deep));
    EXPECT_TRUE(fs::is_directory(deep));
    EXPECT_TRUE(ImodelValidateOrCreateDirectory(deep));  // already there
    EXPECT_TRUE(ImodelValidateOrCreateDirectory(temp.Path() + "\\x\\y\\"));
    EXPECT_TRUE(fs::is_directory(temp / "x/y"));

    // Roots are accepted without touching the disk.
    EXPECT_TRUE(ImodelValidateOrCreateDirectory("//"));
    EXPECT_TRUE(ImodelValidateOrCreateDirectory("\\\\"));
    EXPECT_TRUE(ImodelValidateOrCreateDirectory("C:"));
}

TEST(Paths, AParentThatCannotBeMadeStopsTheWork)
{
    const TempFolder temp;
    const std::string file = temp.Write("plain", "not a folder");
    const DebugCapture debug;
    EXPECT_FALSE(ImodelValidateOrCreateDirectory(file + "/child/grandchild"));
    EXPECT_FALSE(fs::exists(file + "/child"));
    EXPECT_EQ(debug.Text(), "Failed to create: " + file + "\n");
}

TEST(Paths, DeletesOnlyFoldersInsideTheProject)
{
    const TempFolder temp;
    const std::string project = temp / "proj";
    temp.Write("proj/pallador/impl1/top.adb", "x");
    temp.Write("proj/pallador/impl1/sub/more.txt", "x");
    temp.Write("other/keep.txt", "x");
    const ProjectFolderScope scope(project);

    EXPECT_TRUE(ImodelDeleteFolderAndSubFolders(project + "/pallador/impl1"));
    EXPECT_FALSE(fs::exists(project + "/pallador/impl1"));
    EXPECT_TRUE(fs::exists(project + "/pallador"));
    EXPECT_TRUE(ImodelDeleteFolderAndSubFolders(project + "/pallador/impl9"));  // not there: gone already
    EXPECT_TRUE(ImodelDeleteFolderAndSubFolders(project + "\\pallador"));
    EXPECT_FALSE(fs::exists(project + "/pallador"));

    for (const std::string& refused : {std::string(), std::string("/"), project, project + "/", project + "/.",
                                       temp / "other", project + "/../other", temp.Path(), project + "x"})
        EXPECT_FALSE(ImodelDeleteFolderAndSubFolders(refused)) << refused;
    EXPECT_TRUE(fs::exists(temp / "other/keep.txt"));
    EXPECT_TRUE(fs::exists(project));

    // A link inside the project is removed itself, never what it points to.
    fs::create_directory_symlink(temp / "other", project + "/link");
    EXPECT_TRUE(ImodelDeleteFolderAndSubFolders(project + "/link"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(project + "/link")));
    EXPECT_TRUE(fs::exists(temp / "other/keep.txt"));
}

TEST(Paths, DeletesNothingWithoutAProject)
{
    const TempFolder temp;
    temp.Write("proj/hdl/a.v", "x");
    const ProjectFolderScope scope("");
    EXPECT_FALSE(ImodelDeleteFolderAndSubFolders(temp / "proj/hdl"));
    EXPECT_TRUE(fs::exists(temp / "proj/hdl/a.v"));
}

TEST(Paths, FileExistence)
{
    const TempFolder temp;
    const std::string file = temp.Write("a.v", "module a; endmodule\n");
    EXPECT_TRUE(ImodelDoesFileExist(file));
    EXPECT_FALSE(ImodelDoesFileExist(temp / "missing.v"));
    EXPECT_FALSE(ImodelDoesFileExist(temp.Path()));  // a folder is no file

    // Test scripts may import files that do not exist.
    const bool wasRunningTests = Imodel::IsRunningTests();
    DefSetFL("QUORLANE_IMPORT_NON_EXISTING_FILES", "1");
    EXPECT_FALSE(Imodel::IsRunningTests() && !wasRunningTests);
    Imodel::IsRunningTests() = true;
    EXPECT_TRUE(ImodelDoesFileExist(temp / "missing.v"));
    DefSetFL("QUORLANE_IMPORT_NON_EXISTING_FILES", "0");
    EXPECT_FALSE(ImodelDoesFileExist(temp / "missing.v"));
    Imodel::IsRunningTests() = false;
    DefSetFL("QUORLANE_IMPORT_NON_EXISTING_FILES", "1");
    EXPECT_FALSE(ImodelDoesFileExist(temp / "missing.v"));
    DefUnset("QUORLANE_IMPORT_NON_EXISTING_FILES");
    Imodel::IsRunningTests() = wasRunningTests;
}

TEST(Paths, ListsFolderContentByPattern)
{
    const TempFolder temp;
    temp.Write("b.vhd", "");
    temp.Write("a.v", "");
    temp.Write("notes.txt", "");
    temp.Write("impl2/x", "");
    temp.Write("impl1/x", "");

    std::vector<std::string> out = {"kept"};
    EXPECT_TRUE(ImodelGetAllFolderContent(temp.Path(), "*.v*", out));
    EXPECT_EQ(out, (std::vector<std::string>{"kept", temp / "a.v", temp / "b.vhd"}));

    out.clear();
    EXPECT_TRUE(ImodelGetAllFolderContent(temp.Path(), "IMPL*", out));
    EXPECT_EQ(out, (std::vector<std::string>{temp / "impl1", temp / "impl2"}));

    out.clear();
    EXPECT_TRUE(ImodelGetAllFolderContent(temp.Path(), "*", out));
    EXPECT_EQ(out.size(), 7u);
    EXPECT_EQ(out[0], temp / ".");
    EXPECT_EQ(out[1], temp / "..");

    out = {"kept"};
    EXPECT_FALSE(ImodelGetAllFolderContent(temp.Path(), "*.sdc", out));
    EXPECT_FALSE(ImodelGetAllFolderContent(temp / "missing", "*", out));
    EXPECT_EQ(out, std::vector<std::string>{"kept"});
}
