// The design state of every view of a unit, worked out with and without the
// short cuts that spare an open with many views the file names of each: a
// node that knows no file, and a view without tool records. Random projects
// are answered twice, the second time with a file of another unit known to
// every node and a record of an unrelated tool in every view, which forces
// the full way; the answers must be the same.
#include "FlowProject.h"

#include "iprocess/QuorlaneStateMachine.h"

#include <random>
#include <string>
#include <vector>

namespace {

// One view's answers: its design state and the states it may reach.
struct ViewAnswer {
    std::string view;
    imodelSolvatoState state = Pre_Synthesis;
    std::vector<imodelSolvatoState> accessible;
    bool operator==(const ViewAnswer&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ViewAnswer& answer)
{
    out << answer.view << ": " << static_cast<int>(answer.state) << " [";
    for (imodelSolvatoState state : answer.accessible) out << ' ' << static_cast<int>(state);
    return out << " ]";
}

const zorpaFileManagerTypes kStateFiles[] = {zorpaFT_SYN_EDN, zorpaFT_SYN_HDL, zorpaFT_ADB, zorpaFT_BA_SDF,
                                             zorpaFT_BA_HDL};

class ViewStates : public FlowProject {
protected:
    static QuorlaneStateMachine& Machine() { return *Imodel::GetInstance().GetStateMachine(); }

    std::vector<ViewAnswer> Answers(ImodelModule* unit) const
    {
        Machine().UpdateFileDependentStatesForModule(unit);
        std::vector<ViewAnswer> answers;
        for (ImodelRevContextImpl* view : unit->GetContext()->GetAllRevs()) {
            ViewAnswer answer{view->GetName(), view->GetSolvatoState(), {}};
            for (imodelSolvatoState state : {Pre_Synthesis, Post_Synthesis, Post_Phy_Synthesis, Post_Layout})
                if (view->IsStateAccessible(state)) answer.accessible.push_back(state);
            answers.push_back(answer);
        }
        return answers;
    }
};

}  // namespace

TEST_F(ViewStates, TheShortCutsGiveTheAnswersOfTheFullWay)
{
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const auto chance = [&random](int percent) { return static_cast<int>(random() % 100) < percent; };
        Files().RemoveAllFiles();
        Design().Reset();
        Views().RemoveAllViews();
        const int count = 2 + static_cast<int>(random() % 6);
        std::vector<std::string> views;
        for (int number = 1; number <= count; ++number)
            views.push_back("VALUE=\"view" + std::to_string(number) + "\",NUM=" + std::to_string(number));
        views.push_back("CURREV=" + std::to_string(1 + random() % count));
        Views().ReadRevisions(views);

        ImodelModule* top = Unit("top", Add("hdl/top.v", zorpaFT_HDL, "module top; endmodule\n"));
        ImodelModule* other = Unit("other", Add("hdl/other.v", zorpaFT_HDL, "module other; endmodule\n"));
        // Some of the unit's state files, current or not, in its current view.
        for (zorpaFileManagerTypes type : kStateFiles)
            if (chance(50)) AddDefault(type, top, std::string(), chance(70) ? imodelFileUpToDate : imodelFileOutOfDate);
        // Tool results in some views only.
        for (ImodelRevContextImpl* view : top->GetContext()->GetAllRevs()) {
            if (chance(50)) view->SetToolState(&Tool(ideSYNTHESIS), StateSuccess, nullptr, false);
            if (chance(40)) view->SetToolState(&Tool(idePALLADOR), StateSuccess, nullptr, false);
        }
        const std::vector<ViewAnswer> lean = Answers(top);

        // Every node knows a file (of the other unit), every view has a
        // record (of a tool no design state depends on).
        for (zorpaFileManagerTypes type : kStateFiles)
            if (!Node(type).KnowsAnyFile()) AddDefault(type, other);
        for (ImodelRevContextImpl* view : top->GetContext()->GetAllRevs())
            view->SetToolStateForFile(ideCONSTRAINTSEDITOR, nullptr, StateSuccess);
        for (zorpaFileManagerTypes type : kStateFiles) ASSERT_TRUE(Node(type).KnowsAnyFile());
        EXPECT_EQ(Answers(top), lean);
    }
}
