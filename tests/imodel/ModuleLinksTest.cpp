// Related units of a design unit, collected through cyclic links.
#include "ModuleTestSupport.h"

#include <gtest/gtest.h>

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
