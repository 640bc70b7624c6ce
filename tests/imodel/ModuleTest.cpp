#include "Golden.h"
#include "ModuleTestSupport.h"

#include "imodel/design/ImodelModuleTypes.h"

#include <gtest/gtest.h>

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
