// The block pool of the objects walks over every unit touch: blocks taken
// and given at random against a plain record of what is in use (no block
// handed out twice, none overlapping another, each aligned, its content
// kept while in use), the chunks growing from small ones and all going back
// once the pool empties, objects too large for it from the plain allocator,
// blocks given back on other threads while one takes; under the address
// sanitizer, blocks not handed out poisoned and lost ones reported as leaks.
#include "imodel/model/ImodelBlockPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <thread>
#include <vector>

#include <sys/wait.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BLOCK_POOL_TEST_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define BLOCK_POOL_TEST_ASAN 1
#endif
#ifdef BLOCK_POOL_TEST_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace {

std::uintptr_t Address(const void* block) { return reinterpret_cast<std::uintptr_t>(block); }

// Fills a block with a pattern of its serial, and checks it is still there.
void Stamp(void* block, std::size_t size, std::uint32_t serial)
{
    auto* bytes = static_cast<unsigned char*>(block);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(serial * 31 + i);
}

bool Stamped(const void* block, std::size_t size, std::uint32_t serial)
{
    const auto* bytes = static_cast<const unsigned char*>(block);
    for (std::size_t i = 0; i < size; ++i)
        if (bytes[i] != static_cast<unsigned char>(serial * 31 + i)) return false;
    return true;
}

struct InUse {
    std::uint32_t serial;
};

// Random takes and gives, more takes than gives at first and more gives
// later, so that the pool grows over several chunks, reuses given blocks,
// and empties at the end.
void RandomRound(std::size_t size, std::size_t align, unsigned seed)
{
    ImodelBlockPool pool(size, align);
    std::mt19937 random(seed);
    std::map<std::uintptr_t, InUse> inUse;  // by address, to find neighbours
    std::vector<void*> order;               // to give a random one
    std::uint32_t serial = 0;
    const auto give = [&](std::size_t at) {
        void* block = order[at];
        const auto found = inUse.find(Address(block));
        ASSERT_NE(found, inUse.end());
        EXPECT_TRUE(Stamped(block, size, found->second.serial)) << "a block in use was overwritten";
        inUse.erase(found);
        order[at] = order.back();
        order.pop_back();
        pool.Give(block, size);
    };
    for (int step = 0; step < 20000; ++step) {
        const bool growing = step < 12000;
        const bool take = order.empty() || random() % 100 < (growing ? 70u : 25u);
        if (take) {
            void* block = pool.Take(size);
            ASSERT_NE(block, nullptr);
            EXPECT_EQ(Address(block) % align, 0u) << "misaligned block";
            EXPECT_TRUE(pool.Holds(block));
            const auto [at, fresh] = inUse.emplace(Address(block), InUse{++serial});
            ASSERT_TRUE(fresh) << "a block handed out twice";
            // No overlap with the neighbours in address order.
            if (at != inUse.begin()) {
                EXPECT_LE(std::prev(at)->first + size, at->first);
            }
            if (std::next(at) != inUse.end()) {
                EXPECT_LE(at->first + size, std::next(at)->first);
            }
            Stamp(block, size, serial);
            order.push_back(block);
        } else {
            give(random() % order.size());
        }
        ASSERT_EQ(pool.Live(), order.size());
    }
    while (!order.empty()) give(random() % order.size());
    EXPECT_EQ(pool.Live(), 0u);
    EXPECT_EQ(pool.Chunks(), 0u) << "chunks kept by an empty pool";
}

TEST(BlockPool, RandomTakesAndGivesAgainstARecordOfBlocksInUse)
{
    // Sizes as the units', the contexts' and the revisions', with odd ones.
    RandomRound(1472, 64, 1);
    RandomRound(200, 8, 2);
    RandomRound(24, 16, 3);
    RandomRound(3, 1, 4);
    RandomRound(520, 128, 5);
}

TEST(BlockPool, ChunksGrowFromSmallOnesAndGoBackWhenThePoolEmpties)
{
    ImodelBlockPool pool(1024, 64);
    std::vector<void*> blocks;
    // A small project's objects take small chunks: whatever their number,
    // at most a few blocks more than they need (and a header per chunk).
    for (std::size_t i = 1; i <= 40; ++i) {
        blocks.push_back(pool.Take(1024));
        ASSERT_LE(pool.Held(), (i + 8) * 1024 + pool.Chunks() * 64) << i << " blocks";
    }
    // Ten megabytes of blocks: each chunk a quarter of what the pool holds,
    // so that the part not handed out yet (which the heap counts) stays
    // within a quarter of the blocks in use.
    for (int i = 0; i < 10000; ++i) {
        blocks.push_back(pool.Take(1024));
        if (i % 97 == 0) {
            ASSERT_LE(pool.Held(), blocks.size() * 1024 * 13 / 10 + 64 * 1024);
        }
    }
    EXPECT_GE(pool.Chunks(), 6u);
    EXPECT_LE(pool.Chunks(), 40u);
    EXPECT_LE(pool.Held(), blocks.size() * 1024 * 13 / 10);
    // A block given back is the next one taken; the chunks stay while any
    // block is in use.
    void* given = blocks[5000];
    pool.Give(given, 1024);
    EXPECT_EQ(pool.Take(1024), given);
    const std::size_t chunks = pool.Chunks();
    for (std::size_t i = 1; i < blocks.size(); ++i) pool.Give(blocks[i], 1024);
    EXPECT_EQ(pool.Live(), 1u);
    EXPECT_EQ(pool.Chunks(), chunks);
    pool.Give(blocks[0], 1024);
    EXPECT_EQ(pool.Chunks(), 0u);
    EXPECT_EQ(pool.Held(), 0u);
    // Emptied, it starts again from a small chunk.
    void* again = pool.Take(1024);
    EXPECT_EQ(pool.Chunks(), 1u);
    pool.Give(again, 1024);
    EXPECT_EQ(pool.Chunks(), 0u);
}

