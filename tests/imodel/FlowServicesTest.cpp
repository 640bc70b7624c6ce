// The physical-synthesis constraint list per revision, as the flow sees it.
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

}  // namespace

using FlowServices = FlowProject;

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
