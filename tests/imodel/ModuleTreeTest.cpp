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

// Counts the units it is applied to, in order.
class CollectFtor : public ImodelModifyModuleFtor {
public:
    bool operator()(ImodelModule* module) const override
    {
        seen.push_back(module->GetName());
        return false;
    }
    mutable std::vector<std::string> seen;
};

}  // namespace

TEST_F(ImodelModuleTreeTest, TheFirstUnitOfANameIsFoundDepthFirst)
{
    Hierarchy units;
    units.Link("top", "mid").Link("mid", "ALU").Link("top", "alu");
    const List top = units.List({"top"});

    // A Verilog project compares names with case, a VHDL project without.
    EXPECT_EQ(ImodelFindModuleInTree("alu", &top), units.Unit("alu"));
    EXPECT_EQ(ImodelFindModuleInTree("ALU", &top), units.Unit("ALU"));
    Design().SetDefaultVHDL(true);
    EXPECT_EQ(ImodelFindModuleInTree("alu", &top), units.Unit("ALU"));
    EXPECT_EQ(ImodelFindModuleInTree("TOP", &top), units.Unit("top"));
    EXPECT_EQ(ImodelFindModuleInTree("none", &top), nullptr);
    EXPECT_EQ(ImodelFindModuleInTree("", &top), nullptr);
    EXPECT_EQ(ImodelFindModuleInTree("alu", nullptr), nullptr);
}

TEST_F(ImodelModuleTreeTest, TheNextMatchGoesOnAfterTheStartAlongEveryPath)
{
    Hierarchy units;
    units.Link("a1", "c").Link("a1", "a2").Link("b", "a3").Link("b", "Alpha");
    const List top = units.List({"a1", "b"});
    const auto next = [&](const char* name, ImodelModule* start, bool caseSensitive, bool wildcard) {
        return ImodelFindModuleMatch(name, &top, start, caseSensitive, wildcard);
    };

    EXPECT_EQ(next("a*", nullptr, true, true), units.Unit("a1"));
    EXPECT_EQ(next("a*", units.Unit("a1"), true, true), units.Unit("a2"));
    EXPECT_EQ(next("a*", units.Unit("a2"), true, true), units.Unit("a3"));
    EXPECT_EQ(next("a*", units.Unit("a3"), true, true), nullptr);
    EXPECT_EQ(next("a*", units.Unit("a3"), false, true), units.Unit("Alpha"));
    EXPECT_EQ(next("ALPHA", nullptr, false, false), units.Unit("Alpha"));
    EXPECT_EQ(next("ALPHA", nullptr, true, false), nullptr);
    EXPECT_EQ(next("c", units.Unit("b"), true, false), nullptr);
    EXPECT_EQ(next("a*", nullptr, true, true), units.Unit("a1"));

    // The start is handed back as null once it was passed.
    ImodelModule* start = units.Unit("c");
    EXPECT_EQ(ImodelFindModuleMatch("b", &top, start, true, false), units.Unit("b"));
    EXPECT_EQ(start, nullptr);
    EXPECT_EQ(ImodelFindModuleMatch("b", nullptr, start, true, false), nullptr);

    // A unit shared by two parents is met once along each path: after its
    // first place, its second place is still ahead.
    Hierarchy shared;
    shared.Link("p", "s").Link("q", "s").Link("s", "x");
    const List both = shared.List({"p", "q"});
    start = shared.Unit("x");
    EXPECT_EQ(ImodelFindModuleMatch("s", &both, start, true, false), shared.Unit("s"));
}

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

TEST_F(ImodelModuleTreeTest, TheDesignWideSearchWrapsAround)
{
    ImodelModule* adder = AddUnit("work", "adder", File("/p/adder.vhd"));
    ImodelModule* top = AddUnit("work", "top", File("/p/top.vhd"));
    ImodelModule* alu = AddUnit("work", "alu", File("/p/alu.vhd"));
    top->AddSubBlock(alu, false);
    Design().UpdateTopModules(Design().FindLibraryByName("work"));

    EXPECT_EQ(ImodelFindModuleMatch("a*", nullptr, true, true), adder);
    EXPECT_EQ(ImodelFindModuleMatch("a*", adder, true, true), alu);
    EXPECT_EQ(ImodelFindModuleMatch("a*", alu, true, true), adder);
    EXPECT_EQ(ImodelFindModuleMatch("t*", top, true, true), top);
    EXPECT_EQ(ImodelFindModuleMatch("x*", alu, true, true), nullptr);
    EXPECT_EQ(ImodelFindModuleMatch("x*", nullptr, true, true), nullptr);
}

