#include "ReparseTestSupport.h"

#include "imodel/design/ImodelDestroyLib.h"
#include "imodel/design/ImodelDuplicateLibs.h"
#include "imodel/design/ImodelRemoveModules.h"

#include <gtest/gtest.h>

namespace {

using Libraries = ImodelDesignManager::Libraries;

class DuplicateLibsTest : public ReparseFixture {
protected:
    void TearDown() override
    {
        ImodelDestroyLibs(copies);
        ReparseFixture::TearDown();
    }
    static ImodelModule* CopyOf(const Libraries& libraries, std::size_t index, const std::string& name)
    {
        return ImodelFindModuleInLib(libraries.at(index), name, zorpaMODULE_UNKNOWN, "");
    }

    Libraries copies;
};

}  // namespace

TEST_F(DuplicateLibsTest, CopiesShareNothingWithTheDesign)
{
    const Entry fileA = ProjectFile("a.vhd");
    ImodelModule* a = Unit("A", fileA);
    ImodelModule* b = Unit("B", ProjectFile("b.vhd"));
    a->AddSubBlock(b, false);
    a->SetExpand(2);
    const ImodelDesignManager::LibraryPtr lib2 = Design().AddLibrary("lib2", false);
    lib2->SetLocation("/libs/lib2");
    lib2->SetNumber(7);
    ImodelDuplicateLibs(copies);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[1]->GetLocation(), "/libs/lib2");
    EXPECT_EQ(copies[1]->GetNumber(), 7);
    EXPECT_NE(copies[0]->GetModules(), Design().FindLibraryByName("work")->GetModules());
    ImodelModule* copyA = CopyOf(copies, 0, "A");
    ASSERT_NE(copyA, nullptr);
    EXPECT_NE(copyA, a);
    EXPECT_EQ(copyA->GetModuleFile(), fileA);
    EXPECT_EQ(copyA->GetSubBlocks(), nullptr);
    // Changing or deleting the design's unit leaves the copy as it was.
    a->SetExpand(9);
    ImodelRemoveModulesOfFile(fileA, nullptr, true, false, false, nullptr, nullptr);
    EXPECT_EQ(CopyOf(copies, 0, "A"), copyA);
    EXPECT_EQ(copyA->GetExpand(), 2);
}
