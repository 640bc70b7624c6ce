// The flow's state machines seen through the process manager: a design
// "top" whose synthesis and place-and-route results exist in two views, and
// what each change message does to file states, tool states and the design
// state of every view.
#include "FlowProject.h"
#include "MessageRecorder.h"

#include "RecordingView.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "src/iprocess/iprocessFlowImpl.h"
#include "src/iprocess/iprocessInvalidation.h"

#include <kemlet/KemletContentIf.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

class StateMachines : public FlowProject {
protected:
    StateMachines()
    {
        std::vector<std::string> views{"VALUE=\"impl1\",NUM=1", "VALUE=\"impl2\",NUM=2", "CURREV=1"};
        Views().ReadRevisions(views);
        source = Add("hdl/top.v", zorpaFT_HDL, "module top; endmodule\n");
        top = Unit("top", source);
        netlist = AddDefault(zorpaFT_SYN_EDN, top, FlowNetlist("top"));
        synthesized = AddDefault(zorpaFT_SYN_HDL, top, "module top; endmodule\n");
        database = AddDefault(zorpaFT_ADB, top);
        sdf = AddDefault(zorpaFT_BA_SDF, top);
        backAnnotated = AddDefault(zorpaFT_BA_HDL, top);
        // Synthesis ran for the unit, place and route in the current view.
        for (ImodelRevContextImpl* view : top->GetContext()->GetAllRevs())
            view->SetToolState(&Tool(ideSYNTHESIS), StateSuccess, nullptr, false);
        Revision(top)->SetToolState(&Tool(idePALLADOR), StateSuccess, nullptr, false);
        Machine().UpdateFileDependentStatesForModule(top);
    }

    static QuorlaneStateMachine& Machine() { return *Imodel::GetInstance().GetStateMachine(); }
    ImodelRevContextImpl* View(const char* name) const { return top->GetContext()->FindRevision(std::string(name)); }
    static bool Reaches(ImodelRevContextImpl* view, imodelSolvatoState state) { return view->IsStateAccessible(state); }
    static std::vector<imodelSolvatoState> Accessible(ImodelRevContextImpl* view)
    {
        std::vector<imodelSolvatoState> states;
        for (imodelSolvatoState state : {Pre_Synthesis, Post_Synthesis, Post_Phy_Synthesis, Post_Layout})
            if (view->IsStateAccessible(state)) states.push_back(state);
        return states;
    }
    // A place-and-route description of view 1 for the design, listing the
    // inputs the layout used.
    Entry Description() { return Add("pallador/impl1/top.ide_pld", zorpaFT_IDE_PLD); }

    Entry source, netlist, synthesized, database, sdf, backAnnotated;
    ImodelModule* top = nullptr;
};

}  // namespace

TEST_F(StateMachines, ResultsThatAreCurrentReachPostLayoutInTheCurrentView)
{
    EXPECT_EQ(View("impl1")->GetSolvatoState(), Post_Layout);
    EXPECT_TRUE(Reaches(View("impl1"), Pre_Synthesis));
    EXPECT_TRUE(Reaches(View("impl1"), Post_Synthesis));
    // The other view has no layout of its own.
    EXPECT_EQ(View("impl2")->GetSolvatoState(), Post_Synthesis);

    std::vector<imodelSolvatoState> supported;
    Flow().GetSupportedStates(supported, top);
    EXPECT_EQ(supported, (std::vector<imodelSolvatoState>{Pre_Synthesis, Post_Synthesis, Post_Layout}));
    IprocessFlow::FileNodes required;
    EXPECT_TRUE(Flow().GetFilesRequiredForState(Post_Synthesis, required, top));
    EXPECT_EQ(required, IprocessFlow::FileNodes{&Node(zorpaFT_SYN_EDN)});
    EXPECT_FALSE(Flow().GetFilesRequiredForState(Post_Phy_Synthesis, required, top));
}

