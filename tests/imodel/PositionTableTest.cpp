// The one table of positions by key answers as a plain multimap through
// random inserts, erasures and emptying, under cell layouts of every kind
// its indexes use: 64-bit keys with positions held as they are, 32-bit keys
// with positions held plus one, and a table filled nine cells in ten so
// that runs are long and wrap past the array's end.
#include "imodel/names/ImodelPositionTable.h"

#include "imodel/names/ImodelHashPositions.h"
#include "src/imodel/views/imodelSlotTable.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <map>
#include <random>
#include <set>

namespace {

// The hash positions' cells, erasing too.
struct WideCells : ImodelHashPositionCells {
    static constexpr bool kErases = true;
};

// The view slots' cells, filled nine cells in ten from a smaller start.
struct CrowdedCells : imodelSlotCells {
    static constexpr std::size_t kFirstCells = 8;
    static constexpr std::size_t kMostTaken = 9;
    static constexpr std::size_t kOfCells = 10;
};

template <class Cells>
class PositionTable : public testing::Test {
};

using Layouts = testing::Types<WideCells, imodelSlotCells, CrowdedCells>;
TYPED_TEST_SUITE(PositionTable, Layouts);

using Plain = std::multimap<std::uint64_t, std::size_t>;

// Every lookup of `key` answers as the plain map does.
template <class Table>
void ExpectSameAnswers(const Table& table, const Plain& plain, typename Table::Key key, std::mt19937& random)
{
    const auto [first, last] = plain.equal_range(key);
    std::set<std::size_t> held;
    for (auto entry = first; entry != last; ++entry) held.insert(entry->second);
    // A test that takes a random half of the positions.
    std::set<std::size_t> taken;
    for (const std::size_t position : held)
        if (random() % 2) taken.insert(position);
    const auto takes = [&taken](std::size_t position) { return taken.count(position) != 0; };
    const std::size_t lowest = taken.empty() ? Table::npos : *taken.begin();
    const std::size_t highest = taken.empty() ? Table::npos : *taken.rbegin();
    ASSERT_EQ(table.FindLowest(key, takes), lowest) << "key " << key;
    ASSERT_EQ(table.FindHighest(key, takes), highest) << "key " << key;
    const std::size_t any = table.Find(key, takes);
    if (taken.empty())
        ASSERT_EQ(any, Table::npos);
    else
        ASSERT_TRUE(taken.count(any)) << "key " << key;
    // The test sees every position of the key, and only those.
    std::set<std::size_t> seen;
    table.FindLowest(key, [&seen](std::size_t position) {
        seen.insert(position);
        return false;
    });
    ASSERT_EQ(seen, held) << "key " << key;
}

}  // namespace

TYPED_TEST(PositionTable, AnswersAsAPlainMultimapThroughRandomChanges)
{
    using Table = ImodelPositionTable<TypeParam>;
    std::mt19937 random(4711);
    Table table;
    // Keys crowded into a few values (long runs of one key), spread thin,
    // and near the top of the key's range.
    for (const std::uint64_t spread : {3u, 50u, 5000u, 1000000u}) {
        Plain plain;
        std::size_t next = 0;
        const auto anyKey = [&]() -> typename Table::Key {
            const std::uint64_t drawn = random() % spread;
            return static_cast<typename Table::Key>(random() % 7 == 0 ? ~drawn : drawn);
        };
        for (int step = 0; step < 3000; ++step) {
            const unsigned what = random() % 10;
            if (what < 6 || plain.empty()) {
                const auto key = anyKey();
                // Positions need not come in order.
                const std::size_t position = random() % 4 == 0 ? next + 1000 + random() % 1000 : next++;
                table.Insert(key, position);
                plain.emplace(key, position);
            } else if (what < 9) {
                auto victim = plain.begin();
                std::advance(victim, random() % plain.size());
                ASSERT_TRUE(table.Erase(static_cast<typename Table::Key>(victim->first), victim->second));
                plain.erase(victim);
            } else {
                // An entry that is not there stays not there.
                ASSERT_FALSE(table.Erase(anyKey(), next + 5000));
            }
            ASSERT_EQ(table.Size(), plain.size());
            ASSERT_LE(table.Size() * TypeParam::kOfCells, table.Cells() * TypeParam::kMostTaken);
            ExpectSameAnswers(table, plain, anyKey(), random);
        }
        // After the changes, every key held answers in full.
        for (auto entry = plain.begin(); entry != plain.end(); entry = plain.upper_bound(entry->first))
            ExpectSameAnswers(table, plain, static_cast<typename Table::Key>(entry->first), random);
        if (spread % 2) {
            table.Clear();
            EXPECT_EQ(table.Cells(), 0u);
        } else {
            table.ClearKeepingRoom();
        }
        ASSERT_EQ(table.Size(), 0u);
        for (auto entry = plain.begin(); entry != plain.end(); ++entry)
            ASSERT_EQ(table.Find(static_cast<typename Table::Key>(entry->first), [](std::size_t) { return true; }),
                      Table::npos);
        EXPECT_FALSE(table.Erase(anyKey(), 0));
    }
}

