#include <vy/ComponentID.h>

#include <gtest/gtest.h>

using VyIfaces::ComponentID;

TEST(VyComponentID, TheDefaultIdIsAnUnnamedUnitOfWorkAndIdsCompareIgnoringAsciiCase)
{
    EXPECT_TRUE(ComponentID().IsDefault());
    EXPECT_TRUE(ComponentID("", "WORK", "").IsDefault());
    EXPECT_FALSE(ComponentID("", "", "").IsDefault());  // an empty identity is not the default one
    EXPECT_EQ(ComponentID("alu", "lib", "pkg").ToString(), "alu::lib::pkg");
    EXPECT_EQ(ComponentID().ToString(), "");
    // Ids compare field by field, ignoring ASCII case only.
    EXPECT_EQ(ComponentID("Alu", "MyLib", "Pkg"), ComponentID("ALU", "mylib", "pKG"));
    EXPECT_NE(ComponentID("alu", "mylib", "pkg"), ComponentID("alu", "mylib", ""));
    EXPECT_NE(ComponentID("alu", "mylib", ""), ComponentID("alu", "work", ""));
    EXPECT_NE(ComponentID("alu", "work", ""), ComponentID("alu2", "work", ""));
    EXPECT_NE(ComponentID("\xC4", "work", ""), ComponentID("\xE4", "work", ""));
}

TEST(VyComponentID, ANamedIdReadsBackFromItsText)
{
    // Every named id, with or without a package, a package holding "::" too.
    for (const ComponentID& id :
         {ComponentID("alu", "work", ""), ComponentID("alu", "lib2", ""), ComponentID("alu", "lib2", "pkg"),
          ComponentID("alu", "lib2", "pkg::inner"), ComponentID("alu", "", "")}) {
        const ComponentID read = ComponentID::FromString(id.ToString());
        EXPECT_EQ(read.name, id.name) << id.ToString();
        EXPECT_EQ(read.library, id.library) << id.ToString();
        EXPECT_EQ(read.package, id.package) << id.ToString();
    }
    // A bare name is a unit of work.
    EXPECT_EQ(ComponentID::FromString("alu").library, "work");
    EXPECT_TRUE(ComponentID::FromString("").IsDefault());
}
