// The machine as the system layer tells it: the processors a thread may run
// on, narrowed as `taskset` narrows them, and aligned blocks of every
// boundary, usable to their last byte and given back.
#include "foundation/Sys.h"

#include <gtest/gtest.h>

#include <sched.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

TEST(SysMachine, UsableProcessorsFollowTheAffinity)
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    ASSERT_EQ(::sched_getaffinity(0, sizeof allowed, &allowed), 0);
    EXPECT_EQ(SysUsableProcessors(), static_cast<unsigned>(CPU_COUNT(&allowed)));
    // A thread held to one processor, and then to two where there are two,
    // has as many.
    std::vector<int> cpus;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
        if (CPU_ISSET(cpu, &allowed)) cpus.push_back(cpu);
    for (std::size_t keep = 1; keep <= std::min<std::size_t>(2, cpus.size()); ++keep) {
        unsigned seen = 0;
        std::thread narrowed([&] {
            cpu_set_t fewer;
            CPU_ZERO(&fewer);
            for (std::size_t i = 0; i < keep; ++i) CPU_SET(cpus[i], &fewer);
            if (::sched_setaffinity(0, sizeof fewer, &fewer) == 0) seen = SysUsableProcessors();
        });
        narrowed.join();
        EXPECT_EQ(seen, keep);
    }
    // The calling thread kept its own.
    EXPECT_EQ(SysUsableProcessors(), static_cast<unsigned>(CPU_COUNT(&allowed)));
}

TEST(SysMachine, AlignedBlocksOfEveryBoundary)
{
    std::mt19937 random(20261211);
    std::uniform_int_distribution<std::size_t> size(0, 70000);
    std::vector<std::pair<void*, std::size_t>> held;
    for (std::size_t alignment = 1; alignment <= 8192; alignment *= 2)
        for (int i = 0; i < 8; ++i) {
            const std::size_t bytes = i == 0 ? 0 : size(random);
            void* block = SysAlignedAlloc(alignment, bytes);
            ASSERT_NE(block, nullptr) << alignment << " " << bytes;
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignment, 0u) << alignment;
            // Each block is its own, to its last byte (the sanitizers see a
            // write past it or into another).
            std::memset(block, static_cast<int>(held.size() & 0xff), bytes);
            held.emplace_back(block, bytes);
        }
    for (std::size_t i = 0; i < held.size(); ++i) {
        const auto* bytes = static_cast<const unsigned char*>(held[i].first);
        for (std::size_t at = 0; at < held[i].second; at += 997) ASSERT_EQ(bytes[at], i & 0xff);
        SysAlignedFree(held[i].first);
    }
    SysAlignedFree(nullptr);
}

TEST(SysMachine, AlignedBlocksRefusedAreNull)
{
    // Not a power of two: no boundary to keep.
    for (const std::size_t alignment : {0u, 3u, 24u, 4095u}) EXPECT_EQ(SysAlignedAlloc(alignment, 64), nullptr);
}
