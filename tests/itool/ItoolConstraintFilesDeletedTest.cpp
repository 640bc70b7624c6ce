// Constraint files leaving the project leave the units' own lists (the
// synthesis list and the physical-synthesis options): one walk for many
// files, and a batch with units leaving meanwhile, end as the plain walk of
// every unit for each file in turn does, with the same notices.
#include "FlowProject.h"
#include "LeavingSteps.h"

#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/design/ImodelUnitConstraintFiles.h"
#include "imodel/options/ImodelPhySynthesisOptions.h"
#include "iprocess/IprocessListener.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <numeric>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The names of the units told that their physical-synthesis list changed.
class NoticeListener : public IprocessListener {
public:
    void ConstraintListChanged(ImodelModule* module, std::uint32_t, ImodelFunctionType) override
    {
        notices.push_back(module ? module->GetName() : std::string("-"));
    }
    void DisplayItemsMessage1(std::uint32_t, ImodelModule*) override {}
    void Ide_pldFileDetected(KemletContentIf*, boost::shared_ptr<IfileObjectEx>) override {}
    void InputFileListChanged(boost::shared_ptr<IfileObjectEx>, ImodelFunctionType) override {}

    std::vector<std::string> notices;
};

// The plain rule the walks are held to: every unit of every library, for
// the file, makes its options, drops the file through them and gives the
// options back when they hold the defaults; the synthesis list loses its
// first entry equal to the file.
void DropPlainly(ImodelUnitConstraintList list, const IfileObject& file)
{
    const auto [first, last] = Imodel::GetInstance().GetDesignManager()->GetLibraries();
    for (auto library = first; library != last; ++library) {
        for (ImodelModule* unit : *(*library)->GetModules()) {
            if (list == ImodelUnitConstraintList::PhySynthesis) {
                unit->GetPhySynthOptions()->ConstraintFileRemoved(file, unit);
                unit->SettlePhySynthOptions();
                continue;
            }
            ImodelModule::FileList files = unit->GetSynthesisConstraintFileList();
            const auto found = std::find(files.begin(), files.end(), file);
            if (found == files.end()) continue;
            files.erase(found);
            unit->SetSynthesisConstraintFileList(files);
        }
    }
}

// Random designs of units in "work" and "ip", each defined by a file of its
// own, whose lists name constraint files written several ways that name one
// file ("<project>", the full name, other letter case), other files of the
// same name elsewhere, a file twice, and the flow's pin-constraint file of
// the unit.
class ConstraintFilesDeletedTest : public FlowProject {
protected:
    static constexpr int kFiles = 7;
    static constexpr int kForms = 5;

    ConstraintFilesDeletedTest() { Imodel::GetInstance().GetProcessManager()->SetListener(&m_listener); }
    ~ConstraintFilesDeletedTest() override
    {
        Imodel::GetInstance().GetProcessManager()->SetListener(nullptr);
        ImodelModule::ClearRemovedModuleList();
    }

    // Forms 0 to 2 are the one file, 3 and 4 others of its name.
    IfileObject Constraint(int file, int form) const
    {
        const bool pins = file % 2 == 0;
        const zorpaFileManagerTypes type = pins ? zorpaFT_PDC : zorpaFT_SDC;
        const std::string title = "c" + std::to_string(file) + (pins ? ".pdc" : ".sdc");
        switch (form) {
        case 0:
            return IfileObject("<project>/constraint/" + title, type, ImodelFMInternal, true, true);
        case 1:
            return IfileObject(ImodelFileName(m_folder.Path() + "/constraint/" + title), type, ImodelFMFull, true,
                               false);
        case 2: {
            std::string upper = title;
            std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
            return IfileObject(ImodelFileName(m_folder.Path() + "/CONSTRAINT/" + upper), type, ImodelFMFull, true,
                               false);
        }
        case 3:
            return IfileObject("<project>/other/" + title, type, ImodelFMInternal, true, true);
        default:
            return IfileObject(ImodelFileName("/elsewhere/constraint/" + title), type, ImodelFMFull, true, false);
        }
    }
    IfileObject AnyConstraint(std::mt19937& random) const
    {
        const int file = static_cast<int>(random() % kFiles);
        return Constraint(file, static_cast<int>(random() % kForms));
    }

