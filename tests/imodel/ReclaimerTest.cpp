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

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <random>
#include <string>
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

namespace {

// Memory that records the order in which it is freed, and by which thread.
struct Recorded : imodelReclaimer::Garbage {
    struct Log {
        std::mutex lock;
        std::vector<int> freed;
        std::vector<std::thread::id> by;
    };
    Recorded(Log& log, int id) : log(log), id(id) {}
    ~Recorded() override
    {
        std::lock_guard guard(log.lock);
        log.freed.push_back(id);
        log.by.push_back(std::this_thread::get_id());
    }
    Log& log;
    int id;
};

// Blocks its deletion until the test lets it go (or a long while passes, so
// that a fault shows as a failure rather than a hang).
struct Held : imodelReclaimer::Garbage {
    struct Gate {
        std::mutex lock;
        std::condition_variable opened;
        bool open = false;
        std::atomic<bool> deleted{false};
        void Open()
        {
            std::lock_guard guard(lock);
            open = true;
            opened.notify_all();
        }
    };
    explicit Held(Gate& gate) : gate(gate) {}
    ~Held() override
    {
        std::unique_lock guard(gate.lock);
        gate.opened.wait_for(guard, std::chrono::seconds(20), [this] { return gate.open; });
        gate.deleted = true;
    }
    Gate& gate;
};

std::vector<int> FreedSoFar(Recorded::Log& log)
{
    std::lock_guard guard(log.lock);
    return log.freed;
}

}  // namespace

TEST(Reclaimer, KeptBackMemoryGoesWithTheNextHandOverOrAtTheGatheringsEndAndIsNeverWaitedFor)
{
    // Random runs of gatherings (nested), hand-overs, memory handed over
    // later and waits, against a plain account of what is kept back and
    // what is handed over: after a wait exactly what is kept back is left;
    // a hand-over finds every earlier one freed; everything is freed in the
    // order it was handed over, on the thread, and the shutdown frees what
    // a gathering still keeps back.
    std::mt19937 random(32);
    for (int run = 0; run < 30; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        Recorded::Log log;
        std::vector<int> handedOrder;  // the plain account
        std::vector<int> keptBack;
        int depth = 0;
        int next = 0;
        {
            imodelReclaimer reclaimer;
            for (int step = 0; step < 60; ++step) {
                switch (random() % 6) {
                case 0:
                    if (depth < 3) {
                        reclaimer.BeginGathering();
                        ++depth;
                    }
                    break;
                case 1:
                    if (depth > 0) {
                        reclaimer.EndGathering();
                        if (--depth == 0) {
                            handedOrder.insert(handedOrder.end(), keptBack.begin(), keptBack.end());
                            keptBack.clear();
                        }
                    }
                    break;
                case 2: {
                    const std::size_t before = handedOrder.size();
                    reclaimer.HandOver(std::make_unique<Recorded>(log, next));
                    // At most one hand-over pending: all before it are freed.
                    const std::vector<int> freed = FreedSoFar(log);
                    ASSERT_GE(freed.size(), before);
                    EXPECT_TRUE(std::equal(handedOrder.begin(), handedOrder.end(), freed.begin()));
                    handedOrder.insert(handedOrder.end(), keptBack.begin(), keptBack.end());
                    keptBack.clear();
                    handedOrder.push_back(next++);
                    break;
                }
                case 3:
                case 4:
                    reclaimer.HandOverLater(std::make_unique<Recorded>(log, next));
                    if (depth > 0) {
                        keptBack.push_back(next++);
                    } else {
                        handedOrder.push_back(next++);
                    }
                    break;
                default: {
                    reclaimer.Wait();
                    EXPECT_EQ(FreedSoFar(log), handedOrder);
                    EXPECT_FALSE(reclaimer.Busy());
                    break;
                }
                }
            }
            reclaimer.Wait();
            EXPECT_EQ(FreedSoFar(log), handedOrder);
            {
                std::lock_guard guard(log.lock);
                for (const std::thread::id by : log.by) EXPECT_NE(by, std::this_thread::get_id());
            }
            // Kept back by a gathering still open: freed by the shutdown.
            reclaimer.ShutDown();
            handedOrder.insert(handedOrder.end(), keptBack.begin(), keptBack.end());
            EXPECT_EQ(FreedSoFar(log), handedOrder);
            EXPECT_EQ(reclaimer.ReclaimedInPlace(), keptBack.empty() ? 0u : 1u);
            while (depth-- > 0) reclaimer.EndGathering();
        }
        std::lock_guard guard(log.lock);
        EXPECT_EQ(static_cast<int>(log.freed.size()), next);
    }
}

