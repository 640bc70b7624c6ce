// Related units of a design unit, collected through cyclic links; the
// units' file lists that let go of the files leaving the project.
#include "ModuleTestSupport.h"

#include "imodel/design/ImodelModuleTree.h"
#include "imodel/design/ImodelUnitsNamingFile.h"
#include "src/imodel/design/imodelRestorable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using Module = std::unique_ptr<ImodelModule>;
std::vector<std::string> NamesIn(const ImodelModule::ModuleSet& set)
{
    std::vector<std::string> names;
    for (const ImodelModule* module : set) names.push_back(module->GetName());
    return names;
}

class ImodelModuleLinks : public ModuleFixture {};

}  // namespace

TEST_F(ImodelModuleLinks, RelatedUnitsAreCollectedByDirectionAndDepthThroughCycles)
{
    const Module top = MakeModule("top");
    const Module mid = MakeModule("mid");
    const Module leaf = MakeModule("leaf");
    const Module other = MakeModule("other");
    top->AddSubBlock(mid.get(), false);
    mid->AddSubBlock(leaf.get(), false);
    leaf->AddSubBlock(top.get(), false);  // a cycle
    other->AddSubBlock(mid.get(), false);

    const auto related = [](ImodelModule& start, int down, int up) {
        ImodelModule::ModuleSet set;
        start.GetAllRelatedModules(set, down, up);
        return NamesIn(set);
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(related(*mid, -1, 0), (Names{"leaf", "mid", "top"}));
    EXPECT_EQ(related(*mid, 0, -1), (Names{"leaf", "mid", "other", "top"}));
    EXPECT_EQ(related(*mid, 0, 0), (Names{"mid"}));
    EXPECT_EQ(related(*mid, 1, 0), (Names{"leaf", "mid"}));
    EXPECT_EQ(related(*mid, 0, 1), (Names{"mid", "other", "top"}));

    // A unit already in the set stops the walk.
    ImodelModule::ModuleSet set{leaf.get()};
    mid->GetAllRelatedModules(set, -1, 0);
    EXPECT_EQ(NamesIn(set), (Names{"leaf", "mid"}));
}

// Whatever holds an associated-file list or a CDB order (a unit, a copy of
// one, the record a restore gives back), the files that leave the project
// go from it in one pass, whatever the letter case of their names; the other
// entries keep their order, and a list gone with its holder is not looked
// at.
TEST_F(ImodelModuleLinks, FilesThatLeaveGoFromEveryAssociatedListAndCdbOrderHeld)
{
    using FileList = ImodelModule::FileList;
    std::mt19937 random(29);
    std::vector<boost::shared_ptr<IfileObjectEx>> pool;
    for (int i = 0; i < 24; ++i)
        pool.push_back(MakeFile("/forget/dremmet/d" + std::to_string(i) + ".cdb", zorpaFT_ARM_DB));
    const auto some = [&] {
        std::vector<boost::shared_ptr<IfileObjectEx>> files;
        for (const auto& file : pool)
            if (random() % 3 == 0) files.push_back(file);
        std::shuffle(files.begin(), files.end(), random);
        return files;
    };

    std::vector<Module> units;
    for (int i = 0; i < 60; ++i) {
        Module unit = MakeModule("u" + std::to_string(i));
        if (i % 4 != 0) {
            for (const auto& file : some()) unit->AddAssociatedFile(*file);
            FileList order;
            for (const auto& file : some()) order.push_back(*file);
            unit->SetCDBOrder(order, false);
        }
        units.push_back(std::move(unit));
    }
    // Copies and records of some units; then some units go, with their lists.
    std::vector<Module> copies;
    std::vector<ImodelModule::Restorable> records;
    for (std::size_t i = 0; i < units.size(); i += 5) {
        copies.push_back(ImodelModule::Clone(units[i].get()));
        records.push_back(ImodelModule::KeepRestorable(*units[i + 1]));
    }
    for (std::size_t i = 2; i < units.size(); i += 7) units[i].reset();

    struct Held {
        const FileList* list;
        FileList before;
    };
    std::vector<Held> held;
    for (const std::vector<Module>* owners : {&units, &copies})
        for (const Module& unit : *owners)
            if (unit)
                for (const FileList* list : {&unit->GetAssociatedFileListConst(), &unit->GetCDBOrder()})
                    held.push_back({list, *list});
    for (const ImodelModule::Restorable& record : records)
        for (const FileList* list : {&record.m_associatedFiles.Get(), &record.m_cdbOrder.Get()})
            held.push_back({list, *list});

    // Every third file leaves, named in capitals.
    std::set<std::string> gone;
    std::vector<IfileObject> leaving;
    for (std::size_t i = 0; i < pool.size(); i += 3) {
        gone.insert(pool[i]->GetFileTitleAndExt());
        std::string name = pool[i]->GetFullFileName().GetString();
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
        leaving.emplace_back(ImodelFileName(name), zorpaFT_ARM_DB, ImodelFMFull, true, false);
    }
    std::size_t expected = 0;
    for (Held& one : held)
        expected += std::count_if(one.before.begin(), one.before.end(),
                                  [&](const IfileObject& file) { return gone.count(file.GetFileTitleAndExt()) != 0; });
    ASSERT_GT(expected, 0u);

    EXPECT_EQ(ImodelAssociationListWatch::Forget(leaving), expected);
    for (Held& one : held) {
        std::erase_if(one.before, [&](const IfileObject& file) { return gone.count(file.GetFileTitleAndExt()) != 0; });
        EXPECT_EQ(*one.list, one.before);
    }
    // Gone already: nothing more to take.
    EXPECT_EQ(ImodelAssociationListWatch::Forget(leaving), 0u);
}

// The units found as naming a file (through the index kept as units and
// their lists change) are exactly those a walk of every unit finds, in the
// walk's order, over random sequences of list changes, renames in place,
// units added, copied and removed: names written in other letter case or
// with "\" name the same file; another file of the same last name part is
// found by neither once checked.
TEST_F(ImodelModuleLinks, UnitsNamingAFileAreThoseTheWalkOfEveryUnitFinds)
{
    using FileList = ImodelModule::FileList;
    std::mt19937 random(71);
    Design().Reset();
    std::vector<boost::shared_ptr<IfileObjectEx>> pool;
    for (int i = 0; i < 12; ++i) pool.push_back(MakeFile("/naming/hdl/f" + std::to_string(i % 8) + ".vhd"));
    for (int i = 8; i < 12; ++i)
        pool[i]->SetFileName(ImodelFileName("/naming/other/f" + std::to_string(i % 8) + ".vhd"), ImodelFMFull, true);
    // A name of a pool file as a list may hold it.
    const auto written = [&](const boost::shared_ptr<IfileObjectEx>& file) {
        std::string name = file->GetFullFileName().GetString();
        if (random() % 3 == 0) std::transform(name.begin(), name.end(), name.begin(), ::toupper);
        if (random() % 4 == 0) std::replace(name.begin(), name.end(), '/', '\\');
        return IfileObject(ImodelFileName(name), zorpaFT_HDL, ImodelFMFull, true, false);
    };
    const auto anyFile = [&] { return pool[random() % pool.size()]; };
    const auto someFiles = [&] {
        FileList files;
        for (auto count = random() % 4; count > 0; --count) files.push_back(written(anyFile()));
        return files;
    };
    const auto units = [] {
        std::vector<ImodelModule*> all;
        ImodelApplyToAllModules([&all](ImodelModule* unit) { all.push_back(unit); });
        return all;
    };
    const auto names = [](const ImodelModule& unit, const IfileObject& file) {
        bool found = false;
        unit.ForEachFileUpdateModelSees([&](const IfileObject& listed) { found = found || listed == file; });
        return found;
    };
    int made = 0;
    const auto addUnit = [&] {
        const std::string library = random() % 3 == 0 ? "ip" : "work";
        const auto file = random() % 4 == 0 ? nullptr : anyFile();
        Design()
            .AddLibrary(library, false)
            ->GetModules()
            ->Insert(MakeModule("u" + std::to_string(made++), file, zorpaMODULE_VHDL, false, library));
    };
    for (int i = 0; i < 20; ++i) addUnit();

    for (int step = 0; step < 600; ++step) {
        std::vector<ImodelModule*> all = units();
        ImodelModule* unit = all.empty() ? nullptr : all[random() % all.size()];
        switch (unit ? random() % 11 : 0) {
        case 0:
            addUnit();
            break;
        case 1:
            unit->SetNewStimulusList(someFiles(), nullptr);
            break;
        case 2:
            for (const IfileObject& file : someFiles()) unit->GetSimulationPackageToIgnoreList()->push_back(file);
            break;
        case 3:
            unit->SetCDBOrder(someFiles(), false);
            break;
        case 4:
            unit->SetSynthesisConstraintFileList(someFiles());
            break;
        case 5: {
            const FileList files = someFiles();
            unit->GetPhySynthOptions()->SetConstraintFileList(std::deque<IfileObject>(files.begin(), files.end()),
                                                              nullptr);
            unit->SettlePhySynthOptions();
            break;
        }
        case 6:
            unit->SetCustomizedFileList(true, ideSIMULATION, {anyFile(), anyFile()});
            break;
        case 7: {
            // A copy of a unit joins under another name, with its lists.
            auto clone = unit->Clone("u" + std::to_string(made++), "", zorpaMODULE_VHDL, false, "work", "");
            if (clone) {
                clone->DuplicateModuleInfo(unit, zorpaSaveRestoreParams{true, true, false});
                Design().AddLibrary("work", false)->GetModules()->Insert(std::move(clone));
            }
            break;
        }
        case 8: {
            // The unit leaves its library.
            const auto [first, last] = Design().GetLibraries();
            for (auto library = first; library != last; ++library)
                if ((*library)->GetModules()->contains(unit)) {
                    ImodelModule::Delete((*library)->GetModules()->Extract(unit), false);
                    break;  // gone: no other library is asked about it
                }
            break;
        }
        default: {
            // A file renamed in place (in letter case or to another folder):
            // the units found take the new name, as the walk would have them.
            const boost::shared_ptr<IfileObjectEx> file = anyFile();
            const IfileObjectEx old = *file;
            std::string name = old.GetFullFileName().GetString();
            if (random() % 2 == 0)
                std::transform(name.begin(), name.end(), name.begin(), ::tolower);
            else
                name.replace(0, name.rfind('/'), random() % 2 == 0 ? "/naming/hdl" : "/naming/HDL2");
            file->SetFileName(ImodelFileName(name), ImodelFMFull, true);
            std::vector<ImodelModule*> plain;
            for (ImodelModule* each : units())
                if (names(*each, old) || each->GetModuleFile() == file) plain.push_back(each);
            std::vector<ImodelModule*> found = ImodelUnitsNamingFiles({old}, file.get(), false);
            std::erase_if(found,
                          [&](ImodelModule* each) { return !names(*each, old) && each->GetModuleFile() != file; });
            ASSERT_EQ(found, plain) << "step " << step;
            for (ImodelModule* each : found) each->updateModel(old, file, false);
            for (ImodelModule* each : units()) EXPECT_FALSE(names(*each, old) && !(old == *file)) << "step " << step;
            break;
        }
        }
        // Any file, by any of its names, with or without the defining entry
        // and the physical-synthesis lists.
        const boost::shared_ptr<IfileObjectEx> file = anyFile();
        const IfileObject asked = written(file);
        const bool byEntry = random() % 2 == 0;
        const bool phySynth = random() % 3 == 0;
        const auto wanted = [&](const ImodelModule& each) {
            return names(each, asked) || (byEntry && each.GetModuleFile() == file) ||
                   (phySynth && !each.GetPhySynthOptions()->GetConstraintFileList().empty());
        };
        std::vector<ImodelModule*> plain;
        for (ImodelModule* each : units())
            if (wanted(*each)) plain.push_back(each);
        std::vector<ImodelModule*> found = ImodelUnitsNamingFiles({asked}, byEntry ? file.get() : nullptr, phySynth);
        // Each found once, in the walk's order.
        std::vector<ImodelModule*> order = units();
        std::erase_if(order,
                      [&](ImodelModule* each) { return std::find(found.begin(), found.end(), each) == found.end(); });
        ASSERT_EQ(order, found) << "step " << step;
        std::erase_if(found, [&](ImodelModule* each) { return !wanted(*each); });
        ASSERT_EQ(found, plain) << "step " << step;
    }
    Design().Reset();
}