TEST_F(ImodelModuleTreeTest, AnotherPackageDeclaringAUnitIsAPackageParent)
{
    Hierarchy units;
    units.Unit("pkgA", zorpaMODULE_VHDL, true);
    units.Unit("pkgB", zorpaMODULE_VHDL, true);
    units.Link("entity", "alu").Link("pkgA", "alu").Link("pkgB", "alu");
    ImodelModule* alu = units.Unit("alu");

    EXPECT_EQ(ImodelFindAnotherPackageDeclaringAModule(alu, ""), units.Unit("pkgA"));
    EXPECT_EQ(ImodelFindAnotherPackageDeclaringAModule(alu, "PKGA"), units.Unit("pkgB"));
    EXPECT_EQ(ImodelFindAnotherPackageDeclaringAModule(alu, "other"), units.Unit("pkgA"));
    EXPECT_EQ(ImodelFindAnotherPackageDeclaringAModule(units.Unit("pkgA"), ""), nullptr);
    EXPECT_EQ(ImodelFindAnotherPackageDeclaringAModule(nullptr, ""), nullptr);
}

TEST_F(ImodelModuleTreeTest, ALoopIsFoundThroughAnyChainOfSubBlocks)
{
    Hierarchy units;
    units.Link("a", "b").Link("b", "c").Link("x", "y").Link("y", "x");
    ImodelModule* a = units.Unit("a");
    EXPECT_FALSE(ImodelIsLoop(a, a->GetSubBlocks()));
    EXPECT_FALSE(ImodelIsLoop(nullptr, a->GetSubBlocks()));
    EXPECT_FALSE(ImodelIsLoop(a, nullptr));
    // A cycle elsewhere ends the walk without an answer for `a`.
    const List cyclic = units.List({"x"});
    EXPECT_FALSE(ImodelIsLoop(a, &cyclic));
    EXPECT_TRUE(ImodelIsLoop(units.Unit("y"), &cyclic));

    units.Link("c", "a");
    EXPECT_TRUE(ImodelIsLoop(a, a->GetSubBlocks()));
    // Equality, not identity: another unit of the same name and library.
    const std::unique_ptr<ImodelModule> twin = MakeModule("c");
    EXPECT_TRUE(ImodelIsLoop(twin.get(), a->GetSubBlocks()));
}

TEST_F(ImodelModuleTreeTest, HdlUnitsAreFoundAnywhereBelow)
{
    Hierarchy units;
    units.Unit("sheet", zorpaMODULE_SCHEMATIC);
    units.Unit("inner", zorpaMODULE_SCHEMATIC);
    units.Unit("net", zorpaMODULE_NETLIST);
    units.Unit("core", zorpaMODULE_UNKNOWN);
    units.Link("sheet", "inner").Link("inner", "net").Link("inner", "sheet");
    const List sheets = units.List({"sheet"});
    EXPECT_FALSE(ImodelHasSubHdlBlocks(&sheets));
    units.Unit("verilog", zorpaMODULE_VERILOG);
    units.Link("core", "verilog").Link("net", "core");
    EXPECT_TRUE(ImodelHasSubHdlBlocks(&sheets));
    const List empty;
    EXPECT_FALSE(ImodelHasSubHdlBlocks(&empty));
    EXPECT_FALSE(ImodelHasSubHdlBlocks(nullptr));
}

TEST_F(ImodelModuleTreeTest, ADesignHasAUnitWhenSomeLibraryHoldsOne)
{
    EXPECT_FALSE(ImodelHasModule());
    Design().AddLibrary("lib2", false);
    EXPECT_FALSE(ImodelHasModule());
    AddUnit("lib2", "alu", File("/p/alu.vhd", "lib2"));
    EXPECT_TRUE(ImodelHasModule());
}

