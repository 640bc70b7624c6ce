// Pointers sorted by address by the radix sort are those a plain sort
// gives, whatever the span of the addresses and however many there are.
#include "imodel/names/ImodelAddressOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <vector>

TEST(AddressOrder, PointersComeOutAsAPlainSortPutsThem)
{
    // Pointers into objects made now (near one another, some repeated) and
    // into blocks far apart, shuffled; the same pointers in the plain order.
    std::mt19937 random(4711);
    std::vector<std::unique_ptr<int[]>> blocks;
    for (int block = 0; block < 6; ++block) blocks.push_back(std::make_unique<int[]>(1 << 16));
    std::vector<std::unique_ptr<int>> made;
    for (int i = 0; i < 3000; ++i) made.push_back(std::make_unique<int>(i));
    for (int round = 0; round < 60; ++round) {
        const std::size_t count = std::uniform_int_distribution<std::size_t>(0, 20000)(random);
        std::vector<int*> pointers;
        for (std::size_t i = 0; i < count; ++i) {
            if (round % 3 == 0 || random() % 2 == 0) {
                pointers.push_back(made[random() % made.size()].get());
            } else {
                pointers.push_back(blocks[random() % blocks.size()].get() + random() % (1 << 16));
            }
        }
        std::shuffle(pointers.begin(), pointers.end(), random);
        std::vector<int*> plain = pointers;
        std::sort(plain.begin(), plain.end(), std::less<>());
        ImodelSortByAddress(pointers.data(), pointers.data() + pointers.size());
        ASSERT_EQ(pointers, plain) << "round " << round << ", " << count << " pointers";
    }
}
