// How the process manager routes change messages to the flow of a unit
// and forgets units that go.
#include "FlowProject.h"
#include "ProfileHost.h"

#include "icmd/files/IcmdAddFileToModel.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "iprocess/IprocessDisplay.h"
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

namespace {

// The host's listener, hearing of the changes of the views.
class ViewListener : public IprocessListener {
public:
    void ConstraintListChanged(ImodelModule*, std::uint32_t, ImodelFunctionType) override {}
    void DisplayItemsMessage1(std::uint32_t, ImodelModule*) override {}
    void Ide_pldFileDetected(KemletContentIf*, boost::shared_ptr<IfileObjectEx>) override {}
    void InputFileListChanged(boost::shared_ptr<IfileObjectEx>, ImodelFunctionType) override {}
    void DesignStateOfRevisionChanged(ImodelRevContextImpl* revision) override
    {
        heard.push_back("design state of " + Of(revision));
    }
    void ToolStateOfRevisionChanged(ImodelFunctionType tool, ImodelRevContextImpl* revision) override
    {
        heard.push_back("tool " + std::to_string(tool) + " of " + Of(revision));
    }
    void UsedFileOfRevisionChanged(zorpaFileManagerTypes type, ImodelRevContextImpl* revision) override
    {
        heard.push_back("used file " + std::to_string(type) + " of " + Of(revision));
    }

    std::vector<std::string> heard;

private:
    static std::string Of(const ImodelRevContextImpl* revision)
    {
        return revision->GetModule()->GetName() + " in " + revision->GetName();
    }
};

// The host's drawing of the flow of one unit, refreshed when asked.
class ShownFlow : public IprocessDisplay {
public:
    explicit ShownFlow(ImodelModule* unit) : shown(unit) {}
    bool IsRefreshPending() override { return pending; }
    void SetRefreshPending(bool value) override { pending = value; }
    void RequestRefresh(bool) override { ++requests; }
    void ShowModuleFlow(ImodelModule*, IprocessFlow*) override {}
    ImodelModule* GetShownModule() override { return shown; }
    IprocessDisplayItemOwner* GetItemOwner() override { return nullptr; }

    ImodelModule* shown;
    bool pending = false;
    int requests = 0;
};

}  // namespace

// A change of a view reaches the host's listener, whichever view it is; the
// display draws again only for the view it shows: the current one of its unit.
TEST_F(Routing, AViewsChangesReachTheListenerAndTheDisplayThatShowsIt)
{
    std::vector<std::string> views{"VALUE=\"impl1\",NUM=1", "VALUE=\"impl2\",NUM=2", "CURREV=1"};
    Views().ReadRevisions(views);
    ImodelRevContextImpl* shown = top->GetContext()->FindRevision("impl1");
    ImodelRevContextImpl* other = top->GetContext()->FindRevision("impl2");
    ASSERT_TRUE(shown && other);
    ImodelModule* elsewhere = Unit("elsewhere");
    ViewListener listener;
    ShownFlow display(top);
    const bool interactive = Imodel::IsInteractiveMode();
    Imodel::SetIsInteractiveMode(true);
    Processes().SetListener(&listener);
    Processes().SetProcessDisplay(&display);
    // What a change made heard and drawn; the host draws at once.
    const auto change = [&](const auto& make) {
        listener.heard.clear();
        const int before = display.requests;
        make();
        Processes().RefreshProcessDisplay();
        return std::make_pair(listener.heard, display.requests - before);
    };
    using Heard = std::pair<std::vector<std::string>, int>;

    // The flow works the views' design states out again: its changes are heard of too.
    EXPECT_EQ(change([&] { shown->UseFile(*netlist, true); }),
              Heard({"used file " + std::to_string(zorpaFT_SYN_EDN) + " of top in impl1",
                     "design state of top in impl1", "design state of top in impl2"},
                    1));
    // The same file again is no change; one chosen without notice is heard of by nobody.
    EXPECT_EQ(change([&] { shown->UseFile(*netlist, true); }), Heard({}, 0));
    EXPECT_EQ(change([&] { other->UseFile(*netlist, false); }), Heard({}, 0));
    EXPECT_EQ(change([&] { other->DontUseFile(zorpaFT_SYN_EDN, true); }),
              Heard({"used file " + std::to_string(zorpaFT_SYN_EDN) + " of top in impl2"}, 0));
    EXPECT_EQ(change([&] { shown->SetSolvatoState(Post_Layout); }), Heard({"design state of top in impl1"}, 1));
    EXPECT_EQ(change([&] { shown->SetSolvatoState(Post_Layout); }), Heard({}, 0));
    EXPECT_EQ(change([&] { other->SetSolvatoState(Pre_Synthesis); }), Heard({"design state of top in impl2"}, 0));
    EXPECT_EQ(change([&] { shown->SetToolState(&Tool(idePALLADOR), StateFailure, nullptr, false); }),
              Heard({"tool " + std::to_string(idePALLADOR) + " of top in impl1"}, 1));
    // Another unit's current view is not the one shown.
    EXPECT_EQ(change([&] { Revision(elsewhere)->SetSolvatoState(Post_Synthesis); }),
              Heard({"design state of elsewhere in impl1"}, 0));
    // Once the current view changes, the display shows the other one.
    top->GetContext()->SetCurRev("impl2");
    EXPECT_EQ(change([&] { other->SetSolvatoState(Post_Synthesis); }), Heard({"design state of top in impl2"}, 1));

    // Without listener or display the changes still land.
    listener.heard.clear();
    Processes().SetListener(nullptr);
    Processes().SetProcessDisplay(nullptr);
    Imodel::SetIsInteractiveMode(interactive);
    shown->SetSolvatoState(Pre_Synthesis);
    EXPECT_EQ(shown->GetSolvatoState(), Pre_Synthesis);
    EXPECT_TRUE(listener.heard.empty());
}
