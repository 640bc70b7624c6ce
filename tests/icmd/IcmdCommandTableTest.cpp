// The command table: its invariants and golden dump.
#include "Golden.h"

#include "src/icmd/IcmdCommandTable.h"

#include <gtest/gtest.h>

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
