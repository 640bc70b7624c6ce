// The reclaimer frees handed-over memory on its own thread: at most one
// hand-over pending, the next one and Wait returning only once the one
// before is gone, shutting down (the library's unload) freeing what is left
// and joining, and a thread that cannot start leaving the deletion on the
// caller. What it frees shares reference counts with objects the calling
// thread keeps using, as a closed project's units share their files'
// counts with the file manager. It touches nothing of the model, so these
// tests also run under ThreadSanitizer (tests/tsan).
#include "src/imodel/design/imodelReclaimer.h"

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <random>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// A file object the calling thread keeps and the garbage points at weakly,
// and a list of library names the garbage may hold the last reference to.
struct Shared {
    int value = 0;
};

// What a unit leaves behind: blocks of its own, weak and shared references
// into what others hold, and a count of those not yet freed.
struct Leftover {
    Leftover(std::atomic<int>& alive, const boost::shared_ptr<Shared>& file,
             std::shared_ptr<const std::vector<int>> names)
        : alive(alive), file(file), names(std::move(names)), own(std::make_unique<std::vector<int>>(64, 7))
    {
        ++alive;
    }
    Leftover(Leftover&& other) noexcept
        : alive(other.alive), file(std::move(other.file)), names(std::move(other.names)), own(std::move(other.own)),
          counted(std::exchange(other.counted, false))
    {
    }
    Leftover& operator=(Leftover&&) = delete;
    ~Leftover()
    {
        if (counted) --alive;
    }

    std::atomic<int>& alive;
    boost::weak_ptr<Shared> file;
    std::shared_ptr<const std::vector<int>> names;
    std::unique_ptr<std::vector<int>> own;
    bool counted = true;
};

// Records the thread that deleted it, after a pause that lets the caller
// run on meanwhile.
struct Slow : imodelReclaimer::Garbage {
    Slow(std::atomic<int>& done, std::thread::id& by, int pauseMs) : done(done), by(by), pauseMs(pauseMs) {}
    ~Slow() override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        by = std::this_thread::get_id();
        ++done;
    }
    std::atomic<int>& done;
    std::thread::id& by;
    int pauseMs;
};

}  // namespace

TEST(Reclaimer, AHandOverIsDeletedOnTheThreadAndTheNextOneWaitsForIt)
{
    imodelReclaimer reclaimer;
    std::atomic<int> done{0};
    std::thread::id first;
    std::thread::id second;
    reclaimer.HandOver(std::make_unique<Slow>(done, first, 30));
    EXPECT_TRUE(reclaimer.Busy() || done == 1);
    // At most one pending: the second hand-over returns once the first is gone.
    reclaimer.HandOver(std::make_unique<Slow>(done, second, 0));
    EXPECT_GE(done.load(), 1);
    reclaimer.Wait();
    EXPECT_EQ(done.load(), 2);
    EXPECT_FALSE(reclaimer.Busy());
    EXPECT_NE(first, std::this_thread::get_id());
    EXPECT_EQ(first, second);
    EXPECT_EQ(reclaimer.ReclaimedOnThread(), 2u);
    EXPECT_EQ(reclaimer.ReclaimedInPlace(), 0u);
    reclaimer.HandOver(nullptr);
    EXPECT_EQ(reclaimer.ReclaimedOnThread(), 2u);
}

TEST(Reclaimer, ShuttingDownFreesWhatIsPendingJoinsAndLeavesLaterHandOversToTheCaller)
{
    std::atomic<int> done{0};
    std::thread::id pending;
    std::thread::id later;
    {
        imodelReclaimer reclaimer;
        reclaimer.HandOver(std::make_unique<Slow>(done, pending, 40));
        reclaimer.ShutDown();
        // The unload returns only once nothing handed over is left.
        EXPECT_EQ(done.load(), 1);
        EXPECT_FALSE(reclaimer.Busy());
        reclaimer.HandOver(std::make_unique<Slow>(done, later, 0));
        EXPECT_EQ(done.load(), 2);
        EXPECT_EQ(later, std::this_thread::get_id());
        EXPECT_EQ(reclaimer.ReclaimedInPlace(), 1u);
    }
    // A reclaimer destroyed with a hand-over pending frees it first.
    {
        imodelReclaimer reclaimer;
        reclaimer.HandOver(std::make_unique<Slow>(done, pending, 40));
    }
    EXPECT_EQ(done.load(), 3);
}

TEST(Reclaimer, AThreadThatCannotStartLeavesEveryDeletionToTheCaller)
{
    int starts = 0;
    imodelReclaimer reclaimer([&starts](std::function<void()>) -> std::thread {
        ++starts;
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    std::atomic<int> done{0};
    std::thread::id by;
    for (int i = 0; i < 3; ++i) {
        reclaimer.HandOver(std::make_unique<Slow>(done, by, 0));
        EXPECT_EQ(done.load(), i + 1);
        EXPECT_EQ(by, std::this_thread::get_id());
        EXPECT_FALSE(reclaimer.Busy());
    }
    // Tried once: a failure is not retried at every close.
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(reclaimer.ReclaimedInPlace(), 3u);
    EXPECT_EQ(reclaimer.ReclaimedOnThread(), 0u);
}

TEST(Reclaimer, MemorySharingCountsWithWhatTheCallerKeepsIsFreedWhileTheCallerUsesIt)
{
    // Rounds of leftovers handed over while the caller goes on copying,
    // locking and dropping the objects the leftovers point at, and starts the
    // next round: every leftover is freed by the next hand-over or the wait,
    // and the caller's objects live exactly as long as its own references.
    imodelReclaimer reclaimer;
    std::mt19937 random(7);
    std::atomic<int> alive{0};
    std::vector<boost::shared_ptr<Shared>> files;
    for (int i = 0; i < 32; ++i) files.push_back(boost::make_shared<Shared>());
    for (int round = 0; round < 40; ++round) {
        auto names = std::make_shared<const std::vector<int>>(8, round);
        std::vector<Leftover> leftovers;
        const int count = 50 + static_cast<int>(random() % 400);
        for (int i = 0; i < count; ++i) leftovers.emplace_back(alive, files[random() % files.size()], names);
        const int before = alive.load();
        reclaimer.HandOverValue(std::move(leftovers));
        // The round before is gone: only this one may still be alive.
        EXPECT_LE(alive.load(), before);
        EXPECT_LE(alive.load(), count);
        names.reset();
        for (int i = 0; i < 200; ++i) {
            boost::shared_ptr<Shared>& file = files[random() % files.size()];
            boost::weak_ptr<Shared> watched(file);
            if (boost::shared_ptr<Shared> locked = watched.lock()) ++locked->value;
            if (random() % 16 == 0) file = boost::make_shared<Shared>();
        }
    }
    reclaimer.Wait();
    EXPECT_EQ(alive.load(), 0);
    for (const boost::shared_ptr<Shared>& file : files) EXPECT_EQ(file.use_count(), 1);
}
