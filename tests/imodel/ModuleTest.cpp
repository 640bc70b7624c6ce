#include "Golden.h"
#include "ModuleTestSupport.h"

#include "imodel/design/ImodelModuleTypes.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

namespace {

using Module = std::unique_ptr<ImodelModule>;

class ImodelModuleRecord : public ModuleFixture {};

}  // namespace

TEST_F(ImodelModuleRecord, NamesCompareByTheProjectHdlOrWithMixedHdlByKind)
{
    const Module upper = MakeModule("Alu");
    const Module lower = MakeModule("alu");
    // A Verilog project compares with case.
    EXPECT_NE(*upper, *lower);
    EXPECT_FALSE(upper->IsSameModule("ALU"));
    EXPECT_TRUE(upper->IsSameModule("Alu"));

    Design().SetDefaultVHDL(true);
    EXPECT_EQ(*upper, *lower);
    EXPECT_TRUE(upper->IsSameModule(VyIfaces::ComponentID("ALU", "Work", "other")));
    EXPECT_FALSE(upper->IsSameModule(VyIfaces::ComponentID("ALU", "lib", "")));

    // With mixed HDL the left-hand unit's kind decides.
    ASSERT_EQ(DefSetFL("IDE_MIXED_HDL_ENABLED", "1"), 0);
    const Module verilog = MakeModule("Core", nullptr, zorpaMODULE_VERILOG);
    const Module vhdl = MakeModule("CORE", nullptr, zorpaMODULE_VHDL);
    const Module schematic = MakeModule("core", nullptr, zorpaMODULE_SCHEMATIC);
    EXPECT_FALSE(*verilog == *vhdl);
    EXPECT_TRUE(*vhdl == *verilog);
    EXPECT_TRUE(*schematic == *verilog);
    EXPECT_FALSE(verilog->IsModuleKeySensitive() == vhdl->IsModuleKeySensitive());
}

TEST_F(ImodelModuleRecord, EqualityAndOrderUseNameLibraryAndFilesWhileBothHaveOne)
{
    boost::shared_ptr<IfileObjectEx> first = MakeFile("/d/a.vhd");
    const boost::shared_ptr<IfileObjectEx> second = MakeFile("/d/b.vhd");
    const Module one = MakeModule("top", first);
    const Module two = MakeModule("top", second);
    const Module none = MakeModule("top");
    const Module otherLibrary = MakeModule("top", nullptr, zorpaMODULE_VHDL, false, "LIB");
    const Module sameLibrary =
        std::make_unique<ImodelModule>("top", nullptr, zorpaMODULE_VHDL, false, "lib", "p", false);

    EXPECT_NE(*one, *two);
    EXPECT_EQ(*one, *none);
    EXPECT_NE(*none, *otherLibrary);
    EXPECT_EQ(*otherLibrary, *sameLibrary);  // library case and package do not count

    // Lower-cased names first, then a unit without file, then the files.
    const Module beta = MakeModule("Beta");
    const Module alpha = MakeModule("alpha");
    EXPECT_TRUE(*alpha < *beta);
    EXPECT_FALSE(*beta < *alpha);
    EXPECT_TRUE(*one < *two);
    EXPECT_FALSE(*two < *one);
    EXPECT_TRUE(*none < *one);
    EXPECT_FALSE(*one < *none);

    // A unit whose file is gone compares by name and library only; its
    // place in the order stays where its file put it.
    first.reset();
    EXPECT_EQ(one->GetModuleFile(), nullptr);
    EXPECT_EQ(one->GetModuleFullFileName(), "");
    EXPECT_EQ(*one, *two);
    EXPECT_TRUE(*one < *two);
}

TEST_F(ImodelModuleRecord, StructureAndHdlContentFollowTheHierarchyAndEndOnCycles)
{
    const boost::shared_ptr<IfileObjectEx> rtl = MakeFile("/d/rtl.vhd");
    rtl->SetFileStructural(false);
    const boost::shared_ptr<IfileObjectEx> drawing = MakeFile("/d/top.sch", zorpaFT_SCH);
    drawing->SetFileStructural(false);

    const Module top = MakeModule("top", MakeFile("/d/top.vhd"), zorpaMODULE_SCHEMATIC);
    const Module middle = MakeModule("middle", drawing, zorpaMODULE_SCHEMATIC);
    const Module leaf = MakeModule("leaf", nullptr, zorpaMODULE_SCHEMATIC);
    top->AddSubBlock(middle.get(), false);
    middle->AddSubBlock(leaf.get(), false);
    leaf->AddSubBlock(top.get(), false);  // the design instantiates itself

    // A schematic's file and a unit without file count as structural.
    EXPECT_TRUE(top->IsStructural());
    EXPECT_FALSE(top->HasSubBlocks());

    const Module logic = MakeModule("logic", rtl, zorpaMODULE_VERILOG);
    leaf->AddSubBlock(logic.get(), false);
    EXPECT_FALSE(top->IsStructural());
    EXPECT_FALSE(leaf->IsStructural());
    EXPECT_FALSE(logic->IsStructural());
    EXPECT_TRUE(top->HasSubBlocks());
    EXPECT_TRUE(logic->HasSubBlocks());  // an HDL unit itself
    leaf->RemoveSubBlock(logic.get(), true);
    EXPECT_TRUE(top->IsStructural());
}

