// Paths of the project model: paths relative to a folder or a variable, and
// folders deleted only inside the project.
#include "ProjectFolderScope.h"
#include "TempFolder.h"

#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string RelativePath(const std::string& folder, const std::string& path)
{
    ImodelFileName out(path);
    ImodelGetRelativePath(folder, out);
    return out.GetString();
}

}  // namespace

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