TEST(Reclaimer, WithinAGatheringTheUnitsHandOverNeverWaitsForTheKeptBackMemoryToBeFreed)
{
    // A close keeps its file map back, then hands its units over: the
    // units' hand-over and every wait meanwhile return while the map's
    // memory is not yet freed (here: cannot be, until the gate opens).
    imodelReclaimer reclaimer;
    Recorded::Log log;
    Held::Gate gate;
    reclaimer.BeginGathering();
    reclaimer.HandOverLater(std::make_unique<Held>(gate));
    reclaimer.Wait();
    EXPECT_FALSE(reclaimer.Busy());
    EXPECT_FALSE(gate.deleted);
    reclaimer.HandOver(std::make_unique<Recorded>(log, 1));
    EXPECT_FALSE(gate.deleted);
    // Nothing is left for the end of the gathering: the map went with the units.
    reclaimer.EndGathering();
    EXPECT_TRUE(reclaimer.Busy());
    gate.Open();
    reclaimer.Wait();
    EXPECT_TRUE(gate.deleted);
    EXPECT_EQ(FreedSoFar(log), std::vector<int>{1});
    EXPECT_EQ(reclaimer.ReclaimedOnThread(), 1u);

    // Without a gathering, memory handed over later goes at once.
    Held::Gate alone;
    alone.Open();
    reclaimer.HandOverLater(std::make_unique<Held>(alone));
    reclaimer.Wait();
    EXPECT_TRUE(alone.deleted);
    EXPECT_EQ(reclaimer.ReclaimedOnThread(), 2u);
}

