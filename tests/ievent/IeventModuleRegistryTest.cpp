#include "RecordingView.h"

#include "ievent/IeventClasses.h"
#include "ievent/IeventModuleRegistry.h"

#include <boost/make_shared.hpp>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <thread>
#include <utility>
#include <vector>

namespace {

// A design unit as the module class uses the registry: registered when
// built, a destruction scope around the body of its destructor.
struct FakeModule {
    FakeModule() { IeventModuleRegistry::Register(Self(), ++lastSerial); }
    ~FakeModule()
    {
        IeventModuleRegistry::Destruction destroying(Self());
        if (whileDestroyed) whileDestroyed();
    }
    FakeModule(const FakeModule&) = delete;
    FakeModule& operator=(const FakeModule&) = delete;

    ImodelModule* Self() { return reinterpret_cast<ImodelModule*>(this); }

    int displayed = 0;
    std::function<void()> whileDestroyed;
    static inline IeventModuleRegistry::Serial lastSerial = 0;
};

void MarkFake(ImodelModule* module) { ++reinterpret_cast<FakeModule*>(module)->displayed; }

class IeventModuleRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { IeventModuleRegistry::SetDisplayMarker(&MarkFake); }
    void TearDown() override { IeventModuleRegistry::SetDisplayMarker(nullptr); }
};

}  // namespace

TEST_F(IeventModuleRegistryTest, ModuleAddedMarksEachLiveModuleOncePerView)
{
    FakeModule first;
    FakeModule second;
    int unregistered = 0;
    const auto added = boost::make_shared<IeventModuleAdded>(std::vector<ImodelModule*>{
        first.Self(), nullptr, reinterpret_cast<ImodelModule*>(&unregistered), second.Self()});

    RecordingView a;
    RecordingView b;
    RecordingView c;
    for (RecordingView* view : {&a, &b, &c}) view->UpdateViews({added});

    EXPECT_EQ(first.displayed, 3);
    EXPECT_EQ(second.displayed, 3);
    EXPECT_EQ(unregistered, 0);
    EXPECT_EQ(c.Names(), std::vector<std::string>{"IeventModuleAdded"});
}

TEST_F(IeventModuleRegistryTest, ADestroyedModuleIsNeverWrittenInto)
{
    auto doomed = std::make_unique<FakeModule>();
    FakeModule survivor;
    const auto added =
        boost::make_shared<IeventModuleAdded>(std::vector<ImodelModule*>{doomed->Self(), survivor.Self()});
    doomed.reset();

    // Kept by a deferred dispatcher and delivered later: under the address
    // sanitizer a write into the freed module would fail the test here.
    RecordingView view;
    view.UpdateViews({added});
    EXPECT_EQ(survivor.displayed, 1);
    EXPECT_EQ(view.Names(), std::vector<std::string>{"IeventModuleAdded"});
}

TEST_F(IeventModuleRegistryTest, ANewModuleAtAReusedAddressIsNotTheOldOne)
{
    std::optional<FakeModule> slot;
    slot.emplace();
    ImodelModule* const address = slot->Self();
    const auto stale = boost::make_shared<IeventModuleAdded>(address);
    const IeventModuleRegistry::Serial oldSerial = IeventModuleRegistry::SerialOf(address);
    slot.reset();
    EXPECT_EQ(IeventModuleRegistry::SerialOf(address), 0u);

    slot.emplace();
    ASSERT_EQ(slot->Self(), address);
    EXPECT_NE(IeventModuleRegistry::SerialOf(address), oldSerial);
    RecordingView view;
    stale->Notify(&view);
    EXPECT_EQ(slot->displayed, 0);
    IeventModuleAdded(address).Notify(&view);
    EXPECT_EQ(slot->displayed, 1);
}

