// Related units of a design unit, collected through cyclic links; the
// units' file lists that let go of the files leaving the project.
#include "ModuleTestSupport.h"

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
