#include "ModuleTreeTestSupport.h"

#include "imodel/design/ImodelFindModule.h"

#include <zorpa/ZorpaFind.h>

#include <gtest/gtest.h>

namespace {

class ImodelFindModuleTest : public DesignFixture {
protected:
    ImodelDesignManager::LibraryPtr Library(const std::string& name) { return Design().AddLibrary(name, false); }
};

// A block-design component known by its identity only.
class FakeComponent : public VyIfaces::IComponent {
public:
    explicit FakeComponent(const VyIfaces::ComponentID& id) : m_id(id) {}
    const VyIfaces::ComponentID& GetComponentID() const override { return m_id; }
    VyModuleType GetModuleType() const override { return HDL; }
    std::string GetDefinitionFileName() const override { return ""; }
    void Accept(VyIfaces::IComponentVisitor& visitor) override { visitor.VisitHDLComponent(*this); }

private:
    VyIfaces::ComponentID m_id;
};

bool IsNotPackage(ImodelModule* module) { return !module->IsPackage(); }

}  // namespace

TEST_F(ImodelFindModuleTest, ALibraryLookupIgnoresCaseAndFindsEachDuplicateByItsFile)
{
    ImodelModule* second = AddUnit("work", "ALU", File("/p/b.vhd"));
    ImodelModule* first = AddUnit("work", "alu", File("/p/a.vhd"));
    ImodelModule* cpu = AddUnit("work", "cpu", File("/p/cpu.vhd"));
    const auto work = Library("work");

    // Without a file, the unit whose file orders first; the kind does not narrow.
    EXPECT_EQ(ImodelFindModuleInLib(work, "Alu", zorpaMODULE_VHDL, ""), first);
    EXPECT_EQ(ImodelFindModuleInLib(work, "aLU", zorpaMODULE_SCHEMATIC, ""), first);
    EXPECT_EQ(ImodelFindModuleInLib(work, "CPU", zorpaMODULE_UNKNOWN, ""), cpu);

    // With a file, whichever duplicate that file defines, by file-name equality.
    EXPECT_EQ(ImodelFindModuleInLib(work, "alu", zorpaMODULE_VHDL, "/p/a.vhd"), first);
    EXPECT_EQ(ImodelFindModuleInLib(work, "alu", zorpaMODULE_VHDL, "/p/b.vhd"), second);
    EXPECT_EQ(ImodelFindModuleInLib(work, "ALU", zorpaMODULE_VHDL, "\\P\\B.VHD"), second);
    EXPECT_EQ(ImodelFindModuleInLib(work, "alu", zorpaMODULE_VHDL, "/p/cpu.vhd"), nullptr);
    EXPECT_EQ(ImodelFindModuleInLib(work, "cpu", zorpaMODULE_VHDL, "/p/cpu.vhd"), cpu);

    EXPECT_EQ(ImodelFindModuleInLib(work, "fpu", zorpaMODULE_VHDL, ""), nullptr);
    EXPECT_EQ(ImodelFindModuleInLib(work, "", zorpaMODULE_VHDL, ""), nullptr);
    EXPECT_EQ(ImodelFindModuleInLib(nullptr, "alu", zorpaMODULE_VHDL, ""), nullptr);
    EXPECT_EQ(ImodelFindModuleInLib(Library("empty"), "alu", zorpaMODULE_VHDL, ""), nullptr);

    // The search key leaves nothing behind: the library holds what it held.
    EXPECT_EQ(work->GetModules()->size(), 3u);
    EXPECT_FALSE(ImodelModule::IsRemovingTempModule());
}