TEST_F(IeventModuleRegistryTest, ManyModulesComingAndGoingEachKeepTheirOwnRegistration)
{
    // Thousands of modules alive at once, made and destroyed in a random
    // order (a project opened and closed, units re-read): each live module
    // answers its own serial, and an address never registered answers none.
    std::mt19937 random(28);
    std::vector<std::unique_ptr<FakeModule>> live;
    std::vector<IeventModuleRegistry::Serial> serials;
    static char neverRegistered[64];
    const auto check = [&](int step) {
        for (std::size_t i = 0; i < live.size(); ++i) {
            ASSERT_EQ(IeventModuleRegistry::SerialOf(live[i]->Self()), serials[i]) << "step " << step;
            ASSERT_TRUE(IeventModuleRegistry::IsAlive(live[i]->Self(), serials[i]));
            ASSERT_FALSE(IeventModuleRegistry::IsBeingDestroyed(live[i]->Self()));
        }
        for (char& byte : neverRegistered)
            ASSERT_EQ(IeventModuleRegistry::SerialOf(reinterpret_cast<ImodelModule*>(&byte)), 0u);
    };
    for (int step = 0; step < 12000; ++step) {
        // Mostly growing for the first half, mostly shrinking after, until
        // none is left.
        const bool grow = step < 6000 ? random() % 4 != 0 : random() % 4 == 0;
        if (grow || live.empty()) {
            live.push_back(std::make_unique<FakeModule>());
            serials.push_back(IeventModuleRegistry::SerialOf(live.back()->Self()));
            ASSERT_NE(serials.back(), 0u);
        } else {
            const std::size_t at = random() % live.size();
            ImodelModule* const gone = live[at]->Self();
            bool sawItDying = false;
            live[at]->whileDestroyed = [&] { sawItDying = IeventModuleRegistry::IsBeingDestroyed(gone); };
            std::swap(live[at], live.back());
            std::swap(serials[at], serials.back());
            live.pop_back();
            serials.pop_back();
            ASSERT_TRUE(sawItDying);
        }
        if (step % 1000 == 999) check(step);
    }
    while (!live.empty()) live.pop_back();
    check(12000);
}

TEST_F(IeventModuleRegistryTest, CellsPrefetchedWithoutTheLockWhileTheTableIsRemadeChangeNothing)
{
    // Another thread prefetches cells, of addresses registered or not, while
    // the table grows through several sizes and empties (its array freed)
    // again and again: nothing it prefetches is read, and every answer stays.
    std::atomic<bool> done = false;
    static char addresses[256];
    std::thread asker([&done] {
        while (!done.load())
            for (char& byte : addresses) IeventModuleRegistry::PrefetchCellOf(&byte);
    });
    for (int round = 0; round < 20; ++round) {
        std::vector<std::unique_ptr<FakeModule>> live;
        for (int i = 0; i < 300 * (round % 4 + 1); ++i) {
            IeventModuleRegistry::PrefetchCellOf(&addresses[i % sizeof addresses]);
            live.push_back(std::make_unique<FakeModule>());
        }
        for (const auto& module : live) ASSERT_NE(IeventModuleRegistry::SerialOf(module->Self()), 0u);
        for (char& byte : addresses)
            ASSERT_EQ(IeventModuleRegistry::SerialOf(reinterpret_cast<ImodelModule*>(&byte)), 0u);
    }
    done = true;
    asker.join();
}

