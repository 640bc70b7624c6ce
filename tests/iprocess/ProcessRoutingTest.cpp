// How the process manager routes change messages to the flow of a unit,
// relays the host's values to its display, and forgets units that go.
#include "FlowProject.h"

#include "iprocess/IprocessDisplay.h"
#include "iprocess/IprocessListener.h"
#include "iprocess/IprocessMessages.h"
#include "src/iprocess/iprocessFlowImpl.h"

#include <string>
#include <vector>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

class Item : public IprocessDisplayItem {
public:
    explicit Item(bool accepts) : m_accepts(accepts) {}
    bool AcceptsMessages() override { return m_accepts; }
    void OnMessage1(std::uint32_t value) override { calls.push_back("1:" + std::to_string(value)); }
    void OnMessage2(std::uint32_t value) override { calls.push_back("2:" + std::to_string(value)); }
    void OnMessage3() override { calls.push_back("3"); }
    std::vector<std::string> calls;

private:
    bool m_accepts;
};

class Display : public IprocessDisplay, public IprocessDisplayItemOwner {
public:
    bool IsRefreshPending() override { return false; }
    void SetRefreshPending(bool) override {}
    void RequestRefresh(bool) override {}
    void ShowModuleFlow(ImodelModule*, IprocessFlow*) override {}
    ImodelModule* GetShownModule() override { return shown; }
    IprocessDisplayItemOwner* GetItemOwner() override { return this; }
    std::vector<IprocessDisplayItem*>* GetItems() override { return &items; }

    ImodelModule* shown = nullptr;
    std::vector<IprocessDisplayItem*> items;
};

class Routing : public FlowProject {
protected:
    Routing()
    {
        source = Add("hdl/top.v", zorpaFT_HDL, "module top; endmodule\n");
        top = Unit("top", source);
        netlist = AddDefault(zorpaFT_SYN_EDN, top, "(edif top (design top (cellRef top (libraryRef work))))\n");
    }
    ~Routing() override { Processes().SetProcessDisplay(nullptr); }

    static IprocessManager& Processes() { return *Imodel::GetInstance().GetProcessManager(); }
    void Succeed() const { Revision(top)->SetToolState(&Tool(ideSYNTHESIS), StateSuccess, nullptr, false); }
    imodelToolState Synthesis() const { return Revision(top)->GetToolState(&Tool(ideSYNTHESIS)); }

    Entry source, netlist;
    ImodelModule* top = nullptr;
};

}  // namespace

TEST_F(Routing, FileMessagesMarkTheFileCurrentFirstAndIgnoreUnknownKinds)
{
    netlist->SetFileState(imodelFileOutOfDate);
    Processes().FileModificationMessage(static_cast<QuorlaneStateMachineStringMessage>(4), netlist);
    Processes().FileModificationMessage(static_cast<QuorlaneStateMachineStringMessage>(-1), netlist);
    EXPECT_EQ(netlist->GetFileState(), imodelFileOutOfDate);
    Processes().FileModificationMessage(QuorlaneFileChanged, nullptr);
    Processes().FileModificationMessage(QuorlaneFileChanged, netlist);
    EXPECT_EQ(netlist->GetFileState(), imodelFileUpToDate);
    EXPECT_EQ(Revision(top)->GetSolvatoState(), Post_Synthesis);
}

TEST_F(Routing, AToolChangeForOneUnitFallsBackOnTheCurrentUnit)
{
    Succeed();
    Processes().FunctionTypeMessage(QuorlaneToolChangedForModule, ideSYNTHESIS, nullptr);
    EXPECT_EQ(Synthesis(), StateSuccess);  // no unit: nothing
    Processes().AttachModule(top);
    Processes().FunctionTypeMessage(QuorlaneToolChangedForModule, ideSYNTHESIS, nullptr);
    EXPECT_EQ(Synthesis(), StateNoResult);
    EXPECT_EQ(netlist->GetFileState(), imodelFileOutOfDate);  // what the tool made is out of date

    Succeed();
    Processes().FunctionTypeMessage(QuorlaneToolChangedForAllModules, ideSYNTHESIS, nullptr);
    EXPECT_EQ(Synthesis(), StateNoResult);
    Succeed();
    Processes().FunctionTypeMessage(static_cast<QuorlaneStateMachineTypeMessage>(2), ideSYNTHESIS, top);
    EXPECT_EQ(Synthesis(), StateSuccess);
}

