// The design state of every view of a unit, worked out with and without the
// short cuts that spare an open with many views the file names of each: a
// node that knows no file, a view without tool records, and one answer for
// the views without tool records that share their flow options. Random
// projects are answered the plain way, view by view, and with the shared
// answers, then again with a file of another unit known to every node and a
// record of an unrelated tool in every view, which forces the full way; the
// answers must be the same.
#include "FlowProject.h"

#include "ifile/IfileObjectEx.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "src/iprocess/iprocessStateMachines.h"

#include <boost/make_shared.hpp>

#include <algorithm>
#include <memory>
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
    ~ViewStates() override
    {
        IprocessSolvatoStateMachine::PlainStates() = false;
        ImodelContextImpl::PlainRevisions() = false;
    }

    // Units that have not made their views yet answer as those that made
    // them at once.
    void CompareWaitingUnit(int made, const std::string& name)
    {
        IprocessSolvatoStateMachine::PlainStates() = true;
        ImodelContextImpl::PlainRevisions() = true;
        const std::vector<ViewAnswer> eager = Answers(Made(made, name + "_eager"));
        IprocessSolvatoStateMachine::PlainStates() = false;
        ImodelContextImpl::PlainRevisions() = false;
        ImodelModule* waiting = Made(made, name + "_waiting");
        ASSERT_TRUE(waiting->GetContext()->Pending());
        EXPECT_EQ(Answers(waiting), eager);
    }

    // An empty project with two to seven views, any of them current.
    void StartAgain(std::mt19937& random)
    {
        Files().RemoveAllFiles();
        Design().Reset();
        Views().RemoveAllViews();
        const int count = 2 + static_cast<int>(random() % 6);
        std::vector<std::string> views;
        for (int number = 1; number <= count; ++number)
            views.push_back("VALUE=\"view" + std::to_string(number) + "\",NUM=" + std::to_string(number));
        views.push_back("CURREV=" + std::to_string(1 + random() % count));
        Views().ReadRevisions(views);
    }

    // A unit of the given making, named `name`.
    ImodelModule* Made(int made, const std::string& name)
    {
        if (made == 0) return Unit(name, Add("hdl/" + name + ".v", zorpaFT_HDL, "module " + name + "; endmodule\n"));
        if (made == 1) return Unit(name, Add("hdl/" + name + ".edn", zorpaFT_SYN_EDN, "(edif " + name + ")\n"));
        return Unit(name);
    }

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
        StartAgain(random);

        // A unit made from sources, from a netlist (the EDIF flow, where some
        // design states need no file of their own) or of no file of its own
        // (structural: synthesis may be routed around it in some views).
        const int made = static_cast<int>(random() % 3);
        ImodelModule* top = Made(made, "top");
        CompareWaitingUnit(made, "early");
        ImodelModule* other = Unit("other", Add("hdl/other.v", zorpaFT_HDL, "module other; endmodule\n"));
        // Some of the unit's state files, current or not, in its current view.
        for (zorpaFileManagerTypes type : kStateFiles)
            if (chance(50)) AddDefault(type, top, std::string(), chance(70) ? imodelFileUpToDate : imodelFileOutOfDate);
        // Tool results and flow options other than the defaults in some
        // views only.
        for (ImodelRevContextImpl* view : top->GetContext()->GetAllRevs()) {
            if (chance(30)) view->SetToolState(&Tool(ideSYNTHESIS), StateSuccess, nullptr, false);
            if (chance(25)) view->SetToolState(&Tool(idePALLADOR), StateSuccess, nullptr, false);
            ImodelFlowOptions& options = *view->GetFlowOptions();
            options.UsePhySynth = chance(30);
            options.UseSynth = !chance(30);
        }
        IprocessSolvatoStateMachine::PlainStates() = true;
        const std::vector<ViewAnswer> plain = Answers(top);
        IprocessSolvatoStateMachine::PlainStates() = false;
        const std::vector<ViewAnswer> lean = Answers(top);
        EXPECT_EQ(lean, plain);
        CompareWaitingUnit(made, "late");

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

