// The file map's node pool: blocks of several sizes taken and given back in
// random order never overlap and keep what was written into them, and a
// node container on the pool holds what the same container on the plain
// allocator holds, through random insertions, erasures and emptying.
#include "src/ifile/ifileNodePool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

struct Held {
    unsigned char* block;
    std::size_t size;
    unsigned char mark;
};

bool Intact(const Held& held)
{
    for (std::size_t i = 0; i < held.size; ++i)
        if (held.block[i] != static_cast<unsigned char>(held.mark + i)) return false;
    return true;
}

}  // namespace

TEST(NodePool, BlocksTakenAndGivenInAnyOrderKeepTheirBytes)
{
    std::mt19937 random(7);
    const std::size_t sizes[] = {8, 40, 152, 24};
    for (int round = 0; round < 10; ++round) {
        ifileNodePool pool;
        std::vector<Held> held;
        for (int step = 0; step < 3000; ++step) {
            // Phases of growth and of shrinking down to nothing.
            const bool grow = (step / 500) % 2 == 0;
            if (held.empty() || random() % 10 < (grow ? 7u : 3u)) {
                const std::size_t size = sizes[random() % 4];
                Held one{static_cast<unsigned char*>(pool.Take(size)), size, static_cast<unsigned char>(random())};
                ASSERT_EQ(reinterpret_cast<std::uintptr_t>(one.block) % alignof(std::max_align_t), 0u);
                for (std::size_t i = 0; i < size; ++i) one.block[i] = static_cast<unsigned char>(one.mark + i);
                held.push_back(one);
            } else {
                const std::size_t at = random() % held.size();
                ASSERT_TRUE(Intact(held[at])) << "step " << step;
                pool.Give(held[at].block, held[at].size);
                held[at] = held.back();
                held.pop_back();
            }
            ASSERT_EQ(pool.Live(), held.size());
            if (step % 97 == 0) {
                for (const Held& one : held) ASSERT_TRUE(Intact(one)) << "step " << step;
            }
        }
        for (const Held& one : held) {
            ASSERT_TRUE(Intact(one));
            pool.Give(one.block, one.size);
        }
        EXPECT_EQ(pool.Live(), 0u);
    }
}

TEST(NodePool, AMapOnThePoolHoldsWhatAPlainMapHolds)
{
    using Pooled = std::map<int, std::string, std::less<int>, ifilePoolAllocator<std::pair<const int, std::string>>>;
    std::mt19937 random(11);
    ifileNodePool pool;
    Pooled pooled{std::less<int>(), Pooled::allocator_type(&pool)};
    std::map<int, std::string> plain;
    for (int step = 0; step < 20000; ++step) {
        const int key = static_cast<int>(random() % 600);
        const unsigned what = random() % 100;
        if (what < 55) {
            // Long values: their own blocks come from the plain allocator.
            const std::string value(key % 40, static_cast<char>('a' + key % 26));
            pooled.emplace(key, value);
            plain.emplace(key, value);
        } else if (what < 99) {
            EXPECT_EQ(pooled.erase(key), plain.erase(key));
        } else {
            pooled.clear();
            plain.clear();
        }
        ASSERT_EQ(pool.Live(), plain.size());
        if (step % 500 == 0) {
            ASSERT_TRUE(std::equal(pooled.begin(), pooled.end(), plain.begin(), plain.end()));
        }
    }
    ASSERT_TRUE(std::equal(pooled.begin(), pooled.end(), plain.begin(), plain.end()));
}
