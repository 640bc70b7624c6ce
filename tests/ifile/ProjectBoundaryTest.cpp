// What lies inside the project folder: "." and ".." are resolved before a
// name is compared with the folder, so a name that climbs out is neither
// relative to the project nor a local file.
#include "IfileObjectTestSupport.h"

#include "ifile/IfileObject.h"
#include "imodel/names/imodelUtl.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct Relative {
    bool inside;
    std::string name;
};

Relative Cut(const std::string& name)
{
    ImodelFileName out;
    const bool inside = ImodelGetRelativeFileName(name, out, true, zorpaFT_HDL);
    return {inside, out.GetString()};
}

}  // namespace

TEST(ProjectBoundary, ANameThatClimbsOutIsNotRelativeToTheProject)
{
    const ProjectFolderScope project("/srv/Proj");
    for (const std::string name :
         {"/srv/Proj/../other/a.v", "/srv/Proj/hdl/../../other/a.v", "/srv/Proj/..", "/srv/Proj/./../Proj2/a.v"}) {
        const Relative cut = Cut(name);
        EXPECT_FALSE(cut.inside) << name;
        EXPECT_EQ(cut.name, name) << "an outside name comes back whole";
    }
    // Inside after resolving: the resolved rest is kept.
    EXPECT_TRUE(Cut("/srv/Proj/hdl/../top.v").inside);
    EXPECT_EQ(Cut("/srv/Proj/hdl/../top.v").name, "top.v");
    EXPECT_EQ(Cut("/srv/other/../Proj/./hdl//a.v").name, "hdl/a.v");
    EXPECT_EQ(Cut("/srv/proj/HDL/a.v").name, "HDL/a.v") << "letter case still does not matter";
}

TEST(ProjectBoundary, AStoredNameThatClimbsOutIsNoLocalFile)
{
    const ProjectFolderScope project("/srv/Proj");
    const IfileObject outside("<project>/../x.vhd", zorpaFT_HDL, ImodelFMInternal, true, false);
    EXPECT_FALSE(outside.IsLocalFile());
    ImodelFileName relative("garbage");
    EXPECT_FALSE(outside.GetRelativeFileName(relative));
    EXPECT_TRUE(relative.empty());
    EXPECT_EQ(outside.GetInternalFileName().GetString(), "/srv/x.vhd") << "stored by the name of the file it is";
    EXPECT_EQ(outside.GetFullFileName().GetString(), "/srv/x.vhd");
    EXPECT_EQ(outside.GetRevNum(), -1);

    const IfileObject inside("<project>/hdl/../x.vhd", zorpaFT_HDL, ImodelFMInternal, true, false);
    EXPECT_TRUE(inside.IsLocalFile());

    // Absolute names: in the folder only once resolved.
    EXPECT_FALSE(IfileObject("/srv/Proj/../x.vhd", zorpaFT_HDL, ImodelFMInternal, true, false).IsLocalFile());
    EXPECT_TRUE(IfileObject("/srv/Other/../Proj/x.vhd", zorpaFT_HDL, ImodelFMInternal, true, false).IsLocalFile());
    EXPECT_TRUE(inside.IsInFolder("/srv/Proj/hdl/.."));
    EXPECT_FALSE(inside.IsInFolder("/srv/Proj/hdl"));
    EXPECT_TRUE(IfileObject("/srv/Proj/hdl/x.v", zorpaFT_HDL, ImodelFMInternal, true, false)
                    .IsInFolder("/srv/Proj/sim/../hdl"));
}

TEST(ProjectBoundary, ARelativeNameThatClimbsOutIsStoredByItsAbsoluteName)
{
    const ProjectFolderScope project("/srv/Proj");
    const IfileObject outside("../lib/x.vhd", zorpaFT_HDL, ImodelFMRelative, true, true);
    EXPECT_EQ(outside.GetInternalFileName().GetString(), "/srv/lib/x.vhd");
    EXPECT_FALSE(outside.IsLocalFile());

    const IfileObject full("/srv/Proj/../lib/x.vhd", zorpaFT_HDL, ImodelFMFull, true, true);
    EXPECT_FALSE(full.IsLocalFile());

    const IfileObject inside("hdl/x.vhd", zorpaFT_HDL, ImodelFMRelative, true, true);
    EXPECT_EQ(inside.GetInternalFileName().GetString(), "<project>/hdl/x.vhd");
}

// A stored name with "." or ".." folders is the name of the file it leads
// to, however it was given: any spelling of a path stores as the plain one,
// so that two spellings never make two files of one.
TEST(ProjectBoundary, EverySpellingOfAPathStoresAsThePlainName)
{
    std::mt19937 random(1410);
    const std::vector<std::string> parts{"hdl", "sub", "a.vhd", ".hidden", "x..y", "..z", "Proj"};
    for (const std::string folder : {"/srv/Proj", "/"}) {
        const ProjectFolderScope project(folder);
        for (int i = 0; i < 300; ++i) {
            // A plain relative path, then a spelling with detours.
            std::vector<std::string> plain;
            for (int depth = 1 + static_cast<int>(random() % 4); depth > 0; --depth)
                plain.push_back(parts[random() % parts.size()]);
            std::string spelled;
            std::string written;
            for (const std::string& part : plain) {
                if (random() % 3 == 0) spelled += "./";
                if (!spelled.empty() && random() % 4 == 0) spelled += "/";  // a separator doubled
                if (random() % 3 == 0) spelled += parts[random() % parts.size()] + "/../";
                spelled += part + "/";
                written += part + "/";
            }
            spelled.pop_back();
            written.pop_back();
            for (const ImodelFMStringFileType form : {ImodelFMInternal, ImodelFMRelative}) {
                const std::string given = form == ImodelFMInternal ? "<project>/" + spelled : spelled;
                const IfileObject file(given, zorpaFT_HDL, form, true, true);
                EXPECT_EQ(file.GetInternalFileName().GetString(), "<project>/" + written) << given;
                EXPECT_EQ(file, IfileObject("<project>/" + written, zorpaFT_HDL, ImodelFMInternal, true, true));
            }
            const std::string root = folder == "/" ? "" : folder;
            const IfileObject full(root + "/" + spelled, zorpaFT_HDL, ImodelFMInternal, true, false);
            EXPECT_EQ(full.GetInternalFileName().GetString(), root + "/" + written) << spelled;
        }
    }
}

TEST(ProjectBoundary, ANameThatLeavesTheFolderAndComesBackIsStoredInIt)
{
    const ProjectFolderScope project("/srv/Proj");
    const auto stored = [](const std::string& name) {
        return IfileObject(name, zorpaFT_HDL, ImodelFMInternal, true, true).GetInternalFileName().GetString();
    };
    EXPECT_EQ(stored("<project>/../Proj/hdl/a.vhd"), "<project>/hdl/a.vhd");
    EXPECT_EQ(stored("<project>/hdl/../../other/./a.vhd"), "/srv/other/a.vhd");
    // Names without such folders are taken as given, dots in names included.
    for (const std::string name : {"<project>/hdl/.a.vhd", "<project>/..hdl/a..vhd", "/srv/x./y.v", "<project>/a."})
        EXPECT_EQ(stored(name), name);
    // The folder itself is no file: the name is left for the callers to refuse.
    EXPECT_EQ(stored("<project>/hdl/.."), "<project>/hdl/..");
}
