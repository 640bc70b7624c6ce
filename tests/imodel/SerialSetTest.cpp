// The set of serials answers as a plain set through rounds of additions and
// emptyings: serials in a dense run (a design's units), scattered over a
// wide range, at page edges and near the largest value, each added again
// now and then.
#include "imodel/names/ImodelSerialSet.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <set>

TEST(SerialSet, AnswersAsAPlainSetThroughRoundsOfAdditions)
{
    std::mt19937_64 random(7);
    ImodelSerialSet set;
    std::set<std::uint64_t> plain;
    const std::uint64_t top = std::numeric_limits<std::uint64_t>::max();
    for (int round = 0; round < 60; ++round) {
        const std::uint64_t base = random() % 4 == 0 ? top - random() % 20000 : random() % 1000000;
        const std::uint64_t spread = random() % 3 == 0 ? top : 1 + random() % 50000;
        const int additions = static_cast<int>(random() % 3000);
        for (int i = 0; i < additions; ++i) {
            std::uint64_t serial = base + random() % spread;
            // Page edges, where a serial's page and bit are easiest to get wrong.
            if (random() % 10 == 0) serial = (serial / 4096) * 4096 + (random() % 2 == 0 ? 0 : 4095);
            // One added already, to be refused.
            if (random() % 8 == 0 && !plain.empty()) {
                const auto added = plain.lower_bound(serial);
                serial = added == plain.end() ? *plain.begin() : *added;
            }
            ASSERT_EQ(set.Add(serial), plain.insert(serial).second) << serial;
        }
        // Every serial added is in, and its neighbours only when added.
        for (const std::uint64_t serial : plain) {
            ASSERT_TRUE(set.Contains(serial)) << serial;
            for (const std::uint64_t near : {serial - 1, serial + 1, serial ^ 64, serial ^ 4096})
                ASSERT_EQ(set.Contains(near), plain.count(near) == 1) << near;
        }
        if (random() % 3 == 0) {
            set.Clear();
            plain.clear();
        }
    }
}
