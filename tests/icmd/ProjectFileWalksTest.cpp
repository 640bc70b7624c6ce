// The sections of the project file that walk the design hierarchy (the
// module lists, the associations, the customized source lists and the
// physical-synthesis options) written by a save equal what a plain walk
// along every path writes, each unit (the customized ones) or name (the
// others) at the first place met, on random hierarchies with shared cells,
// cycles, packages and units of one name in two libraries.
#include "MessageRecorder.h"
#include "ProjectCommandsTest.h"

#include "icmd/args/IcmdComponentIDText.h"
#include "icmd/project/IcmdNewProject.h"
#include "icmd/project/IcmdSaveProject.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"

#include <foundation/AcmdManager.h>
#include <foundation/Def.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

IfileManager& Files() { return *Imodel::GetInstance().GetFileManager(); }

using Walk = std::function<void(ImodelModule&, std::ostream&)>;

// The reference: from the top-level units, depth first along every path, a
// unit on the current path not entered again. Gives up (false) after
// `budget` places.
bool EveryPlace(const std::deque<ImodelModule*>& tops, const Walk& visit, std::ostream& out, long budget)
{
    std::set<const ImodelModule*> onPath;
    long places = 0;
    std::function<bool(ImodelModule*)> place = [&](ImodelModule* module) {
        if (!module || !onPath.insert(module).second) return true;
        if (++places > budget) return false;
        visit(*module, out);
        if (const ImodelLinkList* subs = module->GetSubBlocks())
            for (ImodelModule* sub : subs->ToList())
                if (!place(sub)) return false;
        onPath.erase(module);
        return true;
    };
    for (ImodelModule* top : tops)
        if (!place(top)) return false;
    return true;
}

// The text of the top-level list `name` of a project file, LIST and ENDLIST lines included.
std::string TopLevelList(const std::string& text, const std::string& name)
{
    std::istringstream in(text);
    std::string result;
    int depth = 0;
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        const bool opens = line.rfind("LIST", 0) == 0;
        const bool closes = line.rfind("ENDLIST", 0) == 0;
        if (depth == 0 && line == "LIST " + name) inside = true;
        if (inside) result += line + "\n";
        if (opens) ++depth;
        if (closes && --depth == 0 && inside) return result;
    }
    return result;
}

class ProjectFileWalks : public ProjectCommandsTest {
protected:
    void SetUp() override
    {
        ProjectCommandsTest::SetUp();
        ASSERT_TRUE(IcmdDoNewProject(false, "walks", m_folder / "walks", true, "ZX3", "zx3_10", "tq100"));
        for (int i = 0; i < 6; ++i) {
            const std::string name = "hdl/f" + std::to_string(i) + ".vhd";
            const IfileObject file(ImodelFileName(m_folder.Write("walks/" + name, "-- f\n")), zorpaFT_HDL, ImodelFMFull,
                                   true, true);
            m_members.push_back(Files().AddOrUpdateFile(IfileObjectEx(file, false), false));
        }
    }
    void TearDown() override
    {
        m_members.clear();
        ProjectCommandsTest::TearDown();
    }

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
    bool Chance(int percent) { return Pick(100) < percent; }
    const IfileObject& Member()
    {
        return *m_members[static_cast<std::size_t>(Pick(static_cast<int>(m_members.size())))];
    }

    // A random design: units in "work" and "lib2" (some names in both),
    // packages, random links (cycles and cells shared by several parents
    // among them) and random settings of the kinds the walks write.
    void MakeDesign()
    {
        Design().Reset();
        m_units.clear();
        const int count = 8 + Pick(14);
        for (int i = 0; i < count; ++i) {
            const bool other = Chance(25);
            const std::string library = other ? "lib2" : "work";
            const std::string name = "u" + std::to_string(other && Chance(50) ? Pick(i + 1) : i);
            auto unit = std::make_unique<ImodelModule>(name, nullptr, zorpaMODULE_VHDL, Chance(10), library, "", false);
            const auto [added, inserted] = Design().AddLibrary(library, false)->GetModules()->Insert(std::move(unit));
            if (inserted) m_units.push_back(added);
        }
        const int links = static_cast<int>(m_units.size()) + Pick(static_cast<int>(m_units.size()));
        for (int i = 0; i < links; ++i) Unit()->AddSubBlock(Unit(), false);
        for (ImodelModule* unit : m_units) Settle(*unit);
        for (const char* library : {"work", "lib2"})
            if (const auto found = Design().FindLibraryByName(library)) Design().UpdateTopModules(found);
    }
    ImodelModule* Unit() { return m_units[static_cast<std::size_t>(Pick(static_cast<int>(m_units.size())))]; }