TEST_F(ImodelFindModuleTest, SearchesOverEveryLibraryGoInCreationOrder)
{
    ImodelModule* workAlu = AddUnit("work", "alu", File("/p/a.vhd"));
    ImodelModule* libAlu = AddUnit("Lib2", "Alu", File("/p/x.vhd", "Lib2"));
    ImodelModule* fpu = AddUnit("Lib2", "fpu", File("/p/f.vhd", "Lib2"));

    EXPECT_EQ(ImodelFindModuleInAnyLib("ALU", ""), workAlu);
    EXPECT_EQ(ImodelFindModuleInAnyLib("alu", "/p/x.vhd"), libAlu);
    EXPECT_EQ(ImodelFindModuleInAnyLib("fpu", ""), fpu);
    EXPECT_EQ(ImodelFindModuleInAnyLib("fpu", "/p/a.vhd"), nullptr);
    EXPECT_EQ(ImodelFindModuleInAnyLib("none", ""), nullptr);

    // By block-design identity: the library by name, any letter case; the
    // package is not looked at.
    EXPECT_EQ(ImodelFindModule(VyIfaces::ComponentID("FPU", "lib2", "somepkg")), fpu);
    EXPECT_EQ(ImodelFindModule(VyIfaces::ComponentID("alu", "LIB2", "")), libAlu);
    EXPECT_EQ(ImodelFindModule(VyIfaces::ComponentID("fpu", "work", "")), nullptr);
    EXPECT_EQ(ImodelFindModule(VyIfaces::ComponentID("fpu", "missing", "")), nullptr);
}

TEST_F(ImodelFindModuleTest, ComponentsAreFoundThroughTheUnitsComponents)
{
    FakeComponent inWork(VyIfaces::ComponentID("alu", "work", ""));
    FakeComponent inLib(VyIfaces::ComponentID("fifo", "lib2", "pkg"));
    FakeComponent askedFor(VyIfaces::ComponentID("FIFO", "LIB2", "PKG"));
    FakeComponent unknown(VyIfaces::ComponentID("ram", "work", ""));

    AddUnit("work", "plain", File("/p/plain.vhd"));
    ImodelModule* alu = AddUnit("work", "alu", File("/p/a.vhd"));
    alu->SetComponent(&inWork);
    ImodelModule* fifo = AddUnit("lib2", "fifo", File("/p/fifo.vhd", "lib2"));
    fifo->SetComponent(&inLib);

    EXPECT_EQ(ImodelFindModule(&inWork, Library("work")), alu);
    EXPECT_EQ(ImodelFindModule(&askedFor, Library("work")), nullptr);
    EXPECT_EQ(ImodelFindModule(&askedFor, Library("lib2")), fifo);
    EXPECT_EQ(ImodelFindModule(&askedFor, nullptr), nullptr);
    EXPECT_EQ(ImodelFindModule(nullptr, Library("work")), nullptr);

    EXPECT_EQ(ImodelFindModuleInAnyLib(&askedFor), fifo);
    EXPECT_EQ(ImodelFindModuleInAnyLib(&inWork), alu);
    EXPECT_EQ(ImodelFindModuleInAnyLib(&unknown), nullptr);
    EXPECT_EQ(ImodelFindModuleInAnyLib(static_cast<VyIfaces::IComponent*>(nullptr)), nullptr);
}

TEST_F(ImodelFindModuleTest, PatternMatchingCountsEveryUnitItWalks)
{
    ImodelModule* alu = AddUnit("work", "alu", File("/p/alu.vhd"));
    ImodelModule* adder = AddUnit("work", "adder", File("/p/adder.vhd"));
    ImodelModule* alpha = AddUnit("work", "Alpha", File("/p/alpha.vhd"), zorpaMODULE_VHDL, true);
    AddUnit("work", "cpu", File("/p/cpu.vhd"));
    AddUnit("work", "fpu", File("/p/fpu.vhd"));
    const auto work = Library("work");

    std::vector<ImodelModule*> out;
    bool (*const all)(ImodelModule*) = nullptr;
    EXPECT_EQ(ImodelGetMatchingModules(work, "a*", out, all), 5);
    EXPECT_EQ(out, (std::vector<ImodelModule*>{adder, alpha, alu}));

    out.clear();
    bool (*const notPackage)(ImodelModule*) = IsNotPackage;
    EXPECT_EQ(ImodelGetMatchingModules(work, "A?U", out, notPackage), 5);
    EXPECT_EQ(out, (std::vector<ImodelModule*>{alu}));
    EXPECT_EQ(ImodelGetMatchingModules(work, "x*", out, notPackage), 5);
    EXPECT_EQ(out.size(), 1u);

    EXPECT_EQ(ImodelGetMatchingModules(work, "", out, all), 0);
    EXPECT_EQ(ImodelGetMatchingModules(nullptr, "*", out, all), 0);
    EXPECT_EQ(out.size(), 1u);
}