TEST_F(IeventModuleRegistryTest, ManyModulesAskedAtOnceAnswerAsEachAskedAlone)
{
    // Lists of every length around the look-ahead, mixing live modules with
    // gone ones, one being destroyed, null, an address never registered, and
    // serials right, stale or none.
    std::mt19937 random(29);
    std::vector<std::unique_ptr<FakeModule>> owned;
    for (int i = 0; i < 300; ++i) owned.push_back(std::make_unique<FakeModule>());
    std::vector<FakeModule*> standing;
    for (const auto& module : owned) standing.push_back(module.get());
    std::vector<ImodelModule*> gone;
    for (int i = 0; i < 40; ++i) gone.push_back(std::make_unique<FakeModule>()->Self());
    static char neverRegistered[8];
    const auto ask = [&] {
        for (const std::size_t length : {0, 1, 7, 8, 9, 17, 600}) {
            std::vector<ImodelModule*> modules;
            std::vector<IeventModuleRegistry::Serial> serials;
            for (std::size_t i = 0; i < length; ++i) {
                const unsigned pick = random() % 10;
                ImodelModule* module = pick < 6   ? standing[random() % standing.size()]->Self()
                                       : pick < 8 ? gone[random() % gone.size()]
                                       : pick < 9 ? reinterpret_cast<ImodelModule*>(neverRegistered)
                                                  : nullptr;
                const IeventModuleRegistry::Serial right = IeventModuleRegistry::SerialOf(module);
                modules.push_back(module);
                serials.push_back(random() % 4 == 0 ? right + 1 : random() % 8 == 0 ? 0 : right);
            }
            std::vector<IeventModuleRegistry::Serial> found(length, 99);
            IeventModuleRegistry::SerialsOf(modules, found);
            const std::unique_ptr<bool[]> alive = std::make_unique<bool[]>(length);
            IeventModuleRegistry::AreAlive(modules, serials, {alive.get(), length});
            std::vector<int> expected;
            for (FakeModule* module : standing) expected.push_back(module->displayed);
            for (std::size_t i = 0; i < length; ++i) {
                ASSERT_EQ(found[i], IeventModuleRegistry::SerialOf(modules[i])) << i << " of " << length;
                ASSERT_EQ(alive[i], IeventModuleRegistry::IsAlive(modules[i], serials[i])) << i << " of " << length;
                for (std::size_t j = 0; j < standing.size(); ++j)
                    if (alive[i] && modules[i] == standing[j]->Self()) ++expected[j];
            }
            IeventModuleRegistry::MarkAllDisplayable(modules, serials);
            for (std::size_t j = 0; j < standing.size(); ++j)
                ASSERT_EQ(standing[j]->displayed, expected[j]) << "module " << j << " of " << length;
        }
    };
    ask();
    // Asked again while one of them is being destroyed: it answers as gone.
    owned.back()->whileDestroyed = ask;
    owned.pop_back();
}

TEST_F(IeventModuleRegistryTest, EventsAboutAModuleBeingDestroyedMustGoOutAtOnce)
{
    FakeModule bystander;
    auto doomed = std::make_unique<FakeModule>();
    ImodelModule* const self = doomed->Self();
    const auto aboutBystander = boost::make_shared<IeventModuleModified>(bystander.Self());
    EXPECT_FALSE(IeventMustDeliverAtOnce({aboutBystander}));

    bool checked = false;
    doomed->whileDestroyed = [&] {
        checked = true;
        EXPECT_TRUE(IeventModuleRegistry::IsBeingDestroyed(self));
        EXPECT_EQ(IeventModuleRegistry::SerialOf(self), 0u);
        // What the destructor announces reaches the views before it returns.
        const auto removed = boost::make_shared<IeventModuleRemoved>(self);
        EXPECT_TRUE(IeventMustDeliverAtOnce({boost::make_shared<IeventProjectClosed>(), removed}));
        EXPECT_TRUE(IeventMustDeliverAtOnce({boost::make_shared<IeventSelectionChanged>(self)}));
        EXPECT_TRUE(IeventMustDeliverAtOnce(
            {boost::make_shared<IeventFileAndModulePostParse>(Ievent_FilesParent::Entry(), self)}));
        // Other batches keep their road, and nothing is written into the
        // dying module.
        EXPECT_FALSE(IeventMustDeliverAtOnce({aboutBystander, boost::make_shared<IeventProjectClosed>()}));
        EXPECT_FALSE(IeventMustDeliverAtOnce({}));
        RecordingView view;
        IeventModuleAdded(self).Notify(&view);
    };
    doomed.reset();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(IeventModuleRegistry::IsBeingDestroyed(self));
    EXPECT_FALSE(IeventMustDeliverAtOnce({boost::make_shared<IeventModuleRemoved>(self)}));
}

TEST_F(IeventModuleRegistryTest, DeliveryOnAnotherThreadRacesNoDestruction)
{
    std::vector<std::unique_ptr<FakeModule>> modules(64);
    std::vector<ImodelModule*> pointers;
    for (auto& module : modules) {
        module = std::make_unique<FakeModule>();
        pointers.push_back(module->Self());
    }
    const auto added = boost::make_shared<IeventModuleAdded>(pointers);
    RecordingView view;

    // A host delivering on a thread of its own while the model destroys the
    // modules: a marker write after a module is freed would show under the
    // address sanitizer.
    std::atomic<bool> started = false;
    std::thread host([&] {
        for (int round = 0; round < 200; ++round) {
            added->Notify(&view);
            started = true;
        }
    });
    while (!started) std::this_thread::yield();
    for (auto& module : modules) module.reset();
    host.join();
    EXPECT_EQ(view.Count("IeventModuleAdded"), 200);
}
