// The command table: its invariants and golden dump, and how its rows reach
// the command manager.
#include "Golden.h"
#include "OptionsScope.h"

#include "imodel/model/Imodel.h"
#include "src/imodel/model/imodelCommandTable.h"

#include <foundation/AcmdManager.h>
#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

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

Names TableNames(bool withLinking)
{
    Names names;
    for (const imodelCommandRow& row : imodelGetCommandTable())
        if (withLinking || !row.linkingOnly) names.push_back(row.name);
    return names;
}

class ImodelRegistration : public OptionsFixture {
protected:
    void SetUp() override { AcmdManager::GetInstance().Reset(); }
    void TearDown() override { AcmdManager::GetInstance().Reset(); }
    static Names Registered() { return AcmdManager::GetInstance().GetCommandNames(); }
};

}  // namespace

TEST_F(ImodelRegistration, TheTableNamesEachCommandOnceWithItsTestCommandRightAfterIt)
{
    std::set<std::string> seen;
    std::string dump;
    const Names names = TableNames(true);
    for (const imodelCommandRow& row : imodelGetCommandTable()) {
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

TEST_F(ImodelRegistration, RowsWithACommandOfTheirNameAreRegisteredInOrderOnceAndLinksOnlyWithLinking)
{
    std::vector<imodelCommandRow> rows = TableWithFactories();
    Imodel& model = Imodel::GetInstance();
    EXPECT_EQ(imodelRegisterCommandRows(rows, model, false), 37);
    EXPECT_EQ(Registered(), TableNames(false));

    AcmdManager::GetInstance().Reset();
    EXPECT_EQ(imodelRegisterCommandRows(rows, model, true), 41);
    EXPECT_EQ(imodelRegisterCommandRows(rows, model, true), 0);  // nothing new the second time
    EXPECT_EQ(Registered(), TableNames(true));

    // Rows without a command, or whose command has another name, are left out.
    AcmdManager::GetInstance().Reset();
    rows[0].factory = nullptr;                                                          // not built yet
    rows[1].factory = [](Imodel&) { return std::make_unique<NamedCommand>("other"); };  // wrong table
    rows[2].factory = [](Imodel&) { return std::unique_ptr<AcmdBase>(); };              // nothing made
    const int assertions = SysAssertionCount();
    EXPECT_EQ(imodelRegisterCommandRows(rows, model, true), 38);
    const Names all = TableNames(true);
    EXPECT_EQ(Registered(), Names(all.begin() + 3, all.end()));
    EXPECT_EQ(SysAssertionCount(), assertions + 1);
}
