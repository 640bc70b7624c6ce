// Removing the units of a file: placeholders for their users and data kept
// for their return.
#include "LeavingSteps.h"
#include "RecordingView.h"
#include "ReparseTestSupport.h"

#include "imodel/design/ImodelLinkList.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelRemoveModules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

// The plain rule the walks are held to: depth-first over the unit tree,
// each unit once, then every other unit of every library in its order:
// every entry equal to the bench (as the file compares) dropped from its
// stimulus list.
void DropBenchPlainly(const IfileObject& bench, std::deque<ImodelModule*>* modules)
{
    if (modules == nullptr) return;
    std::unordered_set<const ImodelModule*> seen;
    const auto drop = [&bench](ImodelModule& module) {
        ImodelModule::FileList files = module.GetStimulusList();
        if (std::erase(files, bench) > 0) module.SetNewStimulusList(files, nullptr);
    };
    std::vector<ImodelModule*> pending(modules->rbegin(), modules->rend());
    while (!pending.empty()) {
        ImodelModule* module = pending.back();
        pending.pop_back();
        if (module == nullptr || !seen.insert(module).second) continue;
        drop(*module);
        if (const ImodelLinkList* subBlocks = module->GetSubBlocks())
            pending.insert(pending.end(), subBlocks->rbegin(), subBlocks->rend());
    }
    const auto [first, last] = Imodel::GetInstance().GetDesignManager()->GetLibraries();
    for (auto library = first; library != last; ++library)
        for (ImodelModule* unit : *(*library)->GetModules())
            if (!seen.contains(unit)) drop(*unit);
}

using ModuleSet = ImodelModule::ModuleSet;
using ModuleList = ImodelModule::ModuleList;

class RemoveModulesTest : public ReparseFixture {
protected:
    static void Remove(const Entry& file, bool save = false)
    {
        ImodelRemoveModulesOfFile(file, nullptr, true, save, false, nullptr, nullptr);
    }
    static std::vector<ImodelModule*> SubBlocks(const ImodelModule* unit)
    {
        const ImodelLinkList* list = unit->GetSubBlocks();
        return list ? std::vector<ImodelModule*>(list->begin(), list->end()) : std::vector<ImodelModule*>();
    }
    static std::vector<ImodelModule*> Parents(const ImodelModule* unit)
    {
        const ImodelLinkList* list = unit->GetParentsList();
        return list ? std::vector<ImodelModule*>(list->begin(), list->end()) : std::vector<ImodelModule*>();
    }
    // The modules of each event of that class the view received, in order.
    template <class Event>
    static std::vector<std::vector<ImodelModule*>> Carried(const RecordingView& view)
    {
        std::vector<std::vector<ImodelModule*>> carried;
        for (const IeventBatch& batch : view.Batches())
            for (const auto& event : batch)
                if (const auto* found = dynamic_cast<const Event*>(event.get()))
                    carried.emplace_back(found->GetModules().begin(), found->GetModules().end());
        return carried;
    }
};

}  // namespace

TEST_F(RemoveModulesTest, AUnitThatGoesLeavesItsUsersAPlaceholderAndItsDataBehind)
{
    const Entry fileB = ProjectFile("b.vhd");
    ImodelModule* a = Unit("A", ProjectFile("a.vhd"));
    ImodelModule* b = Unit("B", fileB);
    a->AddSubBlock(b, false);
    a->AddSubBlock(b, false);  // every instance is replaced
    b->SetExpand(4);
    TestComponent component({"B", "work", ""}, VyIfaces::IComponent::HDL);
    b->SetComponent(&component);
    RecordingView view;
    auto kept = boost::make_shared<ImodelModule::UnitSet>();
    std::vector<VyIfaces::IComponent*> components;
    ImodelRemoveModulesOfFile(fileB, kept, true, true, false, &components, nullptr);

    ImodelModule* placeholder = Find("B");
    ASSERT_NE(placeholder, nullptr);
    EXPECT_TRUE(placeholder->IsUnknown());
    EXPECT_EQ(SubBlocks(a), (std::vector<ImodelModule*>{placeholder, placeholder}));
    EXPECT_EQ(Parents(placeholder), std::vector<ImodelModule*>{a});
    EXPECT_EQ(Carried<IeventModuleAdded>(view), (std::vector<std::vector<ImodelModule*>>{{placeholder}}));
    // What stays of B: its component for the caller, an unlinked copy, its data.
    EXPECT_EQ(components, std::vector<VyIfaces::IComponent*>{&component});
    ASSERT_EQ(kept->size(), 1u);
    EXPECT_EQ((*kept->begin())->GetModuleFile(), fileB);
    EXPECT_EQ((*kept->begin())->GetSubBlocks(), nullptr);
    const ImodelModule* entry = ImodelModule::FindDeletedModuleInfo(placeholder);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->GetExpand(), 4);
}

