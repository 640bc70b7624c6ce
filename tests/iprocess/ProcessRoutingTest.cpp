// How the process manager routes change messages to the flow of a unit
// and forgets units that go.
#include "FlowProject.h"
#include "ProfileHost.h"

#include "icmd/files/IcmdAddFileToModel.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "iprocess/IprocessListener.h"
#include "iprocess/IprocessMessages.h"
#include "src/iprocess/iprocessFlowImpl.h"

#include <string>
#include <vector>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

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

// A source added again tells the flow of its unit, but not while a project
// is read: the read works out every state once it ends.
TEST_F(Routing, ASourceAddedAgainReachesItsUnitOutsideAProjectReadOnly)
{
    const auto addAgain = [this] {
        IcmdAddFileToModel command;
        command.SetFile(*source);
        command.SetParseTheFile(false);
        return command.execDo();
    };
    Succeed();
    {
        const ImodelSetAndRestoreModelFlagObject reading(Imodel::GetIsReadingProject(), true);
        EXPECT_EQ(addAgain(), AcmdEnum::Success);
    }
    EXPECT_EQ(Synthesis(), StateSuccess);
    EXPECT_EQ(netlist->GetFileState(), imodelFileUpToDate);
    EXPECT_EQ(addAgain(), AcmdEnum::Success);
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
}

TEST_F(Routing, ProfileTextsAreThoseOfTheHostsManagedProfile)
{
    {
        RecordingHost withoutProfiles;
        EXPECT_EQ(IprofileGetToolListStr(ideSYNTHESIS), "");
        EXPECT_EQ(IprofileGetProfileToolName(ideSYNTHESIS), "");
    }
    ProfileHost host("SYNPLIFY7_EXT", "Synplify Pro");
    EXPECT_EQ(IprofileGetToolListStr(ideSYNTHESIS), "Synplify");
    EXPECT_EQ(IprofileGetProfileToolName(ideSYNTHESIS), "Synplify Pro");
    // A kind without a managed profile has no texts.
    EXPECT_EQ(IprofileGetToolListStr(idePALLADOR), "");
    EXPECT_EQ(IprofileGetProfileToolName(idePALLADOR), "");
}

TEST_F(Routing, DeferredSourceChangesAreRoutedOnceInTheirPlaceAmongTheOtherMessages)
{
    const Entry leafSource = Add("hdl/leaf.v", zorpaFT_HDL, "module leaf; endmodule\n");
    ImodelModule* leaf = Unit("leaf", leafSource);
    top->AddSubBlock(leaf, false);
    Succeed();
    {
        const IprocessDeferredSourceChanges deferred(&Processes());
        Processes().FilesModificationMessage(QuorlaneFilesChanged, {*leafSource});
        {
            const IprocessDeferredSourceChanges nested(&Processes());
            Processes().FilesModificationMessage(QuorlaneFilesChanged, {*source, *leafSource});
        }
        // Gathered, not routed yet.
        EXPECT_EQ(Synthesis(), StateSuccess);
        EXPECT_EQ(netlist->GetFileState(), imodelFileUpToDate);
        // Any other message routes them first: the result forced now stays.
        Processes().ForceToolStateMessage(StateSuccess, ideSYNTHESIS, top, nullptr);
        EXPECT_EQ(netlist->GetFileState(), imodelFileOutOfDate);
    }
    EXPECT_EQ(Synthesis(), StateSuccess);
    // What is gathered when the last deferral ends is routed then; a change
    // of another kind routes the ones before it first.
    {
        const IprocessDeferredSourceChanges deferred(&Processes());
        Processes().FilesModificationMessage(QuorlaneFilesRemoved, {*leafSource});
        Processes().FilesModificationMessage(QuorlaneFilesChanged, {*leafSource});
        EXPECT_EQ(Synthesis(), StateNoResult);
        Succeed();
    }
    EXPECT_EQ(Synthesis(), StateNoResult);
}