TEST_F(ImodelModuleTreeTest, AUnitDependsOnTheLibraryOfItsFileAndOfThePackagesItUses)
{
    const auto library = Design().AddLibrary("MyLib", false);
    const auto inLibrary = File("/p/a.vhd", "mylib");
    const auto user = File("/p/b.vhd");
    const auto loner = File("/p/c.vhd");
    user->SetUsedPackages({"ieee.std_logic_1164.all", "nodot", "MYLIB.types.all"});
    loner->SetUsedPackages({"mylib", "other.mylib.all"});
    const auto a = MakeModule("a", inLibrary);
    const auto b = MakeModule("b", user);
    const auto c = MakeModule("c", loner);
    const auto fileless = MakeModule("d");

    EXPECT_TRUE(ImodelIsModuleDependentOfLibrary(a.get(), library));
    EXPECT_TRUE(ImodelIsModuleDependentOfLibrary(b.get(), library));
    EXPECT_FALSE(ImodelIsModuleDependentOfLibrary(c.get(), library));
    EXPECT_FALSE(ImodelIsModuleDependentOfLibrary(fileless.get(), library));
    EXPECT_FALSE(ImodelIsModuleDependentOfLibrary(a.get(), nullptr));
    EXPECT_FALSE(ImodelIsModuleDependentOfLibrary(nullptr, library));
}

TEST_F(ImodelModuleTreeTest, AUnitIsATopUnitOfItsFileWhenNoUnitAboveComesFromIt)
{
    const auto shared = File("/p/shared.vhd");
    const auto other = File("/p/other.vhd");
    const auto unit = MakeModule("unit", shared);
    const auto parent = MakeModule("parent", other);
    const auto grand = MakeModule("grand", other);
    parent->AddSubBlock(unit.get(), false);
    grand->AddSubBlock(parent.get(), false);

    EXPECT_TRUE(ImodelIsTopLevelModuleOfFileRec(shared, unit->GetParentsList()));
    EXPECT_TRUE(ImodelIsTopLevelModuleOfFileRec(shared, nullptr));
    EXPECT_FALSE(ImodelIsTopLevelModuleOfFileRec(other, unit->GetParentsList()));

    // A unit of the same file further up; and a cycle up there ends the walk.
    const auto top = MakeModule("top", shared);
    top->AddSubBlock(grand.get(), false);
    EXPECT_FALSE(ImodelIsTopLevelModuleOfFileRec(shared, unit->GetParentsList()));
    parent->AddSubBlock(grand.get(), false);
    EXPECT_TRUE(ImodelIsTopLevelModuleOfFileRec(File("/p/third.vhd"), unit->GetParentsList()));
}

TEST_F(ImodelModuleTreeTest, AFileIsUsedWhenItDefinesAUnitOfTheDesignTree)
{
    ImodelModule* top = AddUnit("work", "top", File("/p/top.vhd"));
    ImodelModule* leaf = AddUnit("work", "leaf", File("/p/leaf.vhd"));
    AddUnit("lib2", "apart", File("/p/apart.vhd", "lib2"));
    top->AddSubBlock(leaf, false);
    Design().UpdateTopModules(Design().FindLibraryByName("work"));

    EXPECT_TRUE(ImodelIsUsedInHierarchy(*File("/p/leaf.vhd")));
    EXPECT_TRUE(ImodelIsUsedInHierarchy(*File("/P/TOP.VHD")));
    EXPECT_FALSE(ImodelIsUsedInHierarchy(*File("/p/apart.vhd")));
    EXPECT_FALSE(ImodelIsUsedInHierarchy(*File("/p/none.vhd")));
}

TEST_F(ImodelModuleTreeTest, AFunctorReachesEveryUnitOfEveryLibraryInOrder)
{
    AddUnit("work", "zeta", File("/p/z.vhd"));
    AddUnit("work", "Alpha", File("/p/a.vhd"));
    AddUnit("lib2", "beta", File("/p/b.vhd", "lib2"));
    CollectFtor collect;
    ImodelApplyToAllModules(collect);
    EXPECT_EQ(collect.seen, (std::vector<std::string>{"Alpha", "zeta", "beta"}));
}

