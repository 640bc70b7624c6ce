// What lies inside the project folder: "." and ".." are resolved before a
// name is compared with the folder, so a name that climbs out is neither
// relative to the project nor a local file.
#include "IfileObjectTestSupport.h"

#include "ifile/IfileObject.h"
#include "imodel/names/imodelUtl.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(outside.GetFullFileName().GetString(), "/srv/Proj/../x.vhd");
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