    // The design drawn from the seed, made afresh.
    void Build(unsigned seed)
    {
        Design().Reset();
        ImodelModule::ClearRemovedModuleList();
        std::mt19937 random(seed);
        const int count = 4 + static_cast<int>(random() % 16);
        m_units.clear();
        m_unitFiles.clear();
        for (int i = 0; i < count; ++i) {
            const std::string library = random() % 5 == 0 ? "ip" : "work";
            const std::string name = "u" + std::to_string(i);
            const boost::shared_ptr<IfileObjectEx> file = UnitFile(name, library);
            auto unit = std::make_unique<ImodelModule>(name, file, zorpaMODULE_VERILOG, false, library, "", false);
            m_units.push_back(Design().AddLibrary(library, false)->GetModules()->Insert(std::move(unit)).first);
            m_unitFiles.push_back(file);
        }
        for (ImodelModule* unit : m_units) {
            // Most units take physical synthesis in their flow: the flow hears of their lists.
            if (ImodelRevContextImpl* revision = Revision(unit))
                revision->GetFlowOptions()->UsePhySynth = random() % 4 != 0;
            if (random() % 4 != 0) {
                std::deque<IfileObject> listed;
                for (auto entries = random() % 5; entries > 0; --entries) listed.push_back(AnyConstraint(random));
                if (random() % 3 == 0 && Revision(unit) != nullptr) {
                    const auto pins = AddDefault(zorpaFT_ZEVORU_PDC, unit);
                    listed.insert(listed.begin() + static_cast<std::ptrdiff_t>(random() % (listed.size() + 1)), *pins);
                }
                unit->GetPhySynthOptions()->SetConstraintFileList(listed, nullptr);
                unit->SettlePhySynthOptions();
            }
            ImodelModule::FileList synthesis;
            for (auto entries = random() % 4; entries > 0; --entries) synthesis.push_back(AnyConstraint(random));
            unit->SetSynthesisConstraintFileList(synthesis);
        }
        for (const char* library : {"work", "ip"})
            if (const auto found = Design().FindLibraryByName(library)) Design().UpdateTopModules(found);
        m_listener.notices.clear();
    }

    // Every unit's lists and what its options would write, those kept of
    // the units that went, and the notices (in any order: the walks meet
    // the units in another order).
    std::vector<std::string> State() const
    {
        std::vector<std::string> state;
        const auto [first, last] = Design().GetLibraries();
        for (auto library = first; library != last; ++library)
            for (const ImodelModule* unit : *(*library)->GetModules())
                state.push_back((*library)->GetName() + " " + Describe(*unit));
        for (const auto& kept : ImodelModule::GetRemovedModuleList()) state.push_back("kept " + Describe(*kept));
        std::vector<std::string> notices = m_listener.notices;
        std::sort(notices.begin(), notices.end());
        for (const std::string& notice : notices) state.push_back("told " + notice);
        return state;
    }
    static std::string Describe(const ImodelModule& unit)
    {
        std::ostringstream text;
        text << unit.GetName() << (unit.IsPhySynthCustomized() ? " customized" : "") << "\n";
        unit.GetPhySynthOptions()->WriteToFile(&text);
        text << "synthesis:";
        for (const IfileObject& file : unit.GetSynthesisConstraintFileList())
            text << " " << file.GetInternalFileName().GetString();
        return text.str();
    }

    // The file of the unit in the library, one entry for all the builds.
    boost::shared_ptr<IfileObjectEx>& UnitFile(const std::string& name, const std::string& library)
    {
        boost::shared_ptr<IfileObjectEx>& file = m_hdl[library + "/" + name];
        if (file) return file;
        const std::string relative = "hdl/" + library + "/" + name + ".v";
        m_folder.Write(relative, "");
        IfileObjectEx member(IfileObject("<project>/" + relative, zorpaFT_HDL, ImodelFMInternal, true, true), false);
        member.SetLibraryName(library);
        file = Files().AddOrUpdateFile(member, false);
        return file;
    }

    // Unit `i` leaves with its file, its data kept.
    void RemoveUnit(int i)
    {
        ImodelRemoveModulesOfFile(m_unitFiles[static_cast<std::size_t>(i)], nullptr, true, true, false, nullptr,
                                  nullptr);
    }

    // A constraint file that leaves goes to both lists, as the tools pass it on.
    static std::vector<std::pair<ImodelUnitConstraintList, IfileObject>> Leaving(const IfileObject& file)
    {
        return {{ImodelUnitConstraintList::Synthesis, file}, {ImodelUnitConstraintList::PhySynthesis, file}};
    }
    // The lines of what was kept of the units that went.
    static std::vector<std::string> Kept(const std::vector<std::string>& state)
    {
        std::vector<std::string> kept;
        std::copy_if(state.begin(), state.end(), std::back_inserter(kept),
                     [](const std::string& line) { return line.rfind("kept ", 0) == 0; });
        return kept;
    }