// "No result" set by the flow asks only the views that hold tool records
// whether the tool is used in them; the states left must be those of the
// plain way, which asks every view and sets the state in each it uses.
TEST_F(ViewStates, NoResultSetInTheViewsThatHoldRecordsLeavesThePlainStates)
{
    const ImodelFunctionType kinds[] = {ideSYNTHESIS, idePHYSYNTH, idePALLADOR, ideTORVIX, ideGLIMMOND};
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const auto chance = [&random](int percent) { return static_cast<int>(random() % 100) < percent; };
        StartAgain(random);

        // Two units alike in every view: one set the flow's way, one the plain way.
        ImodelModule* lean = Unit("lean", Add("hdl/lean.v", zorpaFT_HDL, "module lean; endmodule\n"));
        ImodelModule* plain = Unit("plain", Add("hdl/plain.v", zorpaFT_HDL, "module plain; endmodule\n"));
        const std::vector<ImodelRevContextImpl*> leanViews = lean->GetContext()->GetAllRevs();
        const std::vector<ImodelRevContextImpl*> plainViews = plain->GetContext()->GetAllRevs();
        ASSERT_EQ(leanViews.size(), plainViews.size());
        for (std::size_t i = 0; i < leanViews.size(); ++i) {
            const bool usePhySynth = chance(40);
            const bool useSynth = !chance(30);
            for (ImodelRevContextImpl* view : {leanViews[i], plainViews[i]}) {
                view->GetFlowOptions()->UsePhySynth = usePhySynth;
                view->GetFlowOptions()->UseSynth = useSynth;
            }
            for (ImodelFunctionType kind : kinds) {
                if (!chance(35)) continue;
                const imodelToolState state = chance(70) ? StateSuccess : StateFailure;
                leanViews[i]->SetToolState(&Tool(kind), state, nullptr, false);
                plainViews[i]->SetToolState(&Tool(kind), state, nullptr, false);
            }
        }
        for (int step = 0; step < 6; ++step) {
            IprocessToolObject* tool = &Tool(kinds[random() % std::size(kinds)]);
            const bool allFiles = chance(50);
            lean->GetContext()->SetToolState(tool, StateNoResult, tool, allFiles);
            std::vector<ImodelRevContextImpl*> used;
            plain->GetContext()->GetRevsUsed(used, tool);
            for (ImodelRevContextImpl* view : used) view->SetToolState(tool, StateNoResult, tool, allFiles);
            for (std::size_t i = 0; i < leanViews.size(); ++i)
                for (ImodelFunctionType kind : kinds)
                    EXPECT_EQ(leanViews[i]->GetToolState(&Tool(kind)), plainViews[i]->GetToolState(&Tool(kind)))
                        << "view " << i << ", tool " << static_cast<int>(kind);
        }
    }
}

// Whether a unit still waiting for its views has a file of its own, asked
// of the waiting lists, answers as a look at every unit does: through units
// made with and without files, files given later, views made, units
// destroyed in any order, and the question asked at any point.
TEST_F(ViewStates, AWaitingUnitWithAFileIsFoundAsByALookAtEveryUnit)
{
    int asked = 0;
    int answeredYes = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        StartAgain(random);
        ASSERT_FALSE(ImodelContextImpl::AnyPendingOfUnitWithFile());
        std::vector<boost::shared_ptr<IfileObjectEx>> files;
        for (int number = 0; number < 6; ++number) {
            const std::string name = "f" + std::to_string(number);
            files.push_back(Add("hdl/" + name + ".v", zorpaFT_HDL, "module " + name + "; endmodule\n"));
        }
        const auto file = [&] { return files[random() % files.size()]; };
        std::vector<std::unique_ptr<ImodelModule>> units;
        // The plain answer: a look at every unit.
        const auto waitingWithFile = [&units] {
            return std::any_of(units.begin(), units.end(), [](const std::unique_ptr<ImodelModule>& unit) {
                return unit->GetContext()->Pending() && unit->GetModuleFile();
            });
        };
        for (int step = 0; step < 300; ++step) {
            const unsigned what = random() % 10;
            if (what < 3 || units.empty()) {
                const bool withFile = random() % 6 == 0;
                units.push_back(std::make_unique<ImodelModule>("u" + std::to_string(step), withFile ? file() : nullptr,
                                                               zorpaMODULE_VERILOG, false, "", "", false));
            } else {
                const std::size_t at = random() % units.size();
                if (what < 6) {
                    units.erase(units.begin() + static_cast<std::ptrdiff_t>(at));
                } else if (what < 7) {
                    units[at]->SetModuleFileName(file()->GetFullFileName().GetString(), nullptr, false);
                } else {
                    units[at]->GetContext()->GetAllRevs();
                }
            }
            if (random() % 3 != 0) continue;
            const bool plain = waitingWithFile();
            ASSERT_EQ(ImodelContextImpl::AnyPendingOfUnitWithFile(), plain) << "step " << step;
            ++asked;
            answeredYes += plain;
        }
        // Many units, then most of them going in any order (a design
        // emptied), and the last few from the back.
        for (int i = 0; i < 300; ++i)
            units.push_back(std::make_unique<ImodelModule>("m" + std::to_string(i),
                                                           random() % 40 == 0 ? file() : nullptr, zorpaMODULE_VERILOG,
                                                           false, "", "", false));
        std::shuffle(units.begin(), units.end(), random);
        for (int gone = 0; units.size() > 5; ++gone) {
            units.erase(units.begin() + static_cast<std::ptrdiff_t>(random() % units.size()));
            if (gone % 7 != 0) continue;
            ASSERT_EQ(ImodelContextImpl::AnyPendingOfUnitWithFile(), waitingWithFile()) << gone << " gone";
        }
        while (!units.empty()) units.pop_back();
        EXPECT_FALSE(ImodelContextImpl::AnyPendingOfUnitWithFile());
    }
    // Both answers were asked for, each many times.
    EXPECT_GT(answeredYes, asked / 5);
    EXPECT_LT(answeredYes, asked - asked / 5);
}
