// The flat index of the view list: random inserts, lookups and erasures
// against a plain multimap, with keys crowded into a few values so that
// probes run long and erasures move entries back.
#include "src/imodel/views/imodelSlotTable.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

TEST(SlotTable, AnswersAsAPlainMultimapThroughRandomChanges)
{
    std::mt19937 random(2028);
    for (const std::uint32_t keys : {5u, 60u, 100000u}) {
        imodelSlotTable table;
        std::multimap<std::uint32_t, std::size_t> plain;
        std::set<std::size_t> used;
        std::size_t nextSlot = 0;
        const auto anyKey = [&] { return std::uniform_int_distribution<std::uint32_t>(0, keys - 1)(random); };
        for (int step = 0; step < 2000; ++step) {
            const int what = std::uniform_int_distribution<int>(0, 9)(random);
            if (what < 5 || plain.empty()) {
                const std::uint32_t key = anyKey();
                table.Insert(key, nextSlot);
                plain.emplace(key, nextSlot);
                used.insert(nextSlot++);
            } else if (what < 8) {
                auto victim = plain.begin();
                std::advance(victim, std::uniform_int_distribution<std::size_t>(0, plain.size() - 1)(random));
                ASSERT_TRUE(table.Erase(victim->first, victim->second));
                used.erase(victim->second);
                plain.erase(victim);
            } else {
                // An entry that is not there is not erased.
                EXPECT_FALSE(table.Erase(anyKey(), nextSlot + 7));
            }
            ASSERT_EQ(table.Size(), plain.size());
            // Every key finds each of its slots, and only those.
            for (int probe = 0; probe < 2; ++probe) {
                const std::uint32_t key = anyKey();
                const auto [first, last] = plain.equal_range(key);
                std::set<std::size_t> expected;
                for (auto entry = first; entry != last; ++entry) expected.insert(entry->second);
                // A few of them: the crowded keys have hundreds.
                std::size_t asked = 0;
                for (auto slot = expected.rbegin(); slot != expected.rend() && asked < 3; ++slot, ++asked)
                    EXPECT_EQ(table.Find(key, [wanted = *slot](std::size_t found) { return found == wanted; }), *slot);
                const std::size_t any = table.Find(key, [](std::size_t) { return true; });
                if (expected.empty()) {
                    EXPECT_EQ(any, imodelSlotTable::npos);
                } else {
                    EXPECT_TRUE(expected.count(any)) << "key " << key;
                }
                EXPECT_EQ(table.Find(key, [&used](std::size_t found) { return !used.count(found); }),
                          imodelSlotTable::npos);
            }
        }
        table.Clear();
        EXPECT_EQ(table.Size(), 0u);
        EXPECT_EQ(table.Find(0, [](std::size_t) { return true; }), imodelSlotTable::npos);
    }
}
