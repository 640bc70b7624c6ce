#include "imodel/model/Imodel.h"
#include "src/imodel/model/imodelCommandTable.h"

#include <foundation/AcmdManager.h>
#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

const Names kLinkCommands = {"create_links", "change_link_source", "export_as_link", "unlink"};

const Names kAllCommands = {"import_files",
                            "delete_files",
                            "new_project",
                            "close_project",
                            "save_project",
                            "open_project",
                            "save_project_as",
                            "set_root",
                            "use_source_file",
                            "use_file",
                            "add_library",
                            "add_file_to_library",
                            "remove_library",
                            "rename_library",
                            "refresh",
                            "open_veyrun",
                            "organize_cdbs",
                            "associate_stimulus",
                            "test_associate_stimulus",
                            "organize_constraints",
                            "test_organize_constraints",
                            "organize_sources",
                            "test_organize_sources",
                            "project_settings",
                            "create_links",
                            "change_link_source",
                            "export_as_link",
                            "unlink",
                            "set_modelsim_options",
                            "set_brennic_lib_options",
                            "set_user_lib_options",
                            "create_design",
                            "create_core",
                            "configure_user_core",
                            "dump_all_modules",
                            "dump_components",
                            "dump_catalog",
                            "new_file",
                            "edit_constraints",
                            "is_file_readonly",
                            "get_current_tool_version"};

// A command that only knows its name, to prove the registration path.
class NamedCommand : public AcmdBase {
public:
    explicit NamedCommand(std::string name) : m_name(std::move(name)) {}
    std::string GetName() const override { return m_name; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<NamedCommand>(m_name); }
    AcmdEnum::Result execDo() override { return AcmdEnum::Success; }

private:
    std::string m_name;
};

// The table with every row given a factory of a command of that name.
std::vector<imodelCommandRow> TableWithFactories()
{
    std::vector<imodelCommandRow> rows = imodelGetCommandTable();
    for (imodelCommandRow& row : rows) {
        const std::string name = row.name;
        row.factory = [name](Imodel&) { return std::make_unique<NamedCommand>(name); };
    }
    return rows;
}

Names Without(Names names, const Names& removed)
{
    std::erase_if(names, [&](const std::string& name) {
        return std::find(removed.begin(), removed.end(), name) != removed.end();
    });
    return names;
}

class ImodelRegistration : public ::testing::Test {
protected:
    void SetUp() override
    {
        DefReset();
        AcmdManager::GetInstance().Reset();
    }
    void TearDown() override
    {
        AcmdManager::GetInstance().Reset();
        DefReset();
    }
    static Names Registered() { return AcmdManager::GetInstance().GetCommandNames(); }
};

}  // namespace

TEST_F(ImodelRegistration, TableHoldsTheCommandsInTheirFixedOrder)
{
    Names names;
    Names linkOnly;
    for (const imodelCommandRow& row : imodelGetCommandTable()) {
        names.push_back(row.name);
        if (row.linkingOnly) linkOnly.push_back(row.name);
    }
    EXPECT_EQ(names, kAllCommands);
    EXPECT_EQ(linkOnly, kLinkCommands);
    for (const char* organize : {"associate_stimulus", "organize_constraints", "organize_sources"}) {
        const auto at = std::find(names.begin(), names.end(), organize);
        ASSERT_NE(at, names.end());
        ASSERT_NE(at + 1, names.end());
        EXPECT_EQ(*(at + 1), "test_" + std::string(organize));
    }
}

TEST_F(ImodelRegistration, RowsAreRegisteredInOrderOnceAndLinksOnlyWithLinking)
{
    const std::vector<imodelCommandRow> rows = TableWithFactories();
    Imodel& model = Imodel::GetInstance();

    EXPECT_EQ(imodelRegisterCommandRows(rows, model, false), 37);
    EXPECT_EQ(Registered(), Without(kAllCommands, kLinkCommands));

    AcmdManager::GetInstance().Reset();
    EXPECT_EQ(imodelRegisterCommandRows(rows, model, true), 41);
    EXPECT_EQ(Registered(), kAllCommands);
    // A second registration registers nothing new.
    EXPECT_EQ(imodelRegisterCommandRows(rows, model, true), 0);
    EXPECT_EQ(Registered(), kAllCommands);
}

TEST_F(ImodelRegistration, RowsWithoutACommandOrWithAnotherNameAreLeftOut)
{
    std::vector<imodelCommandRow> rows = TableWithFactories();
    rows[0].factory = nullptr;                                                          // not built yet
    rows[1].factory = [](Imodel&) { return std::make_unique<NamedCommand>("other"); };  // wrong table
    rows[2].factory = [](Imodel&) { return std::unique_ptr<AcmdBase>(); };              // nothing made
    const int assertions = SysAssertionCount();
    EXPECT_EQ(imodelRegisterCommandRows(rows, Imodel::GetInstance(), true), 38);
    EXPECT_EQ(Registered(), Names(kAllCommands.begin() + 3, kAllCommands.end()));
    EXPECT_EQ(SysAssertionCount(), assertions + 1);
}

TEST_F(ImodelRegistration, ModelRegistersOnlyBuiltCommandsAndOnlyOnce)
{
    DefSetFL("IDE_LINKING_ENABLED", "0");
    Imodel& model = Imodel::GetInstance();
    model.ReloadBoolSettings();
    model.RegisterCommands();
    const Names first = Registered();
    model.RegisterCommands();
    EXPECT_EQ(Registered(), first);

    // What is registered follows the table's order, without the link commands.
    const Names expected = Without(kAllCommands, kLinkCommands);
    auto next = expected.begin();
    for (const std::string& name : first) {
        next = std::find(next, expected.end(), name);
        EXPECT_NE(next, expected.end()) << name;
    }

    // The process-wide switch back as other tests expect it.
    DefSetFL("IDE_LINKING_ENABLED", "1");
    model.ReloadBoolSettings();
    EXPECT_TRUE(model.IsLinkingEnabled());
}
