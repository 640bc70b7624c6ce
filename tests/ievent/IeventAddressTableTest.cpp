#include "ievent/IeventAddressTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <vector>

namespace {

// Random additions, erases, lookups and emptyings over addresses of one
// array (close together, as units allocated in a row are), and over every
// address again once the table has emptied, with room made ahead now and
// then: the table answers as a plain map does.
TEST(AddressTable, AnswersAsAPlainMapThroughRandomChanges)
{
    std::vector<int> objects(600);
    std::mt19937 random(20261207);
    for (int round = 0; round < 3; ++round) {
        IeventAddressTable<int, int> table;
        std::map<const int*, int> plain;
        for (int step = 0; step < 20000; ++step) {
            const int* key = &objects[random() % (round == 0 ? 40 : objects.size())];
            // A prefetch without the lock finds a home cell exactly when
            // the table holds an array.
            const auto layout = table.GetLayout();
            const std::uintptr_t home = IeventAddressTable<int, int>::HomeCellIn(layout, key);
            ASSERT_EQ(home == 0, layout.cells == 0) << "step " << step;
            const int action = static_cast<int>(random() % 10);
            if (action < 5) {
                const auto [value, added] = table.FindOrAdd(key);
                ASSERT_EQ(added, !plain.contains(key)) << "step " << step;
                if (added) {
                    ASSERT_EQ(*value, 0);
                }
                *value = step;
                plain[key] = step;
            } else if (action < 8) {
                ASSERT_EQ(table.Erase(key), plain.erase(key) == 1) << "step " << step;
            } else if (action == 9 && random() % 40 == 0) {
                // Emptied as a table filled again and again is.
                table.ClearKeepingRoom();
                plain.clear();
            } else if (action == 9 && random() % 20 == 0) {
                // Room made ahead, for fewer keys than it holds or more.
                table.Reserve(table.Size() * (random() % 3) + random() % 300);
                ASSERT_EQ(table.Size(), plain.size());
            } else {
                const int* found = table.Find(key);
                const auto expected = plain.find(key);
                ASSERT_EQ(found != nullptr, expected != plain.end()) << "step " << step;
                if (found != nullptr) {
                    ASSERT_EQ(*found, expected->second);
                }
            }
        }
        for (const int& object : objects) {
            const int* found = table.Find(&object);
            const auto expected = plain.find(&object);
            ASSERT_EQ(found != nullptr, expected != plain.end());
            if (found != nullptr) {
                EXPECT_EQ(*found, expected->second);
            }
        }
        for (const auto& [key, value] : plain) EXPECT_TRUE(table.Erase(key));
        EXPECT_EQ(table.Find(&objects[0]), nullptr);
        EXPECT_FALSE(table.Erase(&objects[0]));
    }
}

}  // namespace