TEST(BlockPool, LargerObjectsThanItsBlocksComeFromThePlainAllocator)
{
    ImodelBlockPool pool(64, 64);
    void* small = pool.Take(64);
    void* large = pool.Take(4096);  // a derived class's object
    EXPECT_TRUE(pool.Holds(small));
    EXPECT_FALSE(pool.Holds(large));
    EXPECT_EQ(Address(large) % 64, 0u);
    EXPECT_EQ(pool.Live(), 1u);
    std::memset(large, 0x5a, 4096);
    pool.Give(large, 4096);
    EXPECT_EQ(pool.Live(), 1u);
    pool.Give(small, 64);
    EXPECT_EQ(pool.Chunks(), 0u);

    // Blocks too large to pool are never carved from chunks.
    ImodelBlockPool huge(1 << 20, 64);
    void* block = huge.Take(1 << 20);
    EXPECT_FALSE(huge.Holds(block));
    EXPECT_EQ(huge.Chunks(), 0u);
    huge.Give(block, 1 << 20);
}

// A closed project's objects are freed on the reclaimer's thread while the
// next project's are made: blocks given on other threads while one thread
// takes, none lost or handed out twice.
TEST(BlockPool, BlocksGivenOnOtherThreadsWhileOneTakes)
{
    constexpr std::size_t kSize = 192;
    ImodelBlockPool pool(kSize, 64);
    constexpr int kThreads = 4;
    constexpr int kEach = 3000;
    std::vector<std::vector<void*>> handed(kThreads);
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kEach; ++i) {
            handed[t].push_back(pool.Take(kSize));
            Stamp(handed[t].back(), kSize, static_cast<std::uint32_t>(t));
        }
    std::vector<std::thread> givers;
    for (int t = 0; t < kThreads; ++t)
        givers.emplace_back([&pool, &handed, t] {
            for (void* block : handed[t]) {
                if (!Stamped(block, kSize, static_cast<std::uint32_t>(t))) ADD_FAILURE() << "overwritten before given";
                pool.Give(block, kSize);
            }
        });
    std::vector<void*> kept;
    for (int i = 0; i < kEach; ++i) {
        kept.push_back(pool.Take(kSize));
        Stamp(kept.back(), kSize, 99);
    }
    for (std::thread& giver : givers) giver.join();
    EXPECT_EQ(pool.Live(), kept.size());
    std::vector<void*> sorted = kept;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a block handed out twice";
    for (void* block : kept) {
        EXPECT_TRUE(Stamped(block, kSize, 99));
        pool.Give(block, kSize);
    }
    EXPECT_EQ(pool.Chunks(), 0u);
}

#ifdef BLOCK_POOL_TEST_ASAN
// A block given back (and the part of a chunk not handed out yet) is
// poisoned, so that an object used after it went is reported.
TEST(BlockPool, GivenBlocksArePoisoned)
{
    ImodelBlockPool pool(256, 64);
    void* kept = pool.Take(256);
    void* given = pool.Take(256);
    EXPECT_EQ(__asan_region_is_poisoned(kept, 256), nullptr);
    pool.Give(given, 256);
    EXPECT_TRUE(__asan_address_is_poisoned(static_cast<char*>(given) + 100));
    EXPECT_TRUE(__asan_address_is_poisoned(static_cast<char*>(given) + 512));  // not handed out yet
    void* again = pool.Take(256);
    EXPECT_EQ(again, given);
    EXPECT_EQ(__asan_region_is_poisoned(again, 256), nullptr);
    pool.Give(again, 256);
    pool.Give(kept, 256);
}

// The library's pools carve their blocks from chunks under the sanitizer
// too: the code users run is the code the tests run.
TEST(BlockPool, TheLibrarysPoolsPoolUnderTheSanitizer)
{
    struct Object {
        char bytes[200];
    };
    ImodelPoolAllocator<Object> allocator;
    Object* first = allocator.allocate(1);
    Object* second = allocator.allocate(1);
    EXPECT_TRUE(ImodelPoolAllocator<Object>::Pool().Holds(first));
    EXPECT_TRUE(ImodelPoolAllocator<Object>::Pool().Holds(second));
    allocator.deallocate(second, 1);
    EXPECT_TRUE(__asan_address_is_poisoned(second->bytes + 10));
    allocator.deallocate(first, 1);
    EXPECT_EQ(ImodelPoolAllocator<Object>::Pool().Chunks(), 0u);
}

// The pool's own pointers do not keep its chunks from the leak checker: a
// chunk whose blocks were all lost is reported at exit, and a pool whose
// blocks all went back leaves nothing. The block is lost on a thread of its
// own, whose stack is gone when the process ends.
void LoseBlocksAndExit(int lost)
{
    static constinit ImodelBlockPool pool(256, 64);
    std::thread([lost] {
        std::vector<void*> blocks;
        for (int i = 0; i < 3; ++i) blocks.push_back(pool.Take(256));
        for (void* block : blocks) std::memset(block, 0x5a, 256);
        for (int i = lost; i < 3; ++i) pool.Give(blocks[static_cast<std::size_t>(i)], 256);
        std::fill(blocks.begin(), blocks.end(), nullptr);
    }).join();
    std::exit(0);
}

bool ExitedWithAFailure(int status) { return WIFEXITED(status) && WEXITSTATUS(status) != 0; }

TEST(BlockPoolDeathTest, LostBlocksAreReportedAsALeak)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LoseBlocksAndExit(2), ExitedWithAFailure, "LeakSanitizer: detected memory leaks");
    EXPECT_EXIT(LoseBlocksAndExit(0), testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
