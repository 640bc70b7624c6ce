#include "ModuleTestSupport.h"
#include "RecordingView.h"

#include "ievent/IeventClasses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

namespace {

using Module = std::unique_ptr<ImodelModule>;
using List = ImodelModule::ModuleList;

List Of(std::initializer_list<const Module*> modules)
{
    List list;
    for (const Module* module : modules) list.push_back(module->get());
    return list;
}

List SubBlocks(const ImodelModule& module) { return module.GetSubBlocks() ? module.GetSubBlocks()->ToList() : List(); }
List Parents(const ImodelModule& module)
{
    return module.GetParentsList() ? module.GetParentsList()->ToList() : List();
}

// B is in A's sub-blocks exactly when A is in B's parents, and a unit
// stands at most once in a parent list; an empty text when it holds.
std::string BrokenLinks(const std::vector<ImodelModule*>& modules)
{
    std::ostringstream broken;
    for (ImodelModule* a : modules) {
        if (a->GetSubBlocks() != nullptr) {
            for (ImodelModule* b : SubBlocks(*a)) {
                if (a->GetSubBlocks()->Count(b) !=
                    static_cast<std::size_t>(std::count(a->GetSubBlocks()->begin(), a->GetSubBlocks()->end(), b)))
                    broken << a->GetName() << " miscounts " << b->GetName() << "; ";
            }
        }
        for (ImodelModule* b : SubBlocks(*a)) {
            const List parents = Parents(*b);
            if (std::count(parents.begin(), parents.end(), a) != 1)
                broken << b->GetName() << " below " << a->GetName() << " lacks its parent; ";
        }
        for (ImodelModule* b : Parents(*a)) {
            const List subs = SubBlocks(*b);
            if (std::find(subs.begin(), subs.end(), a) == subs.end())
                broken << a->GetName() << " names " << b->GetName() << " as parent alone; ";
        }
    }
    return broken.str();
}

std::vector<std::string> NamesIn(const ImodelModule::ModuleSet& set)
{
    std::vector<std::string> names;
    for (const ImodelModule* module : set) names.push_back(module->GetName());
    return names;
}

class ImodelModuleLinks : public ModuleFixture {};

}  // namespace

TEST_F(ImodelModuleLinks, AddingAndRemovingKeepsBothSidesInStep)
{
    const Module top = MakeModule("top");
    const Module a = MakeModule("a");
    const Module b = MakeModule("b");
    const Module pkg = MakeModule("pkg", nullptr, zorpaMODULE_VHDL, true);

    top->AddSubBlock(a.get(), true);
    top->AddSubBlock(b.get(), false);
    top->AddSubBlock(a.get(), false);
    top->AddSubBlock(pkg.get(), false);
    top->AddSubBlock(nullptr, true);
    // The package goes first; a twice below, top once above it.
    EXPECT_EQ(SubBlocks(*top), Of({&pkg, &a, &b, &a}));
    EXPECT_EQ(Parents(*a), Of({&top}));

    // One instance of a goes: top stays its parent.
    top->RemoveSubBlock(a.get(), true);
    EXPECT_EQ(SubBlocks(*top), Of({&pkg, &b, &a}));
    EXPECT_EQ(Parents(*a), Of({&top}));
    top->RemoveSubBlock(a.get(), true);
    EXPECT_EQ(SubBlocks(*top), Of({&pkg, &b}));
    EXPECT_TRUE(Parents(*a).empty());
    top->RemoveSubBlock(a.get(), true);  // not there: nothing
    top->RemoveSubBlock(nullptr, true);

    // Destroying the list unlinks both sides.
    const Module board = MakeModule("board");
    board->AddSubBlock(top.get(), false);
    top->DestroySubBlockList(true);
    EXPECT_EQ(top->GetSubBlocks(), nullptr);
    EXPECT_EQ(top->GetParentsList(), nullptr);
    EXPECT_TRUE(SubBlocks(*board).empty());
    EXPECT_TRUE(Parents(*b).empty());
    EXPECT_TRUE(Parents(*pkg).empty());

    // New lists, owned or shared; duplicating a unit's own list is safe.
    auto list = std::make_unique<List>(Of({&a, &b}));
    top->SetSubBlocks(std::move(list));
    EXPECT_EQ(SubBlocks(*top), Of({&a, &b}));
    EXPECT_EQ(Parents(*b), Of({&top}));
    top->DuplicateList(top->GetSubBlocks());
    EXPECT_EQ(SubBlocks(*top), Of({&a, &b}));
    board->DuplicateList(top->GetSubBlocks());
    EXPECT_EQ(Parents(*a), Of({&top, &board}));
    top->SetSubBlocks(nullptr);
    EXPECT_EQ(top->GetSubBlocks(), nullptr);
    EXPECT_EQ(Parents(*a), Of({&board}));
    EXPECT_EQ(BrokenLinks({top.get(), a.get(), b.get(), pkg.get(), board.get()}), "");
}