TEST_F(ImodelFindModuleTest, AUseClauseFindsItsPackageInTheFilesLibraryBeforeWork)
{
    ImodelModule* workTypes = AddUnit("work", "types", File("/p/wt.vhd"), zorpaMODULE_VHDL, true);
    ImodelModule* myTypes = AddUnit("mylib", "Types", File("/p/mt.vhd", "mylib"), zorpaMODULE_VHDL, true);
    ImodelModule* consts = AddUnit("other", "consts", File("/p/c.vhd", "other"), zorpaMODULE_VHDL, true);
    AddUnit("other", "types", File("/p/ot.vhd", "other"));  // not a package
    for (const char* library : {"work", "mylib", "other"}) Design().UpdateTopModules(Library(library));
    const auto user = File("/p/user.vhd", "MyLib");

    // "work" is the file's own library first: mylib, then work itself.
    std::deque<std::string> visited;
    std::string use = "WORK.Types.ALL";
    EXPECT_EQ(ImodelFindUsedPackage(user, use, visited), myTypes);
    EXPECT_EQ(use, "work");
    EXPECT_EQ(visited, (std::deque<std::string>{"mylib.types"}));
    use = "work.types.all";
    EXPECT_EQ(ImodelFindUsedPackage(user, use, visited), workTypes);
    use = "work.types.all";
    EXPECT_EQ(ImodelFindUsedPackage(user, use, visited), nullptr);
    EXPECT_EQ(visited, (std::deque<std::string>{"mylib.types", "work.types"}));

    // Another library part: that library only.
    visited.clear();
    use = "Other.Consts.all";
    EXPECT_EQ(ImodelFindUsedPackage(user, use, visited), consts);
    EXPECT_EQ(use, "other");
    use = "other.types.all";
    EXPECT_EQ(ImodelFindUsedPackage(user, use, visited), nullptr);
    use = "nolib.types.all";
    EXPECT_EQ(ImodelFindUsedPackage(user, use, visited), nullptr);

    // Two parts name no package; without a dot nothing is touched.
    use = "MyLib.types";
    EXPECT_EQ(ImodelFindUsedPackage(user, use, visited), nullptr);
    EXPECT_EQ(use, "mylib");
    use = "types";
    EXPECT_EQ(ImodelFindUsedPackage(user, use, visited), nullptr);
    EXPECT_EQ(use, "types");
    use = "work.types.all";
    EXPECT_EQ(ImodelFindUsedPackage(nullptr, use, visited), nullptr);

    // A file of "work" looks in "work" once.
    visited.clear();
    use = "work.types.all";
    EXPECT_EQ(ImodelFindUsedPackage(File("/p/w.vhd"), use, visited), workTypes);
    EXPECT_EQ(visited, (std::deque<std::string>{"work.types"}));

    // One step alone: a key already searched is not searched again; without
    // a list nothing is remembered.
    EXPECT_EQ(ImodelFindPackageInLib(&visited, "mylib", "TYPES"), myTypes);
    EXPECT_EQ(ImodelFindPackageInLib(&visited, "mylib", "TYPES"), nullptr);
    EXPECT_EQ(ImodelFindPackageInLib(nullptr, "mylib", "types"), myTypes);
    EXPECT_EQ(ImodelFindPackageInLib(nullptr, "mylib", "types"), myTypes);
    EXPECT_EQ(ImodelFindPackageInLib(nullptr, "missing", "types"), nullptr);
}