TEST(Reclaimer, WhatAGatheringKeptBackAfterTheUnitsWentQueuesBehindThemWithoutWaiting)
{
    // A close hands its units over, then lets go of more memory (the
    // watcher's lists) before its gathering ends: the end returns while the
    // units are still being freed, and everything is freed in order.
    imodelReclaimer reclaimer;
    Recorded::Log log;
    Held::Gate gate;
    reclaimer.BeginGathering();
    reclaimer.HandOver(std::make_unique<Held>(gate));
    reclaimer.HandOverLater(std::make_unique<Recorded>(log, 1));
    reclaimer.HandOverLater(std::make_unique<Recorded>(log, 2));
    reclaimer.EndGathering();
    EXPECT_FALSE(gate.deleted);
    EXPECT_TRUE(reclaimer.Busy());
    EXPECT_TRUE(FreedSoFar(log).empty());
    gate.Open();
    // Queued two deep at most: memory handed over later now waits for the
    // units to be freed, not for what queued behind them.
    reclaimer.HandOverLater(std::make_unique<Recorded>(log, 3));
    EXPECT_TRUE(gate.deleted);
    reclaimer.Wait();
    EXPECT_EQ(FreedSoFar(log), (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(reclaimer.Busy());
    // The next units' hand-over waits for all of it: here, nothing is left.
    reclaimer.HandOver(std::make_unique<Recorded>(log, 4));
    reclaimer.Wait();
    EXPECT_EQ(FreedSoFar(log), (std::vector<int>{1, 2, 3, 4}));
}

namespace {

// A file object with texts of its own on the heap.
struct Texts {
    std::string name, fullName, setting;
};

// The texts of a file that dies on this thread, freed on the reclaimer's.
struct MovedTexts : imodelReclaimer::Garbage {
    std::vector<std::string> texts;
};

}  // namespace

TEST(Reclaimer, TextsOfObjectsThatDieHereAreFreedOnTheThreadWhileHeldOnesAreStillRead)
{
    // Rounds as a close runs them: inside a gathering, every object only the
    // list holds gives its texts to memory handed over later and dies here,
    // so that those watching it weakly find it gone at once; the others are
    // left whole. Weak references (the units') go with the units' hand-over.
    // Meanwhile this thread reads the held objects' texts and makes new
    // ones: every held object keeps its texts, each dead one stays dead.
    imodelReclaimer reclaimer;
    std::mt19937 random(33);
    const std::string longText(48, 't');
    for (int round = 0; round < 30; ++round) {
        const int count = 1 + static_cast<int>(random() % 300);
        std::vector<boost::shared_ptr<Texts>> list;
        std::vector<boost::shared_ptr<Texts>> held;
        std::vector<boost::weak_ptr<Texts>> units;
        std::vector<bool> isHeld;
        for (int i = 0; i < count; ++i) {
            const std::string number = std::to_string(i);
            list.push_back(boost::make_shared<Texts>(Texts{"file_" + longText + number, "/folder/" + longText + number,
                                                           random() % 2 ? "" : "setting_" + longText}));
            isHeld.push_back(random() % 3 == 0);
            if (isHeld.back()) held.push_back(list.back());
            units.push_back(list.back());
        }
        std::vector<Texts> heldBefore;
        for (const auto& file : held) heldBefore.push_back(*file);
        reclaimer.BeginGathering();
        auto moved = std::make_unique<MovedTexts>();
        for (boost::shared_ptr<Texts>& file : list) {
            if (file.use_count() == 1)
                for (std::string* text : {&file->name, &file->fullName, &file->setting})
                    if (text->capacity() > std::string().capacity()) moved->texts.push_back(std::move(*text));
            file.reset();
        }
        for (std::size_t i = 0; i < units.size(); ++i) EXPECT_EQ(units[i].expired(), !isHeld[i]);
        reclaimer.HandOverLater(std::move(moved));
        reclaimer.HandOverValue(std::move(units));
        reclaimer.EndGathering();
        std::string made;
        for (std::size_t i = 0; i < held.size(); ++i) {
            made += held[i]->name.substr(0, 8);
            EXPECT_EQ(held[i]->name, heldBefore[i].name);
            EXPECT_EQ(held[i]->fullName, heldBefore[i].fullName);
            EXPECT_EQ(held[i]->setting, heldBefore[i].setting);
        }
        EXPECT_EQ(made.size(), 8 * held.size());
    }
    reclaimer.Wait();
}

namespace {

// The process's end waits for what the library's reclaimer is freeing
// before any object of static duration goes: the exit handler that waits is
// registered as the thread starts, after those objects were made, and so
// runs before their destructors. (A deletion still under way would
// otherwise run beside them, and beside the leak checker.)
void ExitWhileTheLibrarysReclaimerFrees()
{
    struct Alive {
        std::atomic<bool> alive{true};
        ~Alive() { alive = false; }
    };
    static Alive madeBeforeTheThread;
    struct Slow : imodelReclaimer::Garbage {
        ~Slow() override
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            if (!madeBeforeTheThread.alive) std::_Exit(3);
        }
    };
    imodelTheReclaimer().HandOver(std::make_unique<Slow>());
    std::exit(0);
}

}  // namespace

TEST(ReclaimerDeathTest, TheEndWaitsForTheLibrarysReclaimerBeforeObjectsOfStaticDurationGo)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(ExitWhileTheLibrarysReclaimerFrees(), testing::ExitedWithCode(0), "");
}
