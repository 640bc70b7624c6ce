// Walks over the design tree: lookups and pattern matches (also against a
// plain walk on random hierarchies), loops, dumps and simulator parameters,
// all of them ending on cyclic designs and staying linear on shared units.
#include "ModuleTreeTestSupport.h"

#include "imodel/design/ImodelModuleTree.h"
#include "imodel/design/ImodelRoot.h"

#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

class ImodelModuleTreeTest : public DesignFixture {};

using List = std::deque<ImodelModule*>;

// The wildcard search for the next match exactly as a plain walk along
// every path does it, for comparison on acyclic hierarchies.
template <class Units>
ImodelModule* PlainMatch(const std::string& pattern, const Units* list, ImodelModule*& start)
{
    if (list == nullptr) return nullptr;
    for (ImodelModule* module : *list) {
        if (start == nullptr && WcmMatchCase(pattern.c_str(), module->GetName().c_str()) == 1) return module;
        if (start == module) start = nullptr;
        if (ImodelModule* found = PlainMatch(pattern, module->GetSubBlocks(), start)) return found;
    }
    return nullptr;
}

}  // namespace

TEST_F(ImodelModuleTreeTest, TheNextMatchIsTheSameAsAlongEveryPathOnRandomHierarchies)
{
    std::mt19937 random(20240611);
    const std::vector<std::string> names = {"a", "b", "c", "ab", "ba", "bb", "cab", "x", "y", "z", "za", "q"};
    for (int round = 0; round < 150; ++round) {
        Hierarchy units;
        // Links only from a unit to a later one: no cycle.
        for (std::size_t from = 0; from < names.size(); ++from)
            for (std::size_t to = from + 1; to < names.size(); ++to)
                if (random() % 4 == 0) units.Link(names[from], names[to]);
        const List top = units.List({names[random() % 3], names[3 + random() % 3]});
        const std::string pattern = std::string(1, "abcxyzq"[random() % 7]) + (random() % 2 ? "*" : "");
        for (int trial = 0; trial < 4; ++trial) {
            ImodelModule* start = trial == 0 ? nullptr : units.Unit(names[random() % names.size()]);
            ImodelModule* plainStart = start;
            ImodelModule* expected = PlainMatch(pattern, &top, plainStart);
            EXPECT_EQ(ImodelFindModuleMatch(pattern, &top, start, true, true), expected)
                << "round " << round << " pattern " << pattern;
            EXPECT_EQ(start, plainStart);
        }
    }
}

TEST_F(ImodelModuleTreeTest, EveryWalkEndsOnACyclicHierarchy)
{
    Hierarchy units;
    units.Link("a", "b").Link("b", "c").Link("c", "a").Link("c", "c");
    units.Unit("a")->SetVSimParams("-a");
    const List top = units.List({"a"});

    std::ostringstream out;
    ImodelDumpTree(out, "", &top, "work");
    EXPECT_EQ(out.str(), "a (?)\n"
                         "   b (?)\n"
                         "      c (?)\n"
                         "         a (?)\n"
                         "         c (?)\n");
    std::string params;
    ImodelAppendVSimParams(units.Unit("a"), params);
    EXPECT_EQ(params, "-a");
    EXPECT_EQ(ImodelFindModuleInTree("none", &top), nullptr);
    ImodelModule* start = units.Unit("c");
    EXPECT_EQ(ImodelFindModuleMatch("none", &top, start, false, true), nullptr);
    EXPECT_EQ(ImodelFindModuleMatch("a", &top, start, false, false), units.Unit("a"));
    EXPECT_FALSE(ImodelHasSubHdlBlocks(nullptr));
    EXPECT_TRUE(ImodelIsLoop(units.Unit("b"), &top));
    const auto outsider = MakeModule("outsider");
    EXPECT_FALSE(ImodelIsLoop(outsider.get(), &top));
    EXPECT_TRUE(ImodelIsTopLevelModuleOfFileRec(File("/p/x.vhd"), units.Unit("a")->GetParentsList()));
}

TEST_F(ImodelModuleTreeTest, SharedUnitsDoNotMakeTheSearchesExponential)
{
    // Forty levels of two units, each linked to both units of the next
    // level: 2^40 paths to the bottom.
    Hierarchy units;
    const auto name = [](const char* side, int level) { return side + std::to_string(level); };
    for (int level = 0; level < 40; ++level)
        for (const char* from : {"x", "y"})
            for (const char* to : {"x", "y"}) units.Link(name(from, level), name(to, level + 1));
    // Schematic packages: no HDL unit below, no candidate for the root.
    for (int level = 0; level <= 40; ++level) {
        for (const char* side : {"x", "y"}) {
            units.Unit(name(side, level))->SetIsPackage(true);
            units.Unit(name(side, level))->SetType(zorpaMODULE_SCHEMATIC);
        }
    }
    const List top = units.List({"x0", "y0"});

    ImodelModule* start = units.Unit("y39");
    EXPECT_EQ(ImodelFindModuleMatch("none", &top, start, true, false), nullptr);
    start = units.Unit("x40");
    EXPECT_EQ(ImodelFindModuleMatch("x39", &top, start, true, false), units.Unit("x39"));
    EXPECT_EQ(ImodelFindModuleInTree("none", &top), nullptr);
    EXPECT_FALSE(ImodelIsLoop(MakeModule("none").get(), &top));
    EXPECT_FALSE(ImodelHasSubHdlBlocks(&top));
    EXPECT_TRUE(ImodelIsTopLevelModuleOfFileRec(File("/p/x.vhd"), units.Unit("x40")->GetParentsList()));
    EXPECT_EQ(ImodelGetFirstValidRoot(&top), nullptr);
}
