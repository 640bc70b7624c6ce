// The indexed answers of a source change equal those of the walks over every
// unit and every file: the units a change concerns (through the design's
// file index and parent links) and the derived files of a unit that a node
// invalidates (through its index by unit name), on random designs with
// shared cells, cycles, packages, units included for simulation, schematics,
// encrypted files and random changes of files and links; and, on designs
// whose links alone tell the answer, with packages left out of some units'
// sources, files kept from synthesis and files that include others.
#include "FlowProject.h"

#include "iprocess/QuorlaneStateMachine.h"
#include "src/iprocess/iprocessFileKeys.h"
#include "src/iprocess/iprocessManagerImpl.h"

#include <algorithm>
#include <deque>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

iprocessManagerImpl& Manager() { return *static_cast<iprocessManagerImpl*>(Imodel::GetInstance().GetProcessManager()); }

// Records the files that the filter would set out of date, setting none.
class RecordingFilter : public IprocessFileObject::InvalidateModuleSpecificFilter {
public:
    RecordingFilter(ImodelModule* module, std::vector<std::string>& passed)
        : InvalidateModuleSpecificFilter(module, nullptr), m_passed(passed)
    {
    }
    void operator()(const Entry& file) const override
    {
        if (file && ShouldInvalidate(file)) m_passed.push_back(file->GetInternalFileName().GetString());
    }

private:
    std::vector<std::string>& m_passed;
};

std::vector<std::string> Names(const std::vector<ImodelModule*>& units)
{
    std::vector<std::string> names;
    for (const ImodelModule* unit : units) names.push_back(unit->GetName());
    return names;
}

class SourceChangeIndex : public FlowProject {
protected:
    std::mt19937 random{7};
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }
    bool Chance(int percent) { return Pick(100) < percent; }

    // Units u0.. with sources (some sharing a file, some without one, some
    // packages), linked at random, cycles and shared cells included.
    void MakeDesign(int count, int packagePercent = 8)
    {
        for (int i = 0; i < count; ++i) {
            const std::string name = "u" + std::to_string(i);
            Entry file;
            if (!sources.empty() && Chance(10)) {
                file = sources[Pick(static_cast<int>(sources.size()))];
            } else if (!Chance(10)) {
                const bool schematic = Chance(5);
                file = Add((schematic ? "sch/" : "hdl/") + name + (schematic ? ".sch" : ".v"),
                           schematic ? zorpaFT_SCH : zorpaFT_HDL, "module " + name + "; endmodule\n");
                file->SetIsEncryptedFile(Chance(5));
                sources.push_back(file);
            }
            ImodelModule* unit = Unit(name, file);
            unit->SetIsPackage(Chance(packagePercent));
            units.push_back(unit);
        }
        for (int link = 0; link < count * 2; ++link) Link();
        for (ImodelModule* unit : units) {
            if (Chance(10)) unit->GetSimulationModuleToIncludeList()->push_back(units[Pick(count)]->GetComponentID());
            if (Chance(5)) unit->GetAssociatedFileList().push_back(*sources[Pick(static_cast<int>(sources.size()))]);
            if (const Entry file = unit->GetModuleFile(); file && Chance(10))
                file->SetUsedPackages({"work.u" + std::to_string(Pick(count)) + ".all"});
        }
    }
    void Link()
    {
        ImodelModule* parent = units[Pick(static_cast<int>(units.size()))];
        ImodelModule* child = units[Pick(static_cast<int>(units.size()))];
        if (Chance(25) && parent->GetSubBlocks() && !parent->GetSubBlocks()->empty())
            parent->RemoveSubBlock(*parent->GetSubBlocks()->begin(), true);
        else
            parent->AddSubBlock(child, false);
    }

    std::deque<IfileObject> RandomChange()
    {
        std::deque<IfileObject> files;
        const int count = 1 + Pick(3);
        for (int i = 0; i < count; ++i) {
            if (Chance(10))
                files.emplace_back("<project>/viewdraw/u" + std::to_string(Pick(static_cast<int>(units.size()))) + ".v",
                                   zorpaFT_HDL, ImodelFMInternal, true, true);
            else if (Chance(5))
                files.emplace_back("<project>/hdl/missing.v", zorpaFT_HDL, ImodelFMInternal, true, true);
            else
                files.push_back(*sources[Pick(static_cast<int>(sources.size()))]);
        }
        return files;
    }

    // What can leave a file out of a unit's synthesis sources although a
    // unit below it is defined by the file.
    void LeaveOutSomeSources(bool includes)
    {
        if (sources.empty()) return;
        for (ImodelModule* unit : units)
            if (Chance(10))
                unit->GetSynthesisPackageToIgnoreList()->push_back(*sources[Pick(static_cast<int>(sources.size()))]);
        for (const Entry& file : sources) {
            if (Chance(5)) file->SetUsedByAllTools(false);
            if (includes && Chance(5)) file->AddIncludedFile(*sources[Pick(static_cast<int>(sources.size()))]);
        }
    }

    void StartDesign()
    {
        Files().RemoveAllFiles();
        Design().Reset();
        sources.clear();
        units.clear();
    }

    // Random changes of links and files: the units each change concerns by
    // the index and by the walk over every unit, in order, are the same.
    void CompareChanges(int design, int changes)
    {
        int found = 0;
        for (int change = 0; change < changes; ++change) {
            if (Chance(20)) Link();
            const std::deque<IfileObject> files = RandomChange();
            for (auto kind : {QuorlaneFilesChanged, QuorlaneFilesRemoved}) {
                const std::vector<ImodelModule*> indexed = Manager().CollectModulesForFiles(kind, files);
                ASSERT_EQ(Names(indexed), Names(Manager().CollectModulesForFilesByWalk(kind, files)))
                    << "design " << design << ", change " << change << ", kind " << kind;
                found += static_cast<int>(indexed.size());
            }
        }
        EXPECT_GT(found, 0) << "design " << design;
    }

    std::vector<Entry> sources;
    std::vector<ImodelModule*> units;
};