    void Settle(ImodelModule& unit)
    {
        if (Chance(20)) unit.GetStimulusListPtr()->push_back(Member());
        if (Chance(20)) unit.GetAssociatedFileList().push_back(Member());
        if (Chance(15)) unit.GetSimulationPackageToIgnoreList()->push_back(Member());
        if (Chance(15)) unit.GetSynthesisPackageToIgnoreList()->push_back(Member());
        if (Chance(15)) unit.GetSimulationModuleToIncludeList()->push_back(Unit()->GetComponentID());
        if (Chance(15)) unit.SetCDBOrder({Member()}, false);
        if (Chance(15)) unit.SetCustomizedFileList(Chance(70), ideSYNTHESIS, {m_members.front()});
        if (Chance(15)) unit.GetPhySynthOptions()->SetGenPinConstraints(false);
        if (m_synplifySettings && Chance(30)) unit.GetPhySynthOptions()->SetUseSynplifySDC(Chance(50));
    }

    // The block heads of "NewModulesInfo" a plain walk of the libraries
    // expects: one per unit with a setting to keep, in library order, none
    // for a unit with nothing or only customized lists not in use.
    static std::string ExpectedHeads()
    {
        std::string expected;
        const auto libraries = Design().GetLibraries();
        for (auto library = libraries.first; library != libraries.second; ++library) {
            if (!*library) continue;
            for (ImodelModule* unit : *(*library)->GetModules()) {
                const auto& customized = unit->GetCustomizedFileLists();
                const bool settings =
                    !unit->GetStimulusList().empty() || !unit->GetAssociatedFileListConst().empty() ||
                    !unit->GetSimulationPackageToIgnoreList()->empty() ||
                    !unit->GetSynthesisPackageToIgnoreList()->empty() ||
                    !unit->GetSimulationModuleToIncludeList()->empty() || !unit->GetCDBOrder().empty() ||
                    !unit->GetSynthesisConstraintFileList().empty() || unit->IsPhySynthCustomized() ||
                    std::any_of(customized.begin(), customized.end(), [](const auto& list) { return list.IsUsed(); });
                if (settings) expected += "LIST \"" + IcmdWriteComponentID(unit->GetComponentID()) + "\"\n";
            }
        }
        return expected;
    }