TEST_F(ImodelModuleRecord, ComponentKindsComeFromTheComponentElseFromTheFile)
{
    EXPECT_EQ(MakeModule("bare")->GetComponentTypeStr(), "Unknown");
    EXPECT_EQ(MakeModule("h", MakeFile("/d/h.vhd"))->GetComponentTypeStr(), "HDL");
    EXPECT_EQ(MakeModule("s", MakeFile("/d/s.sch", zorpaFT_SCH))->GetVyModuleType(), 5);

    // An HDL file below a core-generator core file shows as that core.
    const boost::shared_ptr<IfileObjectEx> core = MakeFile("/d/core.cxf", zorpaFT_OMBRIX_CXF);
    const boost::shared_ptr<IfileObjectEx> wrapper = MakeFile("/d/wrapper.vhd");
    wrapper->AddParentFile(static_cast<const IfileObject&>(*core));
    const Module cored = MakeModule("wrapper", wrapper);
    EXPECT_EQ(cored->GetComponentTypeStr(), "Kiltora");
    EXPECT_TRUE(cored->IsModuleManagedByComponentCollection());
    TestComponent component({}, VyIfaces::IComponent::UserIP);
    cored->SetComponent(&component);
    EXPECT_EQ(cored->GetVyModuleType(), 10);
    cored->UnreferenceComponent();
    EXPECT_EQ(cored->GetComponent(), nullptr);

    std::string dump;
    for (int kind = -1; kind <= 13; ++kind)
        dump += std::to_string(kind) + " " + ImodelGetComponentTypeName(kind) + "\n";
    ExpectMatchesGolden("component_types.txt", dump);
}

TEST_F(ImodelModuleRecord, StructureIsThatOfAWalkBelowAfterEveryChange)
{
    // Random units, files and links (cycles and shared units included),
    // changed at random; after each change the answer of every unit that was
    // asked before equals a plain walk below it.
    std::mt19937 random(28);
    const auto pick = [&random](std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(random); };
    std::vector<boost::shared_ptr<IfileObjectEx>> files;
    for (int i = 0; i < 12; ++i) {
        files.push_back(MakeFile("/d/f" + std::to_string(i) + (i % 5 == 4 ? ".sch" : ".vhd"),
                                 i % 5 == 4 ? zorpaFT_SCH : zorpaFT_HDL));
        files.back()->SetFileStructural(i % 3 != 0);
    }
    std::vector<Module> units;
    for (int i = 0; i < 30; ++i) units.push_back(MakeModule("u" + std::to_string(i), i % 4 ? files[pick(12)] : nullptr));
    const auto expected = [](const ImodelModule* start) {
        std::set<const ImodelModule*> seen{start};
        std::vector<const ImodelModule*> pending{start};
        while (!pending.empty()) {
            const ImodelModule* unit = pending.back();
            pending.pop_back();
            const auto file = unit->GetModuleFile();
            if (file && file->GetFileSpecificType() != zorpaFT_SCH && !file->IsFileStructural()) return false;
            if (const ImodelLinkList* subs = unit->GetSubBlocks())
                for (const ImodelModule* sub : *subs)
                    if (seen.insert(sub).second) pending.push_back(sub);
        }
        return true;
    };
    for (int change = 0; change < 600; ++change) {
        ImodelModule* unit = units[pick(units.size())].get();
        ImodelModule* other = units[pick(units.size())].get();
        switch (pick(7)) {
        case 0:
        case 1:
            unit->AddSubBlock(other, false);
            break;
        case 2:
            unit->RemoveSubBlock(other, true);
            break;
        case 3: {
            const auto& file = files[pick(files.size())];
            file->SetFileStructural(!file->IsFileStructural());
            break;
        }
        case 4:
            unit->SetModuleFileName(files[pick(files.size())]->GetFullFileName().GetString(), nullptr, false);
            break;
        case 5:
            if (pick(2)) unit->SetNoFile(); else unit->DetachSubBlock(other);
            break;
        case 6:
            // A unit goes and a new one of its name takes its place, unlinked.
            for (Module& owned : units)
                if (owned.get() == unit) owned = MakeModule(unit->GetName());
            break;
        }
        for (int ask = 0; ask < 3; ++ask) units[pick(units.size())]->IsStructural();
        for (const Module& each : units)
            ASSERT_EQ(each->IsStructural(), expected(each.get())) << each->GetName() << " after change " << change;
    }
}
