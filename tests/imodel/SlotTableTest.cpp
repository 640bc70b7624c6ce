// The flat index of the view list: random inserts, lookups and erasures
// against a plain multimap, with keys crowded into a few values so that
// probes run long and erasures move entries back.
#include "src/imodel/views/imodelSlotTable.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(SlotTable, AListIndexedAtOnceAnswersAsOneFilledEntryByEntry)
{
    // Lists of a few and of many entries (each sorted its own way on the
    // way in, the many in passes that split the home's bits evenly or not),
    // with keys crowded so that homes repeat.
    std::mt19937 random(2029);
    for (const std::size_t count : {0u, 1u, 7u, 4096u, 4097u, 9000u, 30000u}) {
        std::vector<std::uint32_t> keys(count);
        for (std::uint32_t& key : keys) key = static_cast<std::uint32_t>(random() % (count / 3 + 1));
        imodelSlotTable filled;
        ASSERT_TRUE(filled.Fill(keys, [](std::size_t, std::size_t) { return false; })) << count;
        ASSERT_EQ(filled.Size(), count);
        std::multimap<std::uint32_t, std::size_t> plain;
        for (std::size_t slot = 0; slot < count; ++slot) plain.emplace(keys[slot], slot);
        for (std::uint32_t key = 0; key < count / 3 + 2; ++key) {
            const auto [first, last] = plain.equal_range(key);
            std::set<std::size_t> expected;
            for (auto entry = first; entry != last; ++entry) expected.insert(entry->second);
            std::set<std::size_t> found;
            filled.Find(key, [&found](std::size_t slot) {
                found.insert(slot);
                return false;
            });
            ASSERT_EQ(found, expected) << "key " << key << " of " << count;
        }
        // Two slots of one key that hold the same thing: nothing is indexed.
        if (count > 1) {
            keys.back() = keys.front();
            EXPECT_FALSE(filled.Fill(keys, [count](std::size_t a, std::size_t b) {
                return std::min(a, b) == 0 && std::max(a, b) == count - 1;
            }));
            EXPECT_EQ(filled.Size(), 0u);
        }
    }
}
