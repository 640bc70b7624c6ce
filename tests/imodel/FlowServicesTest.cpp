// What the project model answers through the design flow: state names,
// files that concern the core workspace, the physical-synthesis constraint
// list per revision.
#include "FlowProject.h"

#include "imodel/model/ImodelFlowServices.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "iprocess/IprocessListener.h"

namespace {

class ConstraintListener : public IprocessListener {
public:
    void ConstraintListChanged(ImodelModule*, std::uint32_t value, ImodelFunctionType tool) override
    {
        calls.push_back(std::to_string(value) + "/" + std::to_string(tool));
    }
    void DisplayItemsMessage1(std::uint32_t, ImodelModule*) override {}
    void Ide_pldFileDetected(KemletContentIf*, boost::shared_ptr<IfileObjectEx>) override {}
    void InputFileListChanged(boost::shared_ptr<IfileObjectEx>, ImodelFunctionType) override {}
    std::vector<std::string> calls;
};

IfileObjectEx ProjectFile(const std::string& name)
{
    return IfileObjectEx(IfileObject("<project>/" + name, zorpaFT_OMBRIX_CXF, ImodelFMInternal, true, true), false);
}

}  // namespace

using FlowServices = FlowProject;

TEST_F(FlowServices, StateNamesFollowTheUnitsFlow)
{
    ImodelModule* top = Unit("top");
    std::string name;
    ImodelGetStateString(Pre_Synthesis, name, top);
    EXPECT_EQ(name, "Pre-Synthesis");
    ImodelFlowOptions options;
    options.UseSynth = false;
    Revision(top)->SetFlowOptions(options);
    ImodelGetStateString(Pre_Synthesis, name, top);
    EXPECT_EQ(name, "Pre-Layout");
    ImodelGetStateString(Post_Synthesis, name, top);
    EXPECT_EQ(name, "Post-Synthesis");
    ImodelGetStateString(Post_Phy_Synthesis, name, nullptr);
    EXPECT_EQ(name, "Post-Physical Synthesis");
    ImodelGetStateString(Post_Layout, name, nullptr);
    EXPECT_EQ(name, "Post-Layout");
    ImodelGetStateString(static_cast<imodelSolvatoState>(7), name, nullptr);
    EXPECT_EQ(name, "");
}

TEST_F(FlowServices, WorkspaceFoldersAreMatchedWholeAndWithoutCase)
{
    OptionsScope options(
        {{"IDE_NOTIFY_WS_FILECHANGED_FROM", "IDE_COMPONENT_FOLDER kiltora/"}, {"IDE_IGNORE_CXF_CHANGES_FROM", "hdl"}});
    EXPECT_TRUE(ImodelNotifyChangeToWS(ProjectFile("Component/lib1/x.cxf")));
    EXPECT_TRUE(ImodelNotifyChangeToWS(ProjectFile("kiltora/x.cxf")));
    EXPECT_FALSE(ImodelNotifyChangeToWS(ProjectFile("componentX/x.cxf")));
    EXPECT_FALSE(ImodelNotifyChangeToWS(ProjectFile("x.cxf")));
    EXPECT_FALSE(ImodelNotifyChangeToWS(IfileObjectEx(
        IfileObject("/elsewhere/component/x.cxf", zorpaFT_OMBRIX_CXF, ImodelFMFull, true, false), false)));
    EXPECT_FALSE(ImodelTrackCXFChange(ProjectFile("hdl/sub/x.cxf")));
    EXPECT_TRUE(ImodelTrackCXFChange(ProjectFile("hdlx/x.cxf")));
    options.Set("IDE_IGNORE_CXF_CHANGES_FROM", "");
    EXPECT_TRUE(ImodelTrackCXFChange(ProjectFile("hdl/x.cxf")));
}

TEST_F(FlowServices, PhysicalSynthesisConstraintsAsTheFlowSeesThem)
{
    ImodelModule* top = Unit("top");
    ImodelPhySynthesisOptions& options = *top->GetPhySynthOptions();
    const IfileObject flowFile("<project>/zevoru/top_zevoru.sdc", zorpaFT_ZEVORU_SDC, ImodelFMInternal, true, true);
    const IfileObject generic("<project>/constraint/pins.pdc", zorpaFT_PDC, ImodelFMInternal, true, true);
    options.SetConstraintFileList({flowFile, generic}, nullptr);
    std::deque<IfileObject> list;
    // The flow's node is not used without physical synthesis.
    options.GetConstraintFileList(list, top, Revision(top), true, nullptr);
    EXPECT_EQ(list, std::deque<IfileObject>{generic});
    options.GetConstraintFileList(list, top, Revision(top), false, nullptr);
    EXPECT_EQ(list.size(), 2u);
    options.GetConstraintFileList(list, nullptr, nullptr, true, nullptr);
    EXPECT_EQ(list.size(), 2u);

    ConstraintListener listener;
    Imodel::GetInstance().GetProcessManager()->SetListener(&listener);
    ImodelFlowOptions route;
    route.UsePhySynth = true;
    Revision(top)->SetFlowOptions(route);
    options.ConstraintFileRemoved(generic, top);
    EXPECT_EQ(options.GetConstraintFileList(), std::deque<IfileObject>{flowFile});
    EXPECT_EQ(listener.calls, std::vector<std::string>{"1/11"});
    ImodelPhySynthesisOptions::NotifyListChanged(nullptr, nullptr);
    EXPECT_EQ(listener.calls.size(), 1u);
    Imodel::GetInstance().GetProcessManager()->SetListener(nullptr);
}
