// When the steps of the flow can run, and which device changes concern them.
#include "FlowProject.h"

#include "imodel/device/ImodelDeviceManager.h"

#include <vector>

namespace {

std::string Netlist(const std::string& cell) { return "(design " + cell + " (cellRef " + cell + "))\n"; }

}  // namespace

class ToolNodes : public FlowProject {
protected:
    ToolNodes() { Design().SetProjectOpen(true); }
    ~ToolNodes() override { Design().SetProjectOpen(false); }
};

TEST_F(ToolNodes, PlaceAndRouteWaitsForAnInputOfTheUnit)
{
    ImodelModule* top = Unit("top", Add("hdl/top.v", zorpaFT_HDL));
    EXPECT_TRUE(Tool(ideSYNTHESIS).IsToolEnable(top));
    EXPECT_FALSE(Tool(idePALLADOR).IsToolEnable(top));
    std::vector<IprocessFileObject*> outOfDate;
    EXPECT_TRUE(Tool(ideSYNTHESIS).GetOutOfDateFilesNeedingThisTool(outOfDate, top));
    EXPECT_TRUE(outOfDate.empty());

    const auto netlist = AddDefault(zorpaFT_SYN_EDN, top, Netlist("top"));
    EXPECT_TRUE(Tool(idePALLADOR).IsToolEnable(top));
    netlist->SetFileState(imodelFileOutOfDate);
    EXPECT_TRUE(Tool(ideSYNTHESIS).GetOutOfDateFilesNeedingThisTool(outOfDate, top));
    EXPECT_EQ(outOfDate, std::vector<IprocessFileObject*>{&Node(zorpaFT_SYN_EDN)});
    // Without an input of the design state, every input counted for a state.
    std::vector<IprocessFileObject*> inputs;
    EXPECT_TRUE(Tool(idePALLADOR).GetOutOfDateInputFiles(inputs, top, Revision(top), false));
    EXPECT_EQ(inputs, std::vector<IprocessFileObject*>{&Node(zorpaFT_SYN_EDN)});
    inputs.clear();
    Revision(top)->SetSolvatoState(Post_Synthesis);
    EXPECT_TRUE(Tool(idePALLADOR).GetOutOfDateInputFiles(inputs, top, Revision(top), false));
    EXPECT_EQ(inputs, std::vector<IprocessFileObject*>{&Node(zorpaFT_SYN_EDN)});
    EXPECT_EQ(
        Tool(idePALLADOR).GetDefaultInputFileTransition(Post_Synthesis, true, true, top, Revision(top), -1)->GetID(),
        133);
    EXPECT_EQ(
        Tool(idePALLADOR).GetDefaultInputFileTransition(Post_Synthesis, false, false, top, Revision(top), zorpaFT_ADB),
        Tool(idePALLADOR).GetDefaultInputFileTransition(Post_Synthesis, true, false, top, Revision(top), -1));
}

TEST_F(ToolNodes, ADeviceChangeConcernsTheToolsAtItsLevelOrFiner)
{
    const ImodelDevice& device = Imodel::GetInstance().GetDeviceManager()->GetDevice();
    const std::vector<imodelDeviceMembers> family{imodelDeviceFamily, imodelDeviceDie, imodelDevicePackage};
    const std::vector<imodelDeviceMembers> die{imodelDeviceDie};
    EXPECT_TRUE(Tool(ideSYNTHESIS).IsConcernedByDeviceChange(family, device));
    EXPECT_FALSE(Tool(ideSIMULATION).IsConcernedByDeviceChange(family, device));
    EXPECT_TRUE(Tool(idePALLADOR).IsConcernedByDeviceChange(die, device));
    // The synthesis tool minds a die change only through the die's version.
    EXPECT_FALSE(Tool(ideSYNTHESIS).IsConcernedByDeviceChange(die, device));
    EXPECT_FALSE(Tool(ideSYNTHESIS).IsConcernedByDeviceChange({}, device));
}
