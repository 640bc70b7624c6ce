// Renaming a library onto one that holds units of the same names: no unit is
// lost, a placeholder gives way to the defined unit and its users follow,
// and two definitions of one name both stay, the user told.
#include "ModuleTreeTestSupport.h"

#include "MessageRecorder.h"

#include "imodel/design/ImodelFindModule.h"

namespace {

using Units = std::vector<ImodelModule*>;

class RenameLibraryTest : public DesignFixture {
protected:
    static Units SubBlocks(const ImodelModule* unit)
    {
        return unit->GetSubBlocks() ? Units(unit->GetSubBlocks()->begin(), unit->GetSubBlocks()->end()) : Units();
    }
    static Units UnitsOf(const std::string& library)
    {
        const ImodelDesignManager::LibraryPtr found = Design().FindLibraryByName(library);
        return found ? Units(found->GetModules()->begin(), found->GetModules()->end()) : Units();
    }
    static std::vector<std::string> TopNames(const std::string& library)
    {
        std::vector<std::string> names;
        for (const ImodelModule* unit : *Design().GetTopModules(Design().FindLibraryByName(library)))
            names.push_back(unit->GetName());
        return names;
    }
};

}  // namespace

TEST_F(RenameLibraryTest, APlaceholderGivesWayToTheMovedDefinitionAndItsUsersFollow)
{
    ImodelModule* x = AddUnit("old", "X", File("/p/x.vhd", "old"));
    ImodelModule* placeholder = AddUnit("new", "X", nullptr, zorpaMODULE_UNKNOWN);
    ImodelModule* user = AddUnit("work", "U", File("/p/u.vhd"));
    ImodelModule* other = AddUnit("work", "W", File("/p/w.vhd"));
    user->AddSubBlock(x, false);
    other->AddSubBlock(placeholder, false);
    other->AddSubBlock(placeholder, false);
    Design().UpdateTopModules(Design().FindLibraryByName("old"));

    Design().RenameLibrary("old", "new");

    EXPECT_EQ(Design().FindLibraryByName("old"), nullptr);
    EXPECT_EQ(UnitsOf("new"), Units{x});
    EXPECT_EQ(x->GetDefinedInLibrary(), "new");
    EXPECT_EQ(SubBlocks(user), Units{x});
    EXPECT_EQ(SubBlocks(other), (Units{x, x}));
    EXPECT_EQ(Units(x->GetParentsList()->begin(), x->GetParentsList()->end()), (Units{user, other}));
    EXPECT_EQ(TopNames("new"), std::vector<std::string>{"X"});
}

TEST_F(RenameLibraryTest, TwoDefinitionsOfOneNameBothStayAndTheUserIsTold)
{
    MessageRecorder messages;
    ImodelModule* first = AddUnit("old", "Z", File("/p/z1.vhd", "old"));
    ImodelModule* second = AddUnit("new", "Z", File("/p/z2.vhd", "new"));
    AddUnit("old", "A", File("/p/a.vhd", "old"));
    ImodelModule* user = AddUnit("work", "U", File("/p/u.vhd"));
    user->AddSubBlock(first, false);

    Design().RenameLibrary("old", "new");

    const Units units = UnitsOf("new");
    EXPECT_EQ(units.size(), 3u);
    EXPECT_NE(std::find(units.begin(), units.end(), first), units.end());
    EXPECT_NE(std::find(units.begin(), units.end(), second), units.end());
    EXPECT_EQ(SubBlocks(user), Units{first});
    const std::vector<MdbMessage> told = messages.WithId("DUPLICATE_MODULE");
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told.front().text.find("The Z module is defined in multiple files"), std::string::npos);
}