    // The block heads of "NewModulesInfo" in the saved file, one level inside the list.
    std::string SavedHeads()
    {
        std::string heads;
        std::istringstream in(TopLevelList(m_folder.Read("walks/walks.prj"), "NewModulesInfo"));
        int depth = 0;
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("ENDLIST", 0) == 0) {
                --depth;
            } else if (line.rfind("LIST", 0) == 0) {
                if (depth++ == 1) heads += line + "\n";
            }
        }
        return heads;
    }

    // What the walk along every path writes for each section, and whether
    // the design was small enough to walk so.
    bool Reference(std::map<std::string, std::string>& sections)
    {
        const std::deque<ImodelModule*>* tops = Design().GetModuleTree();
        if (!tops) return false;
        constexpr long kBudget = 200000;
        const auto once = [](const Walk& write) {
            return [write, done = std::set<std::string>()](ImodelModule& unit, std::ostream& out) mutable {
                if (done.insert(unit.GetName()).second) write(unit, out);
            };
        };
        // The customized lists and the physical-synthesis options: a unit
        // at the first place the walk meets it.
        const auto firstPlace = [](const Walk& write) {
            return [write, done = std::set<const ImodelModule*>()](ImodelModule& unit, std::ostream& out) mutable {
                if (done.insert(&unit).second) write(unit, out);
            };
        };
        const auto files = [](const std::string& name, const std::deque<IfileObject>& list, std::ostream& out) {
            if (!list.empty()) IfileWriteFileList(list, &out, ("LIST " + name).c_str(), "ENDLIST");
        };
        const std::vector<std::pair<std::string, Walk>> walks = {
            {"AssociatedStimulus",
             once([&](ImodelModule& unit, std::ostream& out) { files(unit.GetName(), unit.GetStimulusList(), out); })},
            {"Other_Association", once([&](ImodelModule& unit, std::ostream& out) {
                 files(unit.GetName(), unit.GetAssociatedFileListConst(), out);
             })},
            {"ExcludePackageForSimulation", once([&](ImodelModule& unit, std::ostream& out) {
                 files(unit.GetName(), *unit.GetSimulationPackageToIgnoreList(), out);
             })},
            {"ExcludePackageForSynthesis", once([&](ImodelModule& unit, std::ostream& out) {
                 files(unit.GetName(), *unit.GetSynthesisPackageToIgnoreList(), out);
             })},
            {"IncludeModuleForSimulation", once([](ImodelModule& unit, std::ostream& out) {
                 const auto& included = *unit.GetSimulationModuleToIncludeList();
                 if (included.empty()) return;
                 out << "LIST " << unit.GetName() << "\n";
                 for (const VyIfaces::ComponentID& id : included) out << IcmdWriteComponentID(id) << "\n";
                 out << "ENDLIST\n";
             })},
            {"CDBOrder",
             once([&](ImodelModule& unit, std::ostream& out) { files(unit.GetName(), unit.GetCDBOrder(), out); })},
            {"UserCustomizedFileList", firstPlace([](ImodelModule& unit, std::ostream& out) {
                 // A unit whose lists are all out of use has no block.
                 const auto& lists = unit.GetCustomizedFileLists();
                 if (std::any_of(lists.begin(), lists.end(), [](const auto& list) { return list.IsUsed(); }))
                     unit.WriteCustomizedSourceFileList(&out);
             })},
            {"PhySynthesisOptions", firstPlace([](ImodelModule& unit, std::ostream& out) {
                 if (!unit.IsPhySynthCustomized()) return;
                 out << "LIST \"" << unit.GetName() << "\"\n";
                 unit.GetPhySynthOptions()->WriteToFile(&out);
                 out << "ENDLIST\n";
             })},
        };
        for (const auto& [name, walk] : walks) {
            std::ostringstream out;
            out << "LIST " << name << "\n";
            if (!EveryPlace(*tops, walk, out, kBudget)) return false;
            out << "ENDLIST\n";
            sections[name] = out.str();
        }
        return true;
    }

    MessageRecorder m_messages;
    // Whether the designs set UseSynplifySDC of some units either way.
    bool m_synplifySettings = false;
    std::mt19937 m_random{28};
    std::vector<boost::shared_ptr<IfileObjectEx>> m_members;
    std::vector<ImodelModule*> m_units;
};

}  // namespace

TEST_F(ProjectFileWalks, SectionsEqualThoseOfAWalkAlongEveryPath)
{
    int compared = 0;
    int shared = 0;
    for (int design = 0; design < 60; ++design) {
        MakeDesign();
        std::map<std::string, std::string> expected;
        if (!Reference(expected)) continue;
        ASSERT_TRUE(IcmdDoSaveProject(false, nullptr));
        const std::string text = m_folder.Read("walks/walks.prj");
        for (const auto& [name, section] : expected) {
            EXPECT_EQ(TopLevelList(text, name), section) << "design " << design << ", section " << name;
        }
        // Units with physical-synthesis options met along several paths:
        // each is written once all the same.
        std::ostringstream ignored;
        std::set<const ImodelModule*> met;
        EveryPlace(
            *Design().GetModuleTree(),
            [&](ImodelModule& unit, std::ostream&) {
                if (unit.IsPhySynthCustomized() && !met.insert(&unit).second) ++shared;
            },
            ignored, 200000);
        ++compared;
    }
    // The designs walked are many, and some hold such a unit at several places.
    EXPECT_GT(compared, 40);
    EXPECT_GT(shared, 0);
}