TEST_F(StateMachines, AChangedSourceTakesEverythingDownstreamOutOfDate)
{
    Machine().FilesModificationMessage(QuorlaneFilesChanged, {*source});

    // The files of the unit downstream of its sources (the database and the
    // back-annotated files are the unit's once the place-and-route tool
    // reads what its databases were made from).
    for (const Entry& file : {netlist, synthesized})
        EXPECT_EQ(file->GetFileState(), imodelFileOutOfDate) << file->GetInternalFileName().GetString();
    EXPECT_EQ(source->GetFileState(), imodelFileUpToDate);
    for (ImodelRevContextImpl* view : top->GetContext()->GetAllRevs()) {
        EXPECT_EQ(view->GetToolState(&Tool(ideSYNTHESIS)), StateNoResult);
        EXPECT_EQ(view->GetToolState(&Tool(idePALLADOR)), StateNoResult);
        EXPECT_EQ(view->GetSolvatoState(), Pre_Synthesis);
    }
    // The netlist is still there: its state stays within reach.
    for (ImodelRevContextImpl* view : top->GetContext()->GetAllRevs()) {
        EXPECT_TRUE(Reaches(view, Pre_Synthesis));
        EXPECT_TRUE(Reaches(view, Post_Synthesis));
    }
    EXPECT_EQ(Imodel::GetInstance().GetProcessManager()->GetCurrentModule(), nullptr);
}

TEST_F(StateMachines, ARewrittenNetlistIsCurrentAndWhatIsMadeFromItIsNot)
{
    netlist->SetFileState(imodelFileOutOfDate);
    Machine().FileModificationMessage(QuorlaneFileChanged, netlist);
    EXPECT_EQ(netlist->GetFileState(), imodelFileUpToDate);
    EXPECT_EQ(synthesized->GetFileState(), imodelFileOutOfDate);
    EXPECT_EQ(source->GetFileState(), imodelFileUpToDate);
    // The layout was made from the former netlist.
    EXPECT_EQ(View("impl1")->GetToolState(&Tool(idePALLADOR)), StateNoResult);
    EXPECT_EQ(View("impl1")->GetSolvatoState(), Post_Synthesis);

    // A database rewritten starts nothing downstream.
    Machine().FileModificationMessage(QuorlaneFileChanged, database);
    EXPECT_EQ(database->GetFileState(), imodelFileUpToDate);
    EXPECT_EQ(sdf->GetFileState(), imodelFileUpToDate);
    EXPECT_EQ(backAnnotated->GetFileState(), imodelFileUpToDate);
}

TEST_F(StateMachines, APlaceAndRouteRunCountsOnlyOnCurrentInputs)
{
    for (ImodelRevContextImpl* view : top->GetContext()->GetAllRevs())
        view->SetToolState(&Tool(idePALLADOR), StateNoResult, nullptr, true);
    Machine().UpdateFileDependentStatesForModule(top);
    ASSERT_EQ(View("impl1")->GetSolvatoState(), Post_Synthesis);
    const Entry description = Description();
    MessageRecorder messages;
    // The description reaches the flow of its unit (the place-and-route
    // tool finds the unit of a description).
    const auto detected = [&](KemletContentIf& content) {
        Flow().AttachModule(top);
        Flow().Ide_pldFileDetected(&content, description);
        Flow().DetachModule();
    };

    KemletContentIf content;
    content.SetLayoutCompleted(true);
    content.SetBackAnnotated(true);
    content.AddUsedInputFile(netlist->GetFullFileName().GetString());
    netlist->SetFileState(imodelFileOutOfDate);
    detected(content);
    ASSERT_EQ(messages.WithId("LAYOUT_IGNORED_OOD_FILE").size(), 1u);
    EXPECT_EQ(messages.WithId("LAYOUT_IGNORED_OOD_FILE")[0].text,
              "top.ide_pld completed layout, but it used the out-of-date file: top.edn. Your design will remain in "
              "pre-layout state.");
    EXPECT_NE(View("impl1")->GetToolStateForFile(&Tool(idePALLADOR), description), StateSuccess);

    netlist->SetFileState(imodelFileUpToDate);
    detected(content);
    EXPECT_EQ(View("impl1")->GetToolStateForFile(&Tool(idePALLADOR), description), StateSuccess);
    EXPECT_EQ(View("impl1")->GetSolvatoState(), Post_Layout);
    EXPECT_EQ(View("impl2")->GetSolvatoState(), Post_Synthesis);  // that view's run is not this one
    EXPECT_EQ(messages.WithId("LAYOUT_IGNORED_OOD_FILE").size(), 1u);

    KemletContentIf failed;
    failed.SetRunFailed(true);
    failed.SetLayoutCompleted(false);
    detected(failed);
    EXPECT_EQ(View("impl1")->GetToolStateForFile(&Tool(idePALLADOR), description), StateFailure);
    EXPECT_EQ(View("impl1")->GetSolvatoState(), Post_Synthesis);
}