// --- test benches leaving the units' stimulus lists --------------------------------------

namespace {

// Random designs whose units name test benches in their stimulus lists:
// units of "work" and "ip" using each other at random (shared sub-blocks,
// cycles, units using themselves, parts no top reaches), each defined by a
// file of its own, with lists that may name a bench twice. A bench is
// written several ways that name one file ("<project>", the full name, other
// letter case), and other files of the same name lie in other folders.
class StimulusRemovalTest : public RemoveModulesTest {
protected:
    static constexpr int kBenches = 6;
    static constexpr int kForms = 5;

    // Form 0 to 2 of a bench are the one file, 3 and 4 others of its name.
    IfileObject Bench(int bench, int form) const
    {
        const std::string title = "tb" + std::to_string(bench) + ".vhd";
        switch (form) {
        case 0:
            return IfileObject("stimulus/" + title, zorpaFT_TB_HDL, ImodelFMRelative, false, true);
        case 1:
            return Full(m_project / ("stimulus/" + title));
        case 2:
            return Full(m_project / ("STIMULUS/TB" + std::to_string(bench) + ".VHD"));
        case 3:
            return IfileObject("other/" + title, zorpaFT_TB_HDL, ImodelFMRelative, false, true);
        default:
            return Full("/elsewhere/stimulus/" + title);
        }
    }
    IfileObject AnyBench(std::mt19937& random) const
    {
        const int bench = static_cast<int>(random() % kBenches);
        return Bench(bench, static_cast<int>(random() % kForms));
    }

    // The design drawn from the seed, made afresh: the same units, links
    // and lists for the same seed.
    void Build(unsigned seed)
    {
        Design().Reset();
        ImodelModule::ClearRemovedModuleList();
        std::mt19937 random(seed);
        const int count = 6 + static_cast<int>(random() % 25);
        m_units.clear();
        for (int i = 0; i < count; ++i) {
            const std::string library = random() % 5 == 0 ? "ip" : "work";
            m_units.push_back(Unit("u" + std::to_string(i), UnitFile(i, library), library));
        }
        for (ImodelModule* unit : m_units)
            for (auto links = random() % 4; links > 0; --links)
                unit->AddSubBlock(m_units[random() % m_units.size()], false);
        for (ImodelModule* unit : m_units)
            for (auto entries = random() % 5; entries > 0; --entries)
                unit->GetStimulusListPtr()->push_back(AnyBench(random));
        for (const char* library : {"work", "ip"}) Design().UpdateTopModules(Design().FindLibraryByName(library));
        Design().SetNeedSave(false);
    }

    // The file of unit `i` in the library, one entry for all the builds.
    Entry UnitFile(int i, const std::string& library)
    {
        Entry& file = m_unitFiles[library + std::to_string(i)];
        if (!file) file = ProjectFile("hdl/" + library + "/u" + std::to_string(i) + ".vhd", zorpaFT_HDL, library);
        return file;
    }