TEST_F(ProjectFileWalks, AUnitBelowSixtyLevelsOfSharedBlocksIsWrittenOnce)
{
    // Each level instantiates the next twice: 2^60 paths lead to the bottom,
    // whose customized settings a save once wrote at every one of them.
    Design().Reset();
    std::vector<ImodelModule*> levels;
    for (int i = 0; i <= 60; ++i) {
        auto unit = std::make_unique<ImodelModule>("level" + std::to_string(i), nullptr, zorpaMODULE_VHDL, false,
                                                   "work", "", false);
        levels.push_back(Design().AddLibrary("work", false)->GetModules()->Insert(std::move(unit)).first);
    }
    for (std::size_t i = 0; i + 1 < levels.size(); ++i) {
        levels[i]->AddSubBlock(levels[i + 1], false);
        levels[i]->AddSubBlock(levels[i + 1], false);
    }
    ImodelModule& bottom = *levels.back();
    bottom.SetCustomizedFileList(true, ideSYNTHESIS, {m_members.front()});
    bottom.GetPhySynthOptions()->SetGenPinConstraints(false);
    Design().UpdateTopModules(Design().FindLibraryByName("work"));

    ASSERT_TRUE(IcmdDoSaveProject(false, nullptr));
    const std::string text = m_folder.Read("walks/walks.prj");
    for (const std::string name : {"UserCustomizedFileList", "PhySynthesisOptions"}) {
        const std::string section = TopLevelList(text, name);
        std::size_t blocks = 0;
        for (std::size_t at = section.find("LIST \"level60\""); at != std::string::npos;
             at = section.find("LIST \"level60\"", at + 1))
            ++blocks;
        EXPECT_EQ(blocks, 1u) << name << ":\n" << section;
    }
}

TEST_F(ProjectFileWalks, ModuleBlocksNameEachUnitWithSettingsOnceInLibraryOrder)
{
    // The per-unit blocks come from one pass over every library's units
    // (which prefetches memory some units ahead): one block per unit with a
    // setting to keep, in the order of a plain walk of the libraries, none
    // for a unit with nothing or only customized lists not in use.
    for (int design = 0; design < 40; ++design) {
        MakeDesign();
        const std::string expected = ExpectedHeads();
        ASSERT_TRUE(IcmdDoSaveProject(false, nullptr));
        EXPECT_EQ(SavedHeads(), expected) << "design " << design;
    }
}