TEST_F(ImodelModuleLinks, ARandomRunOfLinksAndDeletionsNeverBreaksTheLinks)
{
    std::mt19937 random(20081);
    std::vector<Module> modules;
    int made = 0;
    const auto make = [&] {
        const bool isPackage = random() % 5 == 0;
        return MakeModule("m" + std::to_string(made++), nullptr, zorpaMODULE_VHDL, isPackage);
    };
    for (int i = 0; i < 12; ++i) modules.push_back(make());
    const auto any = [&] { return modules[random() % modules.size()].get(); };
    const auto replace = [&](const ImodelModule* gone) {
        for (Module& module : modules)
            if (module.get() == gone) module = make();
    };
    const auto units = [&] {
        std::vector<ImodelModule*> all;
        for (const Module& module : modules) all.push_back(module.get());
        return all;
    };

    for (int step = 0; step < 3000; ++step) {
        ImodelModule* a = any();
        switch (random() % 8) {
        case 0:
        case 1:
            a->AddSubBlock(any(), random() % 2 == 0);
            break;  // self and repeats included
        case 2:
            a->RemoveSubBlock(any(), true);
            break;
        case 3: {
            auto list = std::make_unique<List>();
            for (unsigned n = random() % 4; n > 0; --n) list->push_back(any());
            a->SetSubBlocks(std::move(list));
            break;
        }
        case 4:
            a->DuplicateList(any()->GetSubBlocks());
            break;
        case 5:
            a->DestroySubBlockList(random() % 2 == 0);
            break;
        default:
            replace(a);
            break;
        }
        const std::string broken = BrokenLinks(units());
        ASSERT_EQ(broken, "") << "after step " << step;
    }
}

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

TEST_F(ImodelModuleLinks, AParentDefinedOutsideTheRemovedFilesStillNeedsTheUnit)
{
    const boost::shared_ptr<IfileObjectEx> removed = MakeFile("/d/removed.vhd");
    const boost::shared_ptr<IfileObjectEx> kept = MakeFile("/d/kept.vhd");
    const boost::shared_ptr<IfileObjectEx> outside = MakeFile("/d/outside.vhd");
    const Module unit = MakeModule("unit", removed);
    const Module inRemoved = MakeModule("wrapper", removed);
    const Module inKept = MakeModule("user", kept);
    inRemoved->AddSubBlock(unit.get(), false);
    inKept->AddSubBlock(unit.get(), false);
    inRemoved->AddSubBlock(inRemoved.get(), false);  // cycles are looked through once

    EXPECT_FALSE(unit->HasParentNotInListRec({kept}, {removed}));
    const Module user = MakeModule("outsider", outside);
    user->AddSubBlock(inRemoved.get(), false);
    EXPECT_TRUE(unit->HasParentNotInListRec({kept}, {removed}));
    EXPECT_FALSE(unit->HasParentNotInListRec({kept, outside}, {removed}));
}