TEST_F(SourceChangeIndex, UnitsConcernedByChangesAreThoseOfTheWalkInItsOrder)
{
    for (int design = 0; design < 6; ++design) {
        StartDesign();
        MakeDesign(40);
        CompareChanges(design, 60);
    }
}

TEST_F(SourceChangeIndex, UnitsConcernedWhereTheLinksTellAreThoseOfTheWalk)
{
    for (int design = 0; design < 4; ++design) {
        // Half the designs leave the packages of a unit's list out of its
        // sources; one has a few packages, the last files that include others.
        FlowOptionsScope options({{"IDE_ORGANIZE_PACKAGES_ENABLED", design % 2 ? "1" : "0"}});
        StartDesign();
        MakeDesign(40, design == 2 ? 4 : 0);
        LeaveOutSomeSources(design == 3);
        CompareChanges(design, 40);
    }
}

TEST_F(SourceChangeIndex, UnitsConcernedInSeveralLibrariesAndLongChainsAreThoseOfTheWalk)
{
    // A change low in a chain concerns most units above it, one high in it
    // few: the units come in library and set order either way, also when
    // the chain runs through a second library whose units are few or many.
    for (int design = 0; design < 4; ++design) {
        StartDesign();
        const ImodelDesignManager::LibraryPtr other = Design().AddLibrary("lib" + std::to_string(design), false);
        ASSERT_TRUE(other);
        const int count = 20 + 10 * design;
        for (int i = 0; i < count; ++i) {
            const std::string name = "c" + std::to_string(count - i);
            const Entry file = Add("hdl/" + name + ".v", zorpaFT_HDL, "module " + name + "; endmodule\n");
            sources.push_back(file);
            auto unit = std::make_unique<ImodelModule>(name, file, zorpaMODULE_VERILOG, false, "", "", false);
            const bool elsewhere = design % 2 ? Chance(70) : Chance(10);
            ImodelModule* placed =
                (elsewhere ? other : Design().FindLibraryByName("work"))->GetModules()->Insert(std::move(unit)).first;
            if (!units.empty()) units.back()->AddSubBlock(placed, false);
            units.push_back(placed);
        }
        for (int link = 0; link < design; ++link) Link();
        CompareChanges(design, 20);
    }
}

TEST_F(SourceChangeIndex, LeavesOfChangedFilesAreConcernedAsTheWalkSays)
{
    // Mostly units without sub-blocks: each changed file's own units are
    // asked directly, also when its file is kept from synthesis, included
    // by another, shared with another unit or left out as a package.
    for (int design = 0; design < 6; ++design) {
        FlowOptionsScope options({{"IDE_ORGANIZE_PACKAGES_ENABLED", design % 2 ? "1" : "0"}});
        StartDesign();
        MakeDesign(60, design < 2 ? 0 : 3);
        for (ImodelModule* unit : units)
            if (Chance(70) && unit->GetSubBlocks())
                while (!unit->GetSubBlocks()->empty()) unit->RemoveSubBlock(*unit->GetSubBlocks()->begin(), true);
        LeaveOutSomeSources(design >= 4);
        for (ImodelModule* unit : units)
            if (const Entry file = unit->GetModuleFile(); file && Chance(15))
                unit->GetSynthesisPackageToIgnoreList()->push_back(*file);
        CompareChanges(design, 40);
    }
}