TEST(ZorpaFind, UseClausesDecideWhichLibrariesAUnitSees)
{
    ZorpaUseClause clause;
    EXPECT_FALSE(ZorpaSplitUseClause("nodot", clause));
    ASSERT_TRUE(ZorpaSplitUseClause("IEEE.Std_Logic_1164.ALL", clause));
    EXPECT_EQ(clause.library, "ieee");
    EXPECT_EQ(clause.package, "std_logic_1164");
    EXPECT_EQ(clause.item, "all");
    ASSERT_TRUE(ZorpaSplitUseClause("Lib.Unit", clause));
    EXPECT_EQ(clause.package, "");
    EXPECT_EQ(clause.item, "unit");
    EXPECT_TRUE(clause.Names("UNIT"));
    EXPECT_FALSE(clause.Names("other"));

    EXPECT_EQ(ZorpaOwnLibrary({"ieee.std_logic_1164.all", "mylib", "x.y"}, "work"), "mylib");
    EXPECT_EQ(ZorpaOwnLibrary({"ieee.std_logic_1164.all"}, "work"), "work");

    using Libraries = std::deque<std::string>;
    EXPECT_TRUE(ZorpaFindModuleInPossibleLib2("alu", "work", Libraries{"ieee.std_logic_1164.all", "WORK"}));
    EXPECT_FALSE(ZorpaFindModuleInPossibleLib2("alu", "mylib", Libraries{"ieee.std_logic_1164.all", "work"}));
    EXPECT_TRUE(ZorpaFindModuleInPossibleLib2("alu", "mylib", Libraries{"MyLib.ALU", "work"}));
    EXPECT_TRUE(ZorpaFindModuleInPossibleLib2("alu", "mylib", Libraries{"mylib.all", "work"}));
    EXPECT_TRUE(ZorpaFindModuleInPossibleLib2("alu", "mylib", Libraries{"mylib.comps.all", "work"}));
    EXPECT_FALSE(ZorpaFindModuleInPossibleLib2("alu", "mylib", Libraries{"mylib.comps.fpu", "work"}));
    // "work" in a clause is the unit's own library.
    EXPECT_TRUE(ZorpaFindModuleInPossibleLib2("alu", "mylib", Libraries{"work.alu", "mylib"}));
    EXPECT_FALSE(ZorpaFindModuleInPossibleLib2("alu", "work", Libraries{"work.alu", "mylib"}));
    EXPECT_FALSE(ZorpaFindModuleInPossibleLib2("alu", "work", Libraries{}));
}

TEST_F(ImodelFindModuleTest, ZorpaFindsThePackageThroughWhichAUnitIsReached)
{
    ImodelModule* comps = AddUnit("mylib", "comps", File("/p/comps.vhd", "mylib"), zorpaMODULE_VHDL, true);
    ImodelModule* alu = AddUnit("mylib", "alu", File("/p/alu.vhd", "mylib"));
    ImodelModule* fpu = AddUnit("mylib", "fpu", File("/p/fpu.vhd", "mylib"));
    AddUnit("work", "comps", nullptr, zorpaMODULE_UNKNOWN, true);  // a placeholder does not count
    comps->AddSubBlock(alu, false);
    const std::unique_ptr<ImodelModule> key = MakeModule("prototype", nullptr, zorpaMODULE_UNKNOWN);
    const auto [first, last] = Design().GetLibraries();
    // Structured bindings are copied in: clang 14 cannot capture them.
    const auto find = [&, first = first, last = last](ImodelModule* unit, std::deque<std::string> clauses,
                                                      bool declaringOnly) {
        return ZorpaFindUsedPackages<ImodelModule*>(first, last, unit, clauses, declaringOnly, key.get());
    };

    EXPECT_EQ(find(alu, {"ieee.std_logic_1164.all", "MYLIB.Comps.all", "work"}, true), comps);
    EXPECT_EQ(find(alu, {"mylib.comps.ALU", "work"}, true), comps);
    EXPECT_EQ(find(alu, {"mylib.comps.fpu", "work"}, false), nullptr);
    EXPECT_EQ(find(fpu, {"mylib.comps.all", "work"}, false), comps);
    EXPECT_EQ(find(fpu, {"mylib.comps.all", "work"}, true), nullptr);
    // "work" is the clauses' owner's library, else the unit's own.
    EXPECT_EQ(find(alu, {"work.comps.all", "mylib"}, true), comps);
    EXPECT_EQ(find(alu, {"work.comps.all", "work"}, false), nullptr);
    EXPECT_EQ(find(alu, {"work.comps.all"}, false), comps);
    EXPECT_EQ(find(alu, {"mylib.all", "mylib.alu", "nolib.comps.all"}, false), nullptr);
    EXPECT_EQ(ZorpaFindUsedPackages<ImodelModule*>(first, last, alu, {"mylib.comps.all"}, false, nullptr), nullptr);
    EXPECT_EQ(ZorpaFindUsedPackages<ImodelModule*>(first, last, nullptr, {"mylib.comps.all"}, false, key.get()),
              nullptr);
    // The probes are gone again.
    EXPECT_EQ(Library("mylib")->GetModules()->size(), 3u);
}
