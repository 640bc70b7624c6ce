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