TEST_F(ImodelModuleTreeTest, DestroyingATreeDeletesEachUnitOnceAndUnlinksItFromTheRest)
{
    const auto keeper = MakeModule("keeper");
    ImodelModule::OwnedList list;
    list.push_back(MakeModule("a"));
    list.push_back(MakeModule("b"));
    ImodelModule* a = list[0].get();
    ImodelModule* b = list[1].get();
    keeper->AddSubBlock(a, false);
    a->AddSubBlock(b, false);
    b->AddSubBlock(a, false);
    ImodelDestroyTree(std::move(list));
    EXPECT_EQ(keeper->GetSubBlocks() ? keeper->GetSubBlocks()->size() : 0u, 0u);
    ImodelDestroyTree({});
}

TEST_F(ImodelModuleTreeTest, SimulatorParametersAreGatheredDepthFirst)
{
    Hierarchy units;
    units.Link("top", "first").Link("top", "second").Link("second", "deep").Link("other", "deep");
    ASSERT_TRUE(units.Unit("second")->SetVSimParams("-g WIDTH=8"));
    ASSERT_TRUE(units.Unit("deep")->SetVSimParams("+define+SIM"));

    std::string params;
    ImodelAppendVSimParams(units.Unit("top"), params);
    EXPECT_EQ(params, "-g WIDTH=8 +define+SIM");
    params = "-quiet";
    ImodelAppendVSimParams(units.Unit("deep"), params);
    EXPECT_EQ(params, "-quiet +define+SIM");
    ImodelAppendVSimParams(nullptr, params);
    EXPECT_EQ(params, "-quiet +define+SIM");

    // Along every path: a unit met twice gives its parameters twice; a
    // cycle is followed once around.
    units.Link("top", "other").Link("deep", "top");
    params.clear();
    ImodelAppendVSimParams(units.Unit("top"), params);
    EXPECT_EQ(params, "-g WIDTH=8 +define+SIM +define+SIM");
}

TEST_F(ImodelModuleTreeTest, TheTreeDumpIsSortedIndentedAndNamesForeignLibraries)
{
    const auto zeta = MakeModule("zeta", File("/p/src/zeta.vhd"));
    const auto alpha = MakeModule("Alpha", File("C:\\p\\alpha.vhd"), zorpaMODULE_VHDL, false, "mylib");
    const auto beta = MakeModule("beta");
    const auto gamma = MakeModule("gamma", File("/p/g.v"), zorpaMODULE_VERILOG);
    const auto delta = MakeModule("delta", nullptr, zorpaMODULE_VHDL, false, "MyLib");
    const auto epsilon = MakeModule("epsilon");
    ASSERT_TRUE(epsilon->SetDefinedInLibrary(""));
    alpha->AddSubBlock(gamma.get(), false);
    alpha->AddSubBlock(delta.get(), false);
    gamma->AddSubBlock(epsilon.get(), false);
    const List top = {zeta.get(), nullptr, alpha.get(), beta.get()};

    std::ostringstream out;
    EXPECT_EQ(&ImodelDumpTree(out, " ", &top, "work"), &out);
    EXPECT_EQ(out.str(), " Alpha [mylib] (alpha.vhd)\n"
                         "    delta [MyLib] (?)\n"
                         "    gamma (g.v)\n"
                         "       epsilon (?)\n"
                         " beta (?)\n"
                         " zeta (zeta.vhd)\n");

    std::ostringstream inLibrary;
    ImodelDumpTree(inLibrary, "", alpha->GetSubBlocks(), "MyLib");
    EXPECT_EQ(inLibrary.str(), "delta (?)\n"
                               "gamma [work] (g.v)\n"
                               "   epsilon (?)\n");

    std::ostringstream nothing;
    const List empty;
    ImodelDumpTree(nothing, " ", &empty, "work");
    ImodelDumpTree(nothing, " ", nullptr, "work");
    EXPECT_EQ(nothing.str(), "");
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
