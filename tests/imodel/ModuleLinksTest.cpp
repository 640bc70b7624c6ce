// Links between design units: both sides always in step, also through a long
// random run; related units through cycles; events and file lists.
#include "ModuleTestSupport.h"

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
    EXPECT_EQ(SubBlocks(*top), Of({&pkg, &a, &b, &a}));  // the package goes first
    EXPECT_EQ(Parents(*a), Of({&top}));
    top->RemoveSubBlock(a.get(), true);  // one instance goes: top stays its parent
    EXPECT_EQ(Parents(*a), Of({&top}));
    top->RemoveSubBlock(a.get(), true);
    EXPECT_TRUE(Parents(*a).empty());

    // Destroying the list unlinks both sides; duplicating a unit's own list is safe.
    const Module board = MakeModule("board");
    board->AddSubBlock(top.get(), false);
    top->DestroySubBlockList(true);
    EXPECT_TRUE(SubBlocks(*board).empty());
    EXPECT_TRUE(Parents(*b).empty());
    top->SetSubBlocks(std::make_unique<List>(Of({&a, &b})));
    top->DuplicateList(top->GetSubBlocks());
    EXPECT_EQ(SubBlocks(*top), Of({&a, &b}));
    board->DuplicateList(top->GetSubBlocks());
    EXPECT_EQ(Parents(*a), Of({&top, &board}));
    top->SetSubBlocks(nullptr);
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
