// The command table: its invariants and golden dump, and the model's
// registration of its commands through the command layer.
#include "Golden.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelCommandServices.h"
#include "src/icmd/IcmdCommandTable.h"

#include <foundation/AcmdManager.h>

#include <gtest/gtest.h>
#include <tcl.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

Names TableNames(bool withLinking)
{
    Names names;
    for (const IcmdCommandRow& row : IcmdGetCommandTable())
        if (withLinking || !row.linkingOnly) names.push_back(row.name);
    return names;
}

}  // namespace

TEST(IcmdCommandTable, TheTableNamesEachCommandOnceWithItsTestCommandRightAfterIt)
{
    std::set<std::string> seen;
    std::string dump;
    const Names names = TableNames(true);
    for (const IcmdCommandRow& row : IcmdGetCommandTable()) {
        EXPECT_TRUE(seen.insert(row.name).second) << row.name;
        dump += std::string(row.name) + (row.linkingOnly ? " linking-only" : "") + "\n";
        const std::string test = "test_" + std::string(row.name);
        const auto at = std::find(names.begin(), names.end(), test);
        if (at != names.end()) {
            EXPECT_EQ(*(at - 1), row.name);
        }
    }
    EXPECT_EQ(names.size(), 41u);
    ExpectMatchesGolden("commands.txt", dump);
}

TEST(IcmdCommandTable, TheModelRegistersEveryBuiltRowInTableOrderThroughTheServicesTheLayerInstalled)
{
    // The command layer put its services in place as the library was loaded.
    ASSERT_NE(ImodelCommandServices::Get(), nullptr);
    AcmdManager& manager = AcmdManager::GetInstance();
    manager.Reset();
    Imodel& model = Imodel::GetInstance();
    model.RegisterCommands();
    Names built;
    for (const IcmdCommandRow& row : IcmdGetCommandTable())
        if (row.factory && (!row.linkingOnly || model.IsLinkingEnabled())) built.push_back(row.name);
    EXPECT_FALSE(built.empty());
    EXPECT_EQ(manager.GetCommandNames(), built);
    // Each prototype is the command of its row, and its copies are too.
    for (const std::string& name : built) {
        const AcmdBase* prototype = manager.FindPrototype(name);
        ASSERT_NE(prototype, nullptr) << name;
        EXPECT_EQ(prototype->Clone()->GetName(), name);
    }
    manager.Reset();
}

TEST(IcmdCommandTable, AShellListsEveryCommandTheModelRegistersAndOnlyTheLinkAndLibraryRowsWaitForTheirWork)
{
    AcmdManager& manager = AcmdManager::GetInstance();
    manager.Reset();
    Tcl_Interp* interp = Tcl_CreateInterp();
    manager.AttachInterp(interp);
    Imodel::GetInstance().RegisterCommands();
    Names listed;
    for (const std::string& name : manager.GetCommandNames()) {
        ASSERT_EQ(Tcl_Eval(interp, ("info commands " + name).c_str()), TCL_OK);
        if (std::string(Tcl_GetStringResult(interp)) == name) listed.push_back(name);
    }
    EXPECT_FALSE(listed.empty());
    EXPECT_EQ(listed, manager.GetCommandNames());
    // Every other command of the table is built and registered.
    const Names waiting = {"add_library",  "add_file_to_library", "remove_library", "rename_library",
                           "create_links", "change_link_source",  "export_as_link", "unlink"};
    for (const IcmdCommandRow& row : IcmdGetCommandTable())
        if (!row.factory) { EXPECT_NE(std::find(waiting.begin(), waiting.end(), row.name), waiting.end()) << row.name; }
    Tcl_DeleteInterp(interp);
    manager.Reset();
}
