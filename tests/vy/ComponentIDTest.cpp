#include <vy/ComponentID.h>

#include <gtest/gtest.h>

using VyIfaces::ComponentID;

TEST(VyComponentID, TheDefaultIdIsAnUnnamedUnitOfWork)
{
    const ComponentID id;
    EXPECT_EQ(id.name, "");
    EXPECT_EQ(id.library, "work");
    EXPECT_EQ(id.package, "");
    EXPECT_TRUE(id.IsDefault());
    EXPECT_TRUE(ComponentID("", "WORK", "").IsDefault());
    // An empty identity is not the default one.
    EXPECT_FALSE(ComponentID("", "", "").IsDefault());
}

TEST(VyComponentID, IdsCompareFieldByFieldIgnoringCase)
{
    EXPECT_EQ(ComponentID("Alu", "MyLib", "Pkg"), ComponentID("ALU", "mylib", "pKG"));
    EXPECT_NE(ComponentID("alu", "mylib", "pkg"), ComponentID("alu", "mylib", ""));
    EXPECT_NE(ComponentID("alu", "mylib", ""), ComponentID("alu", "work", ""));
    EXPECT_NE(ComponentID("alu", "work", ""), ComponentID("alu2", "work", ""));
    // ASCII only: bytes outside it compare as they are.
    EXPECT_NE(ComponentID("\xC4", "work", ""), ComponentID("\xE4", "work", ""));
}

TEST(VyComponentID, TheTextNamesTheLibraryAfterANameAndThePackageWhenThereIsOne)
{
    EXPECT_EQ(ComponentID("alu", "work", "").ToString(), "alu::work");
    EXPECT_EQ(ComponentID("alu", "lib", "pkg").ToString(), "alu::lib::pkg");
    EXPECT_EQ(ComponentID().ToString(), "");
    EXPECT_EQ(ComponentID("", "lib", "pkg").ToString(), "::pkg");
}
