// The file filters of the file manager's queries, and files in flow order.
#include "FlowProject.h"

#include "ifile/IfileFlowOrder.h"
#include "ifile/IfileManagerFilterParent.h"

#include <algorithm>

namespace {

boost::shared_ptr<IfileObjectEx> Member(const std::string& name, zorpaFileManagerTypes type = zorpaFT_HDL)
{
    return boost::make_shared<IfileObjectEx>(IfileObject(name, type, ImodelFMInternal, true, false), false);
}

}  // namespace

TEST(FileFilters, AFolderHoldsTheFilesBelowItAndNotThoseOfASiblingOfTheSamePrefix)
{
    const IfileManagerFilterIsInFolder filter(ImodelFileName("/prj/a/b"));
    EXPECT_TRUE(filter(Member("/prj/a/b/x.v")));
    EXPECT_TRUE(filter(Member("/PRJ/A/B/c/y.v")));
    EXPECT_FALSE(filter(Member("/prj/a/bc/x.v")));
    EXPECT_FALSE(filter(Member("/prj/a/x.v")));
    EXPECT_TRUE(IfileManagerFilterIsInFolder(ImodelFileName("/prj/a/b/"))(Member("/prj/a/b/x.v")));
    EXPECT_FALSE(filter(nullptr));
}

using FlowOrder = FlowProject;

TEST_F(FlowOrder, RelatedFilesAndTheFlowOrderOfFiles)
{
    ImodelModule* top = Unit("top");
    const auto other = Add("pallador/impl2/top.adb", zorpaFT_ADB);
    const auto current = AddDefault(zorpaFT_ADB, top);
    const auto netlist = AddDefault(zorpaFT_SYN_EDN, top, "(design top (cellRef top))");
    const IfileManagerFilterIsRelatedToModule related(top);
    EXPECT_TRUE(related(netlist));
    // The scope of views: IfileManagerTest and FileManagerIndexTest.
    std::vector<boost::shared_ptr<IfileObjectEx>> found;
    Files().GetFiles(found, 0, &related);
    EXPECT_EQ(found, std::vector<boost::shared_ptr<IfileObjectEx>>{netlist});

    std::deque<IfileObjectEx> files{*current, *Member("/x.txt", zorpaFT_TXT), *netlist, *other};
    IfileSortFileListRegardingFlowOrder(Flow().GetFileObjects(), files);
    std::vector<int> types;
    for (const IfileObjectEx& file : files) types.push_back(file.GetFileSpecificType());
    EXPECT_EQ(types, (std::vector<int>{zorpaFT_TXT, zorpaFT_SYN_EDN, zorpaFT_ADB, zorpaFT_ADB}));
    // Of two nodes of a type, the first gives the place.
    std::vector<IprocessFileObject*> nodes = Flow().GetFileObjects();
    nodes.push_back(nodes.front());
    const IfileSortFilesFlowOrder order(nodes);
    EXPECT_EQ(order.GetFlowPosition(zorpaFT_HDL), 0);
    EXPECT_EQ(order.GetFlowPosition(zorpaFT_TXT), -1);
}