TEST_F(SourceChangeIndex, DerivedFilesOfAUnitAreThoseTheWholeListGives)
{
    // Netlists name their top cell (in any letter case), the HDL netlists
    // derived from them follow, both come and go, and a netlist rewritten
    // with another top cell moves its derived file to another unit.
    for (int i = 0; i < 12; ++i) units.push_back(Unit("u" + std::to_string(i)));
    std::vector<Entry> netlists(units.size());
    std::vector<Entry> derived(units.size());
    const auto compare = [&](int round) {
        for (ImodelModule* unit : units) {
            for (zorpaFileManagerTypes type : {zorpaFT_SYN_EDN, zorpaFT_SYN_HDL}) {
                std::vector<std::string> indexed;
                std::vector<std::string> walked;
                Node(type).InvalidateFilesOfModule(RecordingFilter(unit, indexed), unit);
                Node(type).InvalidateAllFiles(RecordingFilter(unit, walked));
                ASSERT_EQ(indexed, walked) << "round " << round << ", " << unit->GetName() << ", type " << type;
                // The question the flow asks every unit above a change:
                // whether each of its files is out of date already.
                const IprocessFileObject::Entries files = Node(type).GetKnownFilesOfModule(unit);
                const bool allOutOfDate = std::all_of(files.begin(), files.end(), [](const Entry& file) {
                    return file->GetFileState() == imodelFileOutOfDate;
                });
                ASSERT_EQ(Node(type).AreKnownFilesOfModuleOutOfDate(unit, IprocessFileObject::UnitKeyOfModule(*unit)),
                          allOutOfDate)
                    << "round " << round << ", " << unit->GetName() << ", type " << type;
            }
        }
    };
    for (int round = 0; round < 80; ++round) {
        const int at = Pick(static_cast<int>(units.size()));
        const std::string name = "u" + std::to_string(at);
        const std::string cell = "u" + std::to_string(Pick(static_cast<int>(units.size())));
        switch (Pick(4)) {
        case 0:
            netlists[at] = Add("synthesis/" + name + ".edn", zorpaFT_SYN_EDN,
                               FlowNetlist(Chance(30) ? "U" + cell.substr(1) : cell));
            break;
        case 1:
            derived[at] = Add("synthesis/" + name + ".v", zorpaFT_SYN_HDL, "module " + name + "; endmodule\n");
            break;
        case 2:
            if (netlists[at]) Files().RemoveFile(*netlists[at]);
            netlists[at].reset();
            break;
        default:
            // States change: the records are made again, the units stay.
            if (derived[at]) derived[at]->SetFileState(Chance(50) ? imodelFileOutOfDate : imodelFileUpToDate);
            if (netlists[at]) netlists[at]->SetFileState(Chance(50) ? imodelFileOutOfDate : imodelFileUpToDate);
            break;
        }
        compare(round);
    }
}

// The keys of a change gathered file by file: each distinct key once, in
// the order first met, however often it comes and however far the index
// grows under the keys it already holds.
TEST(SourceChangeKeys, EachKeyIsKeptOnceInTheOrderFirstMet)
{
    std::mt19937 random(7);
    for (const int count : {0, 1, 15, 16, 300, 5000}) {
        iprocessFileKeys keys;
        std::set<std::string> seen;
        std::vector<std::string> firstMet;
        for (int i = 0; i < count; ++i) {
            // Long keys as a project's are, many met more than once.
            std::string key = "<project>/hdl/block_" + std::to_string(random() % (count / 2 + 1)) + ".vhd";
            const bool isNew = seen.insert(key).second;
            if (isNew) firstMet.push_back(key);
            ASSERT_EQ(keys.Add(key), isNew) << key;
        }
        EXPECT_EQ(std::vector<std::string>(keys.begin(), keys.end()), firstMet);
        EXPECT_EQ(keys.size(), firstMet.size());
        for (const std::string& key : firstMet) EXPECT_TRUE(keys.Contains(key)) << key;
        EXPECT_FALSE(keys.Contains("<project>/hdl/block_.vhd"));
        EXPECT_FALSE(keys.Contains(""));
    }
}

}  // namespace
