// A pass split into slices run on several threads gives what one pass in
// order gives, and ranges handed from a walk to several takers are each
// worked on once (also under ThreadSanitizer: tests/tsan).
#include "imodel/names/ImodelSplitWork.h"

#include <foundation/Sys.h>

#include <gtest/gtest.h>

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

TEST(SplitWork, SlicesPutTogetherInOrderGiveWhatOnePassGives)
{
    // Each element's text depends on the element alone; each slice writes
    // only its own text, and the texts in slice order are the one pass's.
    std::mt19937 random(32);
    for (int round = 0; round < 300; ++round) {
        const std::size_t count = std::uniform_int_distribution<std::size_t>(0, 3000)(random);
        const std::size_t slices = std::uniform_int_distribution<std::size_t>(0, 7)(random);
        std::vector<int> values(count);
        for (int& value : values) value = std::uniform_int_distribution<int>(-1000, 1000)(random);
        std::string plain;
        for (const int value : values) plain += std::to_string(value) + ",";

        std::vector<std::string> texts(std::max<std::size_t>(slices, 1));
        std::vector<std::pair<std::size_t, std::size_t>> ranges(texts.size(), {0, 0});
        std::vector<int> visits(count, 0);
        ImodelSplitWork(count, slices, [&](std::size_t slice, std::size_t first, std::size_t last) {
            ranges[slice] = {first, last};
            for (std::size_t i = first; i < last; ++i) {
                ++visits[i];
                texts[slice] += std::to_string(values[i]) + ",";
            }
        });
        EXPECT_EQ(std::accumulate(texts.begin(), texts.end(), std::string()), plain) << round;
        for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(visits[i], 1) << round << " element " << i;
        // Consecutive slices of sizes at most one apart.
        std::size_t expectedFirst = 0;
        std::size_t smallest = count;
        std::size_t largest = 0;
        const std::size_t used = std::min(std::max<std::size_t>(slices, 1), std::max<std::size_t>(count, 1));
        for (std::size_t slice = 0; slice < used; ++slice) {
            EXPECT_EQ(ranges[slice].first, expectedFirst) << round;
            expectedFirst = ranges[slice].second;
            smallest = std::min(smallest, ranges[slice].second - ranges[slice].first);
            largest = std::max(largest, ranges[slice].second - ranges[slice].first);
        }
        EXPECT_EQ(expectedFirst, count) << round;
        if (count > 0) {
            EXPECT_LE(largest - smallest, 1u) << round;
        }
    }
}

TEST(SplitWork, AFailingSliceReachesTheCallerOnceEverySliceHasEnded)
{
    for (std::size_t failing = 0; failing < 4; ++failing) {
        std::vector<std::atomic<int>> ended(4);
        try {
            ImodelSplitWork(4000, 4, [&](std::size_t slice, std::size_t, std::size_t) {
                if (slice == failing) throw std::runtime_error("slice " + std::to_string(slice));
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                ended[slice] = 1;
            });
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), "slice " + std::to_string(failing));
        }
        for (std::size_t slice = 0; slice < 4; ++slice)
            EXPECT_EQ(ended[slice].load(), slice == failing ? 0 : 1) << failing << " " << slice;
    }
}

TEST(SplitWork, ASliceIsWorthItsElementsAndNoMoreThanFourThreads)
{
    EXPECT_EQ(ImodelSlicesFor(0, 4096), 1u);
    EXPECT_EQ(ImodelSlicesFor(8191, 4096), 1u);
    EXPECT_EQ(ImodelSlicesFor(100000, 0), 1u);
    const std::size_t cores = SysUsableProcessors();
    EXPECT_GE(cores, 1u);
    EXPECT_LE(cores, std::max(1u, std::thread::hardware_concurrency()));
    EXPECT_EQ(ImodelSlicesFor(8192, 4096), std::min<std::size_t>(2, cores));
    EXPECT_EQ(ImodelSlicesFor(1000000, 4096), std::min<std::size_t>(4, cores));
}

TEST(SplitWork, AThreadHeldToFewProcessorsSplitsNoFurther)
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
    // A thread of its own, held to one and then two of the processors this
    // one may use, as `taskset` holds a whole shell.
    for (int held = 1; held <= 2; ++held) {
        if (CPU_COUNT(&allowed) < held) break;
        cpu_set_t some;
        CPU_ZERO(&some);
        for (int cpu = 0, taken = 0; cpu < CPU_SETSIZE && taken < held; ++cpu)
            if (CPU_ISSET(cpu, &allowed)) {
                CPU_SET(cpu, &some);
                ++taken;
            }
        std::size_t cores = 0;
        std::size_t slices = 0;
        std::thread([&] {
            if (sched_setaffinity(0, sizeof some, &some) != 0) return;
            cores = SysUsableProcessors();
            slices = ImodelSlicesFor(1000000, 4096);
        }).join();
        EXPECT_EQ(cores, static_cast<std::size_t>(held));
        EXPECT_EQ(slices, static_cast<std::size_t>(held));
    }
}
