#include "ModuleTreeTestSupport.h"

#include "imodel/design/ImodelRoot.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"

#include <gtest/gtest.h>

namespace {

class ImodelRootTest : public DesignFixture {
protected:
    void TearDown() override
    {
        ImodelModule::CannotBeSetAsRootList().clear();
        DesignFixture::TearDown();
    }
};

}  // namespace

TEST_F(ImodelRootTest, AWholeLevelIsTriedBeforeTheSubTreesOneAfterTheOther)
{
    Hierarchy units;
    for (const char* package : {"p1", "p2", "p3"}) units.Unit(package, zorpaMODULE_VHDL, true);
    units.Link("p1", "p3").Link("p3", "deep").Link("p2", "shallow");

    // p1's sub-tree is searched whole before p2's, however deep it goes.
    const std::deque<ImodelModule*> packages = units.List({"p1", "p2"});
    EXPECT_EQ(ImodelGetFirstValidRoot(&packages), units.Unit("deep"));
    // Within it, p1's level [p3, mid] comes before the level below p3.
    units.Link("p1", "mid");
    EXPECT_EQ(ImodelGetFirstValidRoot(&packages), units.Unit("mid"));
    const std::deque<ImodelModule*> mixed = units.List({"p1", "shallow", "p2"});
    EXPECT_EQ(ImodelGetFirstValidRoot(&mixed), units.Unit("shallow"));
    const std::deque<ImodelModule*> withNull = {nullptr, units.Unit("p2")};
    EXPECT_EQ(ImodelGetFirstValidRoot(&withNull), units.Unit("shallow"));

    const std::deque<ImodelModule*> empty;
    EXPECT_EQ(ImodelGetFirstValidRoot(&empty), nullptr);
    EXPECT_EQ(ImodelGetFirstValidRoot(static_cast<const std::deque<ImodelModule*>*>(nullptr)), nullptr);
}

TEST_F(ImodelRootTest, TheSearchEndsOnACyclicHierarchyOfPackages)
{
    Hierarchy units;
    for (const char* package : {"a", "b", "c"}) units.Unit(package, zorpaMODULE_VHDL, true);
    units.Link("a", "b").Link("b", "a").Link("b", "b");
    const std::deque<ImodelModule*> top = units.List({"a"});
    EXPECT_EQ(ImodelGetFirstValidRoot(&top), nullptr);

    units.Link("b", "c").Link("c", "a").Link("c", "unit");
    EXPECT_EQ(ImodelGetFirstValidRoot(&top), units.Unit("unit"));
}