    FlowOptionsScope m_options{{"IMPORT_CONSTRAINT_FILES", "PDC SDC"},
                               {"PDC_DISP_NAME", "Pin"},
                               {"PDC_EXTN", "pdc"},
                               {"SDC_DISP_NAME", "Timing"},
                               {"SDC_EXTN", "sdc"}};
    NoticeListener m_listener;
    std::vector<ImodelModule*> m_units;
    std::vector<boost::shared_ptr<IfileObjectEx>> m_unitFiles;
    std::map<std::string, boost::shared_ptr<IfileObjectEx>> m_hdl;
};

}  // namespace

TEST_F(ConstraintFilesDeletedTest, OneWalkForManyFilesLeavesWhatAWalkForEachLeaves)
{
    int changed = 0;
    int told = 0;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 random(seed + 100000);
        std::vector<IfileObject> leaving;
        for (auto count = 1 + random() % 6; count > 0; --count) leaving.push_back(AnyConstraint(random));

        Build(seed);
        const std::vector<std::string> before = State();
        for (const ImodelUnitConstraintList list :
             {ImodelUnitConstraintList::Synthesis, ImodelUnitConstraintList::PhySynthesis})
            for (const IfileObject& file : leaving) DropPlainly(list, file);
        const std::vector<std::string> eachInTurn = State();

        Build(seed);
        for (const ImodelUnitConstraintList list :
             {ImodelUnitConstraintList::Synthesis, ImodelUnitConstraintList::PhySynthesis})
            ImodelForgetUnitConstraintFiles(list, leaving);
        ASSERT_EQ(State(), eachInTurn) << "seed " << seed;
        if (eachInTurn != before) ++changed;
        if (std::any_of(eachInTurn.begin(), eachInTurn.end(),
                        [](const std::string& line) { return line.rfind("told ", 0) == 0; }))
            ++told;
    }
    // The designs are no empty cases: most change, and the flow hears of it.
    EXPECT_GT(changed, 120);
    EXPECT_GT(told, 60);
}

TEST_F(ConstraintFilesDeletedTest, ABatchWithUnitsLeavingMeanwhileLeavesWhatEachFileInTurnLeaves)
{
    // Constraint files and units' files leave in a random order: what is
    // kept of a unit that goes holds its lists as they were when it went.
    int changed = 0;
    int keptChanged = 0;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        Build(seed);
        std::mt19937 random(seed + 200000);
        const std::vector<LeavingStep> steps =
            RandomLeavingSteps(random, m_units.size(), [this](std::mt19937& r) { return AnyConstraint(r); });

        const std::vector<std::string> before = State();
        for (const LeavingStep& step : steps) {
            if (!step.file) {
                RemoveUnit(step.unit);
                continue;
            }
            for (const auto& [list, file] : Leaving(*step.file)) DropPlainly(list, file);
        }
        const std::vector<std::string> eachInTurn = State();
        // The same steps with nothing dropped: what the kept units would hold.
        Build(seed);
        for (const LeavingStep& step : steps)
            if (!step.file) RemoveUnit(step.unit);
        const std::vector<std::string> unitsAlone = State();

        Build(seed);
        {
            const ImodelConstraintFileBatch batch;
            for (const LeavingStep& step : steps) {
                if (!step.file) {
                    RemoveUnit(step.unit);
                    continue;
                }
                for (const auto& [list, file] : Leaving(*step.file))
                    ASSERT_TRUE(ImodelConstraintFileBatch::Keep(list, file));
            }
        }
        ASSERT_EQ(State(), eachInTurn) << "seed " << seed;
        if (eachInTurn != before) ++changed;
        // Units that went after a file they named: what is kept of them lost it.
        if (Kept(eachInTurn) != Kept(unitsAlone)) ++keptChanged;
        // Closed, the batch keeps nothing: the caller drops a file itself.
        EXPECT_FALSE(ImodelConstraintFileBatch::Keep(ImodelUnitConstraintList::Synthesis, Constraint(0, 0)));
    }
    EXPECT_GT(changed, 120);
    EXPECT_GT(keptChanged, 20);
}
