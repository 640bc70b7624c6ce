// The block of the scanner dropped last on a thread is kept for the next
// one made on it, in every build: the next scanner of any language takes
// it, a thread's kept block goes when the thread ends, also when an object
// of the thread drops a scanner after that, and under the address sanitizer
// a scanner used after it went is reported.
#include "icmd/scan/zorpaCreateParser.h"
#include "imodel/design/ImodelModule.h"

#include <gtest/gtest.h>

#include <boost/shared_ptr.hpp>

#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SCANNER_BLOCK_TEST_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define SCANNER_BLOCK_TEST_ASAN 1
#endif

namespace {

using Maker = zorpaCreateParser<ImodelModule*>;
using Scanner = boost::shared_ptr<ZorpaParser<ImodelModule*>>;

// A scanner of each language the visitor makes one for.
const std::vector<std::function<void(Maker&)>>& Languages()
{
    static const std::vector<std::function<void(Maker&)>> languages = {
        [](Maker& maker) { maker.VisitVHDL(); },
        [](Maker& maker) { maker.VisitVerilog(); },
        [](Maker& maker) { maker.VisitSchematic(); },
    };
    return languages;
}

Scanner Make(std::size_t language)
{
    Maker maker(nullptr, nullptr);
    Languages()[language](maker);
    return maker.GetParser();
}

TEST(ScannerBlock, TheNextScannerMadeOnAThreadTakesTheBlockOfTheOneDroppedBefore)
{
    for (std::size_t language = 0; language < Languages().size(); ++language) {
        Scanner scanner = Make(language);
        ASSERT_TRUE(scanner);
        const void* block = scanner.get();
        scanner.reset();
        // One kept, none more: the second of two alive has a block of its own.
        Scanner again = Make(language);
        EXPECT_EQ(again.get(), block) << "language " << language;
        Scanner beside = Make(language);
        EXPECT_NE(beside.get(), again.get());
        // Another thread keeps a block of its own.
        again.reset();
        std::thread([language, block] { EXPECT_NE(Make(language).get(), block); }).join();
        EXPECT_EQ(Make(language).get(), block) << "language " << language;
    }
}

// Made on a thread before its first kept block, so ended after it: drops
// its scanner once the thread's kept block went.
struct HeldToTheEnd {
    Scanner scanner;
};

TEST(ScannerBlock, AThreadsKeptBlockGoesWithTheThreadAndAScannerDroppedAfterIsFreed)
{
    for (int round = 0; round < 20; ++round) {
        std::thread([round] {
            static thread_local HeldToTheEnd held;
            const std::size_t language = static_cast<std::size_t>(round) % Languages().size();
            Make(language);  // made, dropped and kept
            held.scanner = Make(language);
            EXPECT_TRUE(held.scanner);
            Make(language);
        }).join();
    }
    // Nothing is left behind: the leak checker of the sanitizer build
    // reports a kept block that outlived its thread, and its allocator a
    // block given back twice.
    SUCCEED();
}

#ifdef SCANNER_BLOCK_TEST_ASAN
TEST(ScannerBlockDeathTest, AScannerUsedAfterItWentIsReported)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            Scanner scanner = Make(0);
            const ZorpaParser<ImodelModule*>* gone = scanner.get();
            scanner.reset();
            std::printf("%d\n", static_cast<int>(gone->GetUnitKind()));
        },
        "use-after-poison");
}
#endif

}  // namespace
