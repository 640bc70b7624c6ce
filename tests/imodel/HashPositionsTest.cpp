// The index of positions by hash answers as a plain search of the list it
// indexes, through many rounds of filling and emptying: emptied whole or
// emptied keeping its array (as the scanner empties its index of a unit's
// sub-blocks at every new unit), small rounds after large ones and large
// after small, with hashes shared by many positions.
#include "imodel/names/ImodelHashPositions.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace {

// The highest position of `hash` whose key `accepted` takes, by a walk over
// the whole list; npos when none.
std::size_t PlainFindLast(const std::vector<std::uint64_t>& hashes, const std::vector<int>& keys, std::uint64_t hash,
                          int key)
{
    std::size_t found = ImodelHashPositions::npos;
    for (std::size_t at = 0; at < hashes.size(); ++at)
        if (hashes[at] == hash && keys[at] == key) found = at;
    return found;
}

}  // namespace

TEST(HashPositions, RoundsOfFillingAndEmptyingAnswerAsThePlainSearch)
{
    std::mt19937 random(31);
    ImodelHashPositions index;
    for (int round = 0; round < 300; ++round) {
        // Sizes from none to a few thousand, in no order, so that an array
        // kept from a large round serves small ones and the other way round.
        const int size = random() % 4 == 0 ? static_cast<int>(random() % 3000) : static_cast<int>(random() % 40);
        // Few distinct hashes in some rounds: long runs of one hash, and
        // several keys under one hash.
        const std::uint64_t spread = random() % 3 == 0 ? 4 : 1 + random() % 100000;
        std::vector<std::uint64_t> hashes;
        std::vector<int> keys;
        for (int i = 0; i < size; ++i) {
            const std::uint64_t hash = (random() % spread) * 0x9E3779B97F4A7C15ULL;
            const int key = static_cast<int>(random() % 8);
            index.Add(hash, hashes.size());
            hashes.push_back(hash);
            keys.push_back(key);
            ASSERT_EQ(index.Size(), hashes.size());
        }
        for (int probe = 0; probe < 60; ++probe) {
            // Hashes that stand in the list and hashes that do not.
            const std::uint64_t hash = !hashes.empty() && random() % 4 != 0
                                           ? hashes[random() % hashes.size()]
                                           : (random() % (spread + 5)) * 0x9E3779B97F4A7C15ULL + (random() % 2);
            const int key = static_cast<int>(random() % 8);
            const std::size_t found =
                index.FindLast(hash, [&](std::size_t position) { return keys.at(position) == key; });
            ASSERT_EQ(found, PlainFindLast(hashes, keys, hash, key)) << "round " << round << " size " << size;
        }
        if (random() % 3 == 0)
            index.Clear();
        else
            index.ClearKeepingRoom();
        ASSERT_EQ(index.Size(), 0u);
        // Nothing of an earlier round answers.
        for (std::size_t at = 0; at < hashes.size() && at < 50; ++at)
            ASSERT_EQ(index.FindLast(hashes[at], [](std::size_t) { return true; }), ImodelHashPositions::npos);
    }
}
