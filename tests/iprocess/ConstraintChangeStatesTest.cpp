// A change of a constraint file leaves the same file states, tool states
// and view events whether it is told to the units it concerns only or to
// every unit: random designs whose units have netlists and HDL netlists,
// synthesis and physical-synthesis lists naming random constraint files (or
// none), and now and then tool results, between changes of random
// constraint files.
#include "FlowDump.h"
#include "FlowProject.h"
#include "RandomDraws.h"

#include "RecordingView.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "imodel/views/ImodelToolStatesManager.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "src/iprocess/iprocessStateMachines.h"

#include <deque>
#include <random>
#include <string>
#include <vector>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

class ConstraintChangeStates : public FlowProject {
protected:
    ConstraintChangeStates()
    {
        std::vector<std::string> views{"VALUE=\"impl1\",NUM=1", "VALUE=\"impl2\",NUM=2", "CURREV=1"};
        Views().ReadRevisions(views);
    }
    ~ConstraintChangeStates() override { IprocessParentStateMachine::PlainInvalidation() = false; }

    static QuorlaneStateMachine& Machine() { return *Imodel::GetInstance().GetStateMachine(); }

    // The states after each change of one random history, every unit told
    // (`plain`) or not; the same seed gives the same history. `results`
    // draws tool results now and then. `narrowed` counts the changes told
    // with no result anywhere (those that may pass units by).
    std::vector<std::string> Run(unsigned seed, bool plain, bool results, int& narrowed)
    {
        IprocessParentStateMachine::PlainInvalidation() = plain;
        Files().RemoveAllFiles();
        Design().Reset();
        Design().SetNeedSave(false);
        Draws draws(seed);

        std::vector<ImodelModule*> units;
        const std::size_t count = 10 + draws.Pick(15);
        for (std::size_t i = 0; i < count; ++i) {
            const std::string name = "u" + std::to_string(i);
            units.push_back(Unit(name, Add("hdl/" + name + ".v", zorpaFT_HDL, "module " + name + "; endmodule\n")));
        }
        for (std::size_t link = 0; link < count; ++link)
            units[draws.Pick(count)]->AddSubBlock(units[draws.Pick(count)], false);
        std::vector<std::pair<Entry, ImodelModule*>> derived;
        for (ImodelModule* unit : units) {
            if (draws.Chance(30)) continue;
            derived.emplace_back(AddDefault(zorpaFT_SYN_EDN, unit, FlowNetlist(unit->GetName())), unit);
            if (draws.Chance(40))
                derived.emplace_back(AddDefault(zorpaFT_SYN_HDL, unit, "module " + unit->GetName() + "; endmodule\n"),
                                     unit);
        }
        // Every unit's states follow its files before the history begins.
        Machine().UpdateFileDependentStates();
        // Constraint files, some of them named after units.
        std::vector<Entry> constraints;
        for (std::size_t i = 0; i < count; ++i) {
            const bool timing = draws.Chance(60);
            const std::string name =
                (draws.Chance(50) ? units[i]->GetName() : "c" + std::to_string(i)) + (timing ? ".sdc" : ".pdc");
            constraints.push_back(Add("constraint/" + name, timing ? zorpaFT_SDC : zorpaFT_PDC, "set_io a 1\n"));
        }
        const auto someConstraints = [&]() {
            std::deque<IfileObject> listed;
            for (std::size_t i = draws.Pick(3); i > 0; --i) listed.push_back(*constraints[draws.Pick(count)]);
            return listed;
        };
        for (ImodelModule* unit : units) {
            if (draws.Chance(25)) unit->SetSynthesisConstraintFileList(someConstraints());
            if (draws.Chance(20)) unit->GetPhySynthOptions()->SetConstraintFileList(someConstraints(), nullptr);
        }

        const std::vector<ImodelFunctionType> tools{ideSYNTHESIS, idePHYSYNTH, idePALLADOR};
        const std::vector<imodelToolState> states{StateNoResult, StateSuccess, StateFailure};
        RecordingView view;
        std::vector<std::string> dumps;
        for (int step = 0; step < 30; ++step) {
            if (results && draws.Chance(25)) {
                ImodelModule* unit = units[draws.Pick(count)];
                for (ImodelRevContextImpl* revision : unit->GetContext()->GetAllRevs())
                    revision->SetToolState(&Tool(tools[draws.Pick(tools.size())]), states[draws.Pick(states.size())],
                                           nullptr, false);
                Machine().UpdateFileDependentStatesForModule(unit);
            } else if (results && draws.Chance(20)) {
                // Every result taken back; each unit told.
                for (ImodelModule* unit : units) {
                    for (ImodelRevContextImpl* revision : unit->GetContext()->GetAllRevs())
                        for (ImodelFunctionType tool : tools)
                            revision->SetToolState(&Tool(tool), StateNoResult, nullptr, false);
                    Machine().UpdateFileDependentStatesForModule(unit);
                }
            }
            // A derived file made again: its unit is told.
            if (!derived.empty() && draws.Chance(50)) {
                const auto& [file, unit] = derived[draws.Pick(derived.size())];
                file->SetFileState(imodelFileUpToDate);
                Machine().UpdateFileDependentStatesForModule(unit);
            }
            if (draws.Chance(10)) units[draws.Pick(count)]->SetSynthesisConstraintFileList(someConstraints());
            if (ImodelContextToolStatesManager::ResultsHeld() == 0) ++narrowed;
            Machine().FileModificationMessage(QuorlaneConstraintFileChanged, constraints[draws.Pick(count)]);
            dumps.push_back(DumpStates(Flow(), Files(), units, view.Names()));
            view.Clear();
        }
        return dumps;
    }

    // Runs each seed both ways and compares every step; answers how many
    // steps changed something.
    int Compare(unsigned first, unsigned last, bool results, int& narrowed)
    {
        int differing = 0;
        for (unsigned seed = first; seed <= last; ++seed) {
            int plainNarrowed = 0;
            const std::vector<std::string> plain = Run(seed, true, results, plainNarrowed);
            const std::vector<std::string> fast = Run(seed, false, results, narrowed);
            EXPECT_EQ(plain.size(), fast.size());
            for (std::size_t step = 0; step < plain.size() && step < fast.size(); ++step) {
                EXPECT_EQ(plain[step], fast[step]) << "seed " << seed << ", step " << step;
                if (plain[step] != fast[step]) return differing;
                if (step > 0 && plain[step] != plain[step - 1]) ++differing;
            }
        }
        return differing;
    }
};

}  // namespace

TEST_F(ConstraintChangeStates, WithoutResultsTheUnitsConcernedAloneLeaveWhatEveryUnitToldLeaves)
{
    int narrowed = 0;
    const int differing = Compare(1, 8, false, narrowed);
    // The changes do make netlists out of date: not a still design.
    EXPECT_GT(differing, 10);
    EXPECT_EQ(narrowed, 8 * 30);
}

TEST_F(ConstraintChangeStates, WithResultsHeldTheStatesAreThoseOfEveryUnitTold)
{
    int narrowed = 0;
    const int differing = Compare(21, 28, true, narrowed);
    EXPECT_GT(differing, 10);
    // Both roads are taken.
    EXPECT_GT(narrowed, 10);
    EXPECT_LT(narrowed, 8 * 30);
}