TEST_F(ProjectFileWalks, PhysicalSynthesisOptionsAreJudgedByTheDefaultAsTheSaveStarts)
{
    // A save reads the options variable behind a unit's default
    // UseSynplifySDC once, as it starts. Saves with the variable on and off
    // in turn, of designs where some units set the value either way (some
    // of them several times over, large libraries, walked from both ends),
    // write what asking each unit plainly writes: the per-unit blocks, the
    // physical-synthesis section and the rest of the walked sections.
    m_synplifySettings = true;
    int customizedBySdcAlone = 0;
    for (int design = 0; design < 40; ++design) {
        const bool on = Chance(50);
        DefSetFL("IDE_PASS_SYNPLIFY_SDC_BY_DEFAULT", on ? "1" : "0");
        MakeDesign();
        // Libraries of hundreds of units, instantiating one another, are
        // walked from several places at once.
        std::vector<ImodelModule*> extras;
        for (int more = Pick(3) * 150; more > 0; --more) {
            const std::string library = Chance(80) ? "work" : "lib2";
            auto unit = std::make_unique<ImodelModule>("extra" + std::to_string(more), nullptr, zorpaMODULE_VHDL, false,
                                                       library, "", false);
            extras.push_back(Design().AddLibrary(library, false)->GetModules()->Insert(std::move(unit)).first);
            Settle(*extras.back());
        }
        for (ImodelModule* extra : extras)
            for (int sub = Pick(3); sub > 0; --sub)
                extra->AddSubBlock(extras[static_cast<std::size_t>(Pick(static_cast<int>(extras.size())))], false);
        for (const char* library : {"work", "lib2"})
            if (const auto found = Design().FindLibraryByName(library)) Design().UpdateTopModules(found);
        for (const ImodelModule* unit : m_units)
            if (unit->GetPhySynthOptions()->GetUseSynplifySDC() != on &&
                unit->GetPhySynthOptions()->GetGenPinConstraints())
                ++customizedBySdcAlone;
        std::map<std::string, std::string> expected;
        const bool walked = Reference(expected);
        const std::string heads = ExpectedHeads();
        ASSERT_TRUE(IcmdDoSaveProject(false, nullptr));
        EXPECT_EQ(SavedHeads(), heads) << "design " << design;
        if (!walked) continue;
        const std::string text = m_folder.Read("walks/walks.prj");
        for (const auto& [name, section] : expected)
            EXPECT_EQ(TopLevelList(text, name), section) << "design " << design << ", section " << name;
    }
    EXPECT_GT(customizedBySdcAlone, 0);
    DefUnset("IDE_PASS_SYNPLIFY_SDC_BY_DEFAULT");
}

TEST_F(ProjectFileWalks, UnitsOfLargeLibrariesAreAskedAsAPlainWalkOfTheLibrariesWould)
{
    // Libraries of thousands of units, with links to follow or without any,
    // some units defined in files (several of a name, in different files),
    // are asked in chunks on several threads, those listing packages to
    // leave out on the calling thread; few or many of them have settings:
    // the per-unit blocks are still one per unit with a setting to keep, in
    // library order.
    for (int design = 0; design < 6; ++design) {
        MakeDesign();
        const bool large = design % 3 != 0;
        const bool linked = design % 2 == 1;
        const int settled = design >= 4 ? 60 : 4;
        const int more = large ? 17000 + Pick(3000) : 9000 + Pick(4000);
        std::vector<ImodelModule*> added;
        for (int i = 0; i < more; ++i) {
            const std::string library = large || Chance(85) ? "work" : "lib2";
            const bool filed = design >= 2 && Chance(50);
            const std::string name = "big" + std::to_string(filed ? Pick(more / 2) : i);
            const auto file = filed ? m_members[static_cast<std::size_t>(Pick(static_cast<int>(m_members.size())))]
                                    : boost::shared_ptr<IfileObjectEx>();
            auto unit = std::make_unique<ImodelModule>(name, file, zorpaMODULE_VHDL, false, library, "", false);
            const auto [unitNow, taken] = Design().AddLibrary(library, false)->GetModules()->Insert(std::move(unit));
            if (!taken) continue;
            added.push_back(unitNow);
            if (Chance(settled)) Settle(*added.back());
        }
        if (linked) {
            for (ImodelModule* unit : added)
                for (int sub = Pick(4); sub > 0; --sub)
                    unit->AddSubBlock(added[static_cast<std::size_t>(Pick(static_cast<int>(added.size())))], false);
        }
        const std::string heads = ExpectedHeads();
        // Asking a unit only reads it: the contexts that wait for their
        // revisions still wait after the save.
        const auto waiting = [&added] {
            return std::count_if(added.begin(), added.end(),
                                 [](const ImodelModule* unit) { return unit->GetContext()->Pending(); });
        };
        const auto waitingBefore = waiting();
        ASSERT_TRUE(IcmdDoSaveProject(false, nullptr));
        EXPECT_EQ(SavedHeads(), heads) << "design " << design;
        EXPECT_GT(std::count(heads.begin(), heads.end(), '\n'), 100) << "design " << design;
        EXPECT_EQ(waiting(), waitingBefore) << "design " << design;
        EXPECT_GT(waitingBefore, more / 2) << "design " << design;
    }
}