TEST_F(ImodelModuleLinks, ChangesReachTheViewsAsOneEventNamingTheDisplayableUnits)
{
    const Module top = MakeModule("top");
    const Module sub = MakeModule("sub");
    top->AddSubBlock(sub.get(), false);
    RecordingView view;
    const auto modulesOfTheOneEvent = [&view] {
        EXPECT_EQ(view.Names(), std::vector<std::string>{"IeventModuleModified"});
        const auto& event = dynamic_cast<const IeventModuleModified&>(*view.Batches().at(0).at(0));
        return event.GetModules();
    };
    top->NotifyChanged(true, true, true);
    EXPECT_TRUE(modulesOfTheOneEvent().empty());

    view.Clear();
    sub->SetCanBeDisplayedInAView(true);
    top->NotifyChanged(true, false, true);
    EXPECT_EQ(modulesOfTheOneEvent(), std::vector<ImodelModule*>{sub.get()});
}

TEST_F(ImodelModuleLinks, FileListSettersMarkTheProjectOnlyWhenTheyChangeIt)
{
    const Module unit = MakeModule("unit");
    const IfileObject first = *MakeFile("/d/a.cdb", zorpaFT_ARM_DB);
    const IfileObject second = *MakeFile("/d/b.cdb", zorpaFT_ARM_DB);
    const IfileObject other = *MakeFile("/d/c.cdb", zorpaFT_ARM_DB);

    unit->SetCDBOrder({}, true);
    unit->SetSynthesisConstraintFileList({});
    EXPECT_FALSE(Design().GetNeedSave());
    unit->SetCDBOrder({second, first}, false);
    EXPECT_TRUE(Design().GetNeedSave());
    Design().SetNeedSave(false);
    unit->SetSynthesisConstraintFileList({first});
    EXPECT_TRUE(Design().GetNeedSave());
    Design().SetNeedSave(false);
    unit->SetSynthesisConstraintFileList({first});
    unit->AddSynthesisConstraintFile(first);
    EXPECT_FALSE(Design().GetNeedSave());
    EXPECT_EQ(unit->GetSynthesisConstraintFileList().size(), 1u);
    EXPECT_TRUE(unit->SetNewStimulusList({other}, nullptr));
    EXPECT_TRUE(Design().GetNeedSave());

    // Files in the CDB order come first, in its order.
    ImodelModule::FileList files{other, first, second};
    unit->UpdateCDBListWithExpectedOrder(files);
    EXPECT_EQ(files, (ImodelModule::FileList{second, first, other}));

    // A renamed file is renamed in the lists, the associated list aside.
    unit->AddAssociatedFile(*MakeFile("/d/a.cdb", zorpaFT_ARM_DB));
    unit->SetCustomizedFileList(true, ideSIMULATION, {MakeFile("/d/a.cdb", zorpaFT_ARM_DB)});
    const boost::shared_ptr<IfileObjectEx> renamed = MakeFile("/d/new.cdb", zorpaFT_ARM_DB);
    EXPECT_TRUE(unit->updateModel(*MakeFile("/d/a.cdb", zorpaFT_ARM_DB), renamed, false));
    EXPECT_EQ(unit->GetCDBOrder(), (ImodelModule::FileList{second, *renamed}));
    EXPECT_EQ(unit->GetSynthesisConstraintFileList(), ImodelModule::FileList{*renamed});
    EXPECT_EQ(unit->GetAssociatedFileListConst(), ImodelModule::FileList{first});
    EXPECT_EQ(unit->GetCustomizedFileLists()[0].GetFiles()[0].first, *renamed);

    // Packages go to every tool unless the user may organize them.
    EXPECT_TRUE(unit->IsPackageUsed(ideSIMULATION, first));
    ASSERT_EQ(DefSetFL("IDE_ORGANIZE_PACKAGES_ENABLED", "1"), 0);
    EXPECT_TRUE(unit->IsPackageUsed(idePALLADOR, first));
    EXPECT_TRUE(unit->IsPackageUsed(ideSYNTHESIS, first));
}