TYPED_TEST(PositionTable, ErasingAroundTheArraysEndKeepsEveryRunWhole)
{
    // Keys whose probes start in the last cells: their runs wrap to the
    // front, where entries of front homes stand behind them. Erasing any
    // one must leave every other findable, whichever side it stood on.
    using Table = ImodelPositionTable<TypeParam>;
    Table table;
    table.Reserve(200);
    const std::size_t cells = table.Cells();
    std::vector<typename Table::Key> lastHomes;
    std::vector<typename Table::Key> frontHomes;
    for (std::uint64_t key = 1; lastHomes.size() < 40 || frontHomes.size() < 40; ++key) {
        const std::size_t home = table.Home(static_cast<typename Table::Key>(key));
        if (home >= cells - 3 && lastHomes.size() < 40) lastHomes.push_back(static_cast<typename Table::Key>(key));
        if (home <= 2 && frontHomes.size() < 40) frontHomes.push_back(static_cast<typename Table::Key>(key));
    }
    std::mt19937 random(99);
    for (int round = 0; round < 40; ++round) {
        Plain plain;
        std::size_t position = 0;
        for (std::size_t i = 0; i < 40; ++i) {
            for (const auto key : {lastHomes[i], frontHomes[i]}) {
                if (random() % 3 == 0) continue;
                table.Insert(key, position);
                plain.emplace(key, position++);
            }
        }
        ASSERT_EQ(table.Cells(), cells);
        while (!plain.empty()) {
            auto victim = plain.begin();
            std::advance(victim, random() % plain.size());
            ASSERT_TRUE(table.Erase(static_cast<typename Table::Key>(victim->first), victim->second));
            plain.erase(victim);
            for (std::size_t i = 0; i < 40; ++i) {
                ExpectSameAnswers(table, plain, lastHomes[i], random);
                ExpectSameAnswers(table, plain, frontHomes[i], random);
            }
        }
        ASSERT_EQ(table.Size(), 0u);
    }
}

TEST(PositionTableGrowth, DoublesFromTheFirstSizeWhenTheShareTakenWouldBePassed)
{
    // Seven cells in ten: the sixteen of the first array take eleven
    // entries, the twelfth doubles it.
    ImodelPositionTable<ImodelHashPositionCells> table;
    EXPECT_EQ(table.Cells(), 0u);
    for (std::size_t position = 0; position < 11; ++position) table.Insert(position, position);
    EXPECT_EQ(table.Cells(), 16u);
    table.Insert(11, 11);
    EXPECT_EQ(table.Cells(), 32u);
    // Room made ahead is the least power of two that holds it.
    ImodelPositionTable<imodelSlotCells> half;
    half.Reserve(0);
    EXPECT_EQ(half.Cells(), 16u);
    half.Reserve(1000);
    EXPECT_EQ(half.Cells(), 2048u);
    half.Reserve(10);
    EXPECT_EQ(half.Cells(), 2048u);
    for (std::size_t position = 0; position < 1000; ++position)
        half.Insert(static_cast<std::uint32_t>(position), position);
    EXPECT_EQ(half.Cells(), 2048u);
    // Emptied keeping its room: an array far larger than what it held goes.
    half.ClearKeepingRoom();
    EXPECT_EQ(half.Cells(), 2048u);
    half.Insert(1, 1);
    half.ClearKeepingRoom();
    EXPECT_EQ(half.Cells(), 0u);
}