TEST_F(Routing, FileListsReachTheUnitsWhoseSourcesTheyName)
{
    Succeed();
    // A removed file that is the unit's own: the unit is not told.
    Processes().FilesModificationMessage(QuorlaneFilesRemoved, {*source});
    EXPECT_EQ(Synthesis(), StateSuccess);
    // A schematic stands for the HDL file made from it under its title.
    const Entry made = Add("viewdraw/mux.v", zorpaFT_HDL, "module mux; endmodule\n");
    ImodelModule* mux = Unit("mux", made);
    Revision(mux)->SetToolState(&Tool(ideSYNTHESIS), StateSuccess, nullptr, false);
    const Entry schematic = Add("sch/MUX.sch", zorpaFT_SCH);
    Processes().FilesModificationMessage(QuorlaneFilesChanged, {*schematic});
    EXPECT_EQ(Revision(mux)->GetToolState(&Tool(ideSYNTHESIS)), StateNoResult);
    EXPECT_EQ(Synthesis(), StateSuccess);
    Processes().FilesModificationMessage(QuorlaneFilesChanged, {});
    EXPECT_EQ(Synthesis(), StateSuccess);
    Processes().FilesModificationMessage(QuorlaneFilesChanged, {*source});
    EXPECT_EQ(Synthesis(), StateNoResult);
    EXPECT_EQ(netlist->GetFileState(), imodelFileOutOfDate);
}

TEST_F(Routing, ToolResultsAreForcedForTheirUnitAndToolOnly)
{
    ImodelModule* other = Unit("other");
    Processes().ForceToolStateMessage(StateSuccess, ideSYNTHESIS, other, nullptr);
    Processes().ForceToolStateMessage(StateSuccess, idePALLADOR, top, nullptr);
    EXPECT_EQ(Synthesis(), StateNoResult);
    Processes().ForceToolStateMessage(StateFailure, ideSYNTHESIS, top, nullptr);
    EXPECT_EQ(Synthesis(), StateFailure);
    // A rewritten output clears the failure.
    Processes().FileModificationMessage(QuorlaneFileChanged, netlist);
    EXPECT_EQ(Synthesis(), StateNoResult);
}

TEST_F(Routing, ConstraintListsAndDisplayItemsReachTheShownUnit)
{
    Processes().AttachModule(top);
    Processes().ConstraintListChanged(nullptr, 3, ideSYNTHESIS);
    EXPECT_EQ(Processes().GetCurrentModule(), top);

    Display display;
    Item accepting(true), refusing(false);
    display.items = {&accepting, nullptr, &refusing};
    Processes().SetProcessDisplay(&display);
    Processes().DisplayItemsMessage1(5, top);  // not shown
    display.shown = top;
    Processes().DisplayItemsMessage1(6, top);
    Processes().DisplayItemsMessage2(7, nullptr);
    Processes().DisplayItemsMessage3(Unit("other"));
    Processes().DisplayItemsMessage3(top);
    EXPECT_EQ(accepting.calls, (std::vector<std::string>{"1:6", "2:7", "3"}));
    EXPECT_TRUE(refusing.calls.empty());
}

TEST_F(Routing, AUnitThatGoesIsNoLongerCurrent)
{
    auto unit = std::make_unique<ImodelModule>("gone", nullptr, zorpaMODULE_VERILOG, false, "", "", false);
    Processes().AttachModule(unit.get());
    unit.reset();
    EXPECT_EQ(Processes().GetCurrentModule(), nullptr);
    // A message for the current unit now finds none.
    Processes().FunctionTypeMessage(QuorlaneToolChangedForModule, ideSYNTHESIS, nullptr);
}

TEST_F(Routing, TheRevisionSinkPointsAtTheNodeOfTheMessage)
{
    auto* flow = dynamic_cast<iprocessFlowImpl*>(&Flow());
    ASSERT_NE(flow, nullptr);
    flow->AttachModule(top);
    top->SetMessageObject(&Tool(idePALLADOR));
    flow->SwapMessageObject(&Tool(idePALLADOR));
    EXPECT_EQ(flow->SwapMessageObject(nullptr), &Tool(idePALLADOR));
    flow->DetachModule();
    EXPECT_EQ(top->GetMessageObject(), nullptr);
    EXPECT_EQ(flow->SwapMessageObject(&Tool(ideSYNTHESIS)), nullptr);  // no unit attached
    EXPECT_EQ(IprofileGetToolListStr(ideSYNTHESIS), "");
    EXPECT_EQ(IprofileGetProfileToolName(ideSYNTHESIS), "");
}