    // Unit `i` leaves with its file, its data kept; the top units are
    // found again, as delete_files does.
    void RemoveUnit(int i)
    {
        const Entry file = m_unitFiles.at(m_units[i]->GetDefinedInLibrary() + std::to_string(i));
        ImodelRemoveModulesOfFile(file, nullptr, true, true, false, nullptr, nullptr);
        Design().UpdateTopModules(Design().FindLibraryByName(file->GetLibraryName()));
    }

    // Every unit's list (placeholders too), the lists kept of the units
    // that went, and whether the project needs a save.
    static std::vector<std::string> State()
    {
        std::vector<std::string> state;
        const auto [first, last] = Design().GetLibraries();
        for (auto library = first; library != last; ++library)
            for (const ImodelModule* unit : *(*library)->GetModules())
                state.push_back((*library)->GetName() + " " + Describe(*unit));
        for (const auto& kept : ImodelModule::GetRemovedModuleList()) state.push_back("kept " + Describe(*kept));
        state.push_back(Design().GetNeedSave() ? "needs a save" : "saved");
        return state;
    }
    static std::string Describe(const ImodelModule& unit)
    {
        std::string text = unit.GetName() + (unit.GetModuleFile() ? ":" : " (placeholder):");
        for (const IfileObject& file : unit.GetStimulusList()) text += " " + file.GetInternalFileName().GetString();
        return text;
    }

    std::vector<ImodelModule*> m_units;

private:
    static IfileObject Full(const std::string& name)
    {
        return IfileObject(ImodelFileName(name), zorpaFT_TB_HDL, ImodelFMFull, true, false);
    }

    std::map<std::string, Entry> m_unitFiles;
};

}  // namespace

TEST_F(StimulusRemovalTest, OneWalkForManyBenchesLeavesWhatAWalkForEachLeaves)
{
    int changed = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed + 100000);
        std::vector<IfileObject> leaving;
        for (auto count = 1 + random() % 6; count > 0; --count) leaving.push_back(AnyBench(random));

        Build(seed);
        const std::vector<std::string> before = State();
        for (const IfileObject& bench : leaving) DropBenchPlainly(bench, Design().GetModuleTree());
        const std::vector<std::string> eachInTurn = State();

        Build(seed);
        ImodelUpdateStimulusAssociation(leaving, Design().GetModuleTree());
        ASSERT_EQ(State(), eachInTurn) << "seed " << seed;
        if (eachInTurn != before) ++changed;
    }
    // The designs are no empty cases: most change.
    EXPECT_GT(changed, 150);
}

TEST_F(StimulusRemovalTest, ABatchWithUnitsLeavingMeanwhileLeavesWhatEachFileInTurnLeaves)
{
    // Benches and units' files leave in a random order: a unit that goes
    // may cut a cycle off the tree or give it back, and the data kept of
    // it holds its list as it was when it went.
    int changed = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        Build(seed);
        std::mt19937 random(seed + 200000);
        const std::vector<LeavingStep> steps =
            RandomLeavingSteps(random, m_units.size(), [this](std::mt19937& r) { return AnyBench(r); });

        const std::vector<std::string> before = State();
        for (const LeavingStep& step : steps) {
            if (step.file)
                DropBenchPlainly(*step.file, Design().GetModuleTree());
            else
                RemoveUnit(step.unit);
        }
        const std::vector<std::string> eachInTurn = State();

        Build(seed);
        {
            const ImodelStimulusBatch batch;
            for (const LeavingStep& step : steps) {
                if (step.file)
                    ASSERT_TRUE(ImodelStimulusBatch::Keep(*step.file));
                else
                    RemoveUnit(step.unit);
            }
        }
        ASSERT_EQ(State(), eachInTurn) << "seed " << seed;
        if (eachInTurn != before) ++changed;
        // Closed, the batch keeps nothing: the caller drops a file itself.
        EXPECT_FALSE(ImodelStimulusBatch::Keep(Bench(0, 0)));
    }
    EXPECT_GT(changed, 150);
}
