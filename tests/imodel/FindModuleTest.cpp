#include "ModuleTreeTestSupport.h"

#include "imodel/design/ImodelFindModule.h"

#include <zorpa/ZorpaFind.h>

#include <gtest/gtest.h>

namespace {

class ImodelFindModuleTest : public DesignFixture {
protected:
    ImodelDesignManager::LibraryPtr Library(const std::string& name) { return Design().AddLibrary(name, false); }
};

}  // namespace

TEST_F(ImodelFindModuleTest, AUseClauseFindsItsPackageInTheFilesLibraryBeforeWork)
{
    ImodelModule* workTypes = AddUnit("work", "types", File("/p/wt.vhd"), zorpaMODULE_VHDL, true);
    ImodelModule* myTypes = AddUnit("mylib", "Types", File("/p/mt.vhd", "mylib"), zorpaMODULE_VHDL, true);
    ImodelModule* consts = AddUnit("other", "consts", File("/p/c.vhd", "other"), zorpaMODULE_VHDL, true);
    AddUnit("other", "types", File("/p/ot.vhd", "other"));  // not a package
    for (const char* library : {"work", "mylib", "other"}) Design().UpdateTopModules(Library(library));
    const auto user = File("/p/user.vhd", "MyLib");
    const auto find = [&](std::string use, std::deque<std::string>& visited, const char* library = nullptr) {
        ImodelModule* found = ImodelFindUsedPackage(user, use, visited);
        if (library) {
            EXPECT_EQ(use, library);
        }
        return found;
    };
    // "work" is the file's own library first: mylib, then work itself; a key
    // searched once is not searched again.
    std::deque<std::string> visited;
    EXPECT_EQ(find("WORK.Types.ALL", visited, "work"), myTypes);
    EXPECT_EQ(find("work.types.all", visited), workTypes);
    EXPECT_EQ(find("work.types.all", visited), nullptr);
    EXPECT_EQ(visited, (std::deque<std::string>{"mylib.types", "work.types"}));
    // Another library part: that library only; two parts name no package.
    visited.clear();
    EXPECT_EQ(find("Other.Consts.all", visited, "other"), consts);
    EXPECT_EQ(find("other.types.all", visited), nullptr);
    EXPECT_EQ(find("MyLib.types", visited, "mylib"), nullptr);
    EXPECT_EQ(find("types", visited, "types"), nullptr);
    EXPECT_EQ(ImodelFindPackageInLib(nullptr, "mylib", "types"), myTypes);
    EXPECT_EQ(ImodelFindPackageInLib(nullptr, "missing", "types"), nullptr);
}
