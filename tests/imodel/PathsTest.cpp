// Paths of the project model: relative names, paths relative to a folder or a
// variable, valid names, folders made and deleted only inside the project,
// file existence and folder listings.
#include "DebugCapture.h"
#include "ProjectFolderScope.h"
#include "TempFolder.h"

#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The relative name, with "!" in front when the call answered false.
std::string Relative(const std::string& name, bool cut, int type = 2,
                     const ImodelGetFullPathParam& param = ImodelGetFullPathParam())
{
    ImodelFileName out("garbage");
    const bool ok = ImodelGetRelativeFileName(name, out, cut, type, param);
    return (ok ? "" : "!") + out.GetString();
}

std::string RelativePath(const std::string& folder, const std::string& path)
{
    ImodelFileName out(path);
    ImodelGetRelativePath(folder, out);
    return out.GetString();
}

}  // namespace

TEST(Paths, RelativeNamesAreCutOnlyBelowTheProjectFolder)
{
    const ProjectFolderScope scope("/work/alu");
    EXPECT_EQ(Relative("/work/alu/hdl/a.v", true), "hdl/a.v");
    EXPECT_EQ(Relative("/WORK/Alu/hdl/A.v", true), "hdl/A.v");
    EXPECT_EQ(Relative("\\work\\alu\\hdl\\a.v", true), "hdl/a.v");
    EXPECT_EQ(Relative("C:\\elsewhere\\a.v", true), "!C:/elsewhere/a.v");
    EXPECT_EQ(Relative("/work/alu/", true), "!/work/alu/");  // not longer than the prefix
    EXPECT_EQ(Relative("/work/aluminium/a.v", true), "!/work/aluminium/a.v");
    // Without the cut flag: the name in the folder of its type.
    EXPECT_EQ(Relative("top.pdc", false, 22), "constraint/top.pdc");
    EXPECT_EQ(Relative("top.adb", false, 4, ImodelGetFullPathParam(2)), "pallador/impl2/top.adb");
    EXPECT_EQ(Relative("run.log", false, 36), "!run.log");

    const ProjectFolderScope none("");
    EXPECT_EQ(Relative("/work/alu/hdl/a.v", true), "!/work/alu/hdl/a.v");
}

TEST(Paths, PathsRelativeToAFolderOrAVariable)
{
    const std::pair<std::pair<const char*, const char*>, const char*> folders[] = {
        {{"/a/b", "/a/c/x.v"}, "../c/x.v"},
        {{"C:\\a\\b", "C:\\a\\c\\x.v"}, "../c/x.v"},
        {{"/a/b/", "/a/b/sub/x.v"}, "sub/x.v"},
        {{"/a/b/c", "/x/y.v"}, "../../../x/y.v"},
        {{"/A/b", "/a/b/x.v"}, "../../a/b/x.v"},  // components compare exactly
        {{"", "/a/x.v"}, "/a/x.v"},
        {{"/a/bc", "/a/b/x.v"}, "../b/x.v"}};
    for (const auto& [in, out] : folders) EXPECT_EQ(RelativePath(in.first, in.second), out) << in.first;

    const std::pair<std::pair<const char*, const char*>, const char*> variables[] = {
        {{"/opt/lib", "/opt/lib/cores/x.v"}, "${LIB}/cores/x.v"},
        {{"/opt/lib/", "/opt/other/x.v"}, "${LIB}/../other/x.v"},
        {{"/opt/lib", "/opt/lib"}, "${LIB}"},
        {{"\\opt\\LIB", "/OPT/lib/x.v"}, "${LIB}/x.v"},
        {{"/opt/lib", "/opt/library/x.v"}, "${LIB}/../library/x.v"},
        {{"/", "/home/x.v"}, "${LIB}/home/x.v"},
        {{"C:/x", "D:\\y\\z.v"}, "D:/y/z.v"},  // nothing in common: the normalised path
        {{"/x", "rel/z.v"}, "rel/z.v"},
        {{"", "/a/z.v"}, "/a/z.v"}};
    for (const auto& [in, out] : variables)
        EXPECT_EQ(ImodelGetPathRelativeToVariable(in.first, in.second, "LIB"), out) << in.first << " " << in.second;
}

TEST(Paths, ValidNames)
{
    for (const char* good : {"top.v", "C:/designs/top.v", "my design/a-b_c.v", "", "a$b", "x#1"})
        EXPECT_TRUE(ImodelIsValidPathName(good)) << good;
    for (const char* bad : {"a*b", "a|b", "a\"b", "a<b", "~/x", "what?", "/a/b:c", "a\nb", "a\rb"})
        EXPECT_FALSE(ImodelIsValidPathName(bad)) << bad;
    for (const char* good : {"fifo", "fifo_16x8", "C:fifo"}) EXPECT_TRUE(ImodelIsValidComponentName(good)) << good;
    for (const char* bad : {"a$b", "50%", "a\\b", "a/b", "x#1", "a\nb"})
        EXPECT_FALSE(ImodelIsValidComponentName(bad)) << bad;
    EXPECT_TRUE(ImodelIsSameStrNoCase("Work", "wORK"));
    EXPECT_FALSE(ImodelIsSameStrNoCase("a/b", "a\\b"));
}

TEST(Paths, NestedFoldersAreMadeAndAParentThatCannotBeMadeStopsTheWork)
{
    const TempFolder temp;
    EXPECT_TRUE(ImodelValidateOrCreateDirectory(temp / "a/b/c/d"));
    EXPECT_TRUE(fs::is_directory(temp / "a/b/c/d"));
    EXPECT_TRUE(ImodelValidateOrCreateDirectory(temp.Path() + "\\x\\y\\"));
    EXPECT_TRUE(fs::is_directory(temp / "x/y"));
    EXPECT_TRUE(ImodelValidateOrCreateDirectory("C:"));  // roots are accepted without touching the disk

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
    temp.Write("proj/pallador/impl1/sub/more.txt", "x");
    temp.Write("other/keep.txt", "x");
    {
        const ProjectFolderScope none("");
        EXPECT_FALSE(ImodelDeleteFolderAndSubFolders(project + "/pallador"));
    }
    const ProjectFolderScope scope(project);
    EXPECT_TRUE(ImodelDeleteFolderAndSubFolders(project + "/pallador/impl1"));
    EXPECT_FALSE(fs::exists(project + "/pallador/impl1"));
    EXPECT_TRUE(ImodelDeleteFolderAndSubFolders(project + "/pallador/impl9"));  // not there: gone already
    for (const std::string& refused : {std::string(), std::string("/"), project, project + "/", project + "/.",
                                       temp / "other", project + "/../other", temp.Path(), project + "x"})
        EXPECT_FALSE(ImodelDeleteFolderAndSubFolders(refused)) << refused;
    EXPECT_TRUE(fs::exists(temp / "other/keep.txt"));

    // A link inside the project is removed itself, never what it points to.
    fs::create_directory_symlink(temp / "other", project + "/link");
    EXPECT_TRUE(ImodelDeleteFolderAndSubFolders(project + "/link"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(project + "/link")));
    EXPECT_TRUE(fs::exists(temp / "other/keep.txt"));
}