TEST_F(StateMachines, ANestedMessageLeavesTheOuterUnitAttached)
{
    // A view that answers a file event with a message of its own, while the
    // flow handles the message that changed the file.
    auto* flow = dynamic_cast<iprocessFlowImpl*>(&Flow());
    ASSERT_NE(flow, nullptr);
    ImodelModule* other = Unit("other");
    RecordingView view;
    std::vector<ImodelModule*> attached;
    bool nested = false;
    view.onBatch = [&] {
        if (nested || !flow->GetAttachedModule()) return;
        nested = true;
        attached.push_back(flow->GetAttachedModule());
        Machine().UpdateFileDependentStatesForModule(other);
        attached.push_back(flow->GetAttachedModule());
    };
    Machine().FilesModificationMessage(QuorlaneFilesChanged, {*source});
    EXPECT_TRUE(nested);
    EXPECT_EQ(attached, (std::vector<ImodelModule*>{top, top}));
    EXPECT_EQ(flow->GetAttachedModule(), nullptr);
    EXPECT_EQ(netlist->GetFileState(), imodelFileOutOfDate);
}

TEST_F(StateMachines, AFileReachedTwoWaysIsCollectedOnce)
{
    // The synthesized netlist is made from the netlist; reported twice (two
    // paths to its node), it is collected once and walked once.
    IprocessInvalidationObject_Propagate walk(netlist, &Node(zorpaFT_SYN_EDN), top, nullptr);
    walk.GetAllFilesAndTools();
    walk.NewFileFound(&Node(zorpaFT_SYN_HDL));
    walk.NewFileFound(&Node(zorpaFT_SYN_HDL));
    const auto& collected = walk.GetCollectedFiles();
    EXPECT_EQ(std::count(collected.begin(), collected.end(), synthesized), 1);
    EXPECT_EQ(std::count(collected.begin(), collected.end(), netlist), 0);
    EXPECT_EQ(std::count(walk.GetFoundFiles().begin(), walk.GetFoundFiles().end(), &Node(zorpaFT_SYN_HDL)), 1);
    walk.InvalidateAll();
    EXPECT_EQ(synthesized->GetFileState(), imodelFileOutOfDate);
    EXPECT_EQ(netlist->GetFileState(), imodelFileUpToDate);
}

TEST_F(StateMachines, AnInputListChangedWithoutAFileChangesNothing)
{
    Machine().InputFileListChanged(nullptr, idePHYSYNTH);
    Flow().AttachModule(top);
    Flow().InputFileListChanged(nullptr, idePHYSYNTH);
    Flow().DetachModule();
    EXPECT_EQ(netlist->GetFileState(), imodelFileUpToDate);
    EXPECT_EQ(View("impl1")->GetSolvatoState(), Post_Layout);
}
