// Deleting the units of whole libraries at once (a closed project, a copy of
// the libraries thrown away) drops the links among them in one sweep; the
// units that stay must be left exactly as deleting the units one by one
// leaves them, and no list may point at a unit that is gone (the sanitizer
// build catches a stale pointer).
#include "ModuleTestSupport.h"
#include "RecordingView.h"

#include "ievent/IeventClasses.h"
#include "ievent/IeventModuleRegistry.h"
#include "imodel/design/ImodelDestroyLib.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelRevContextImpl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "imodel/views/ImodelToolStatesManager.h"
#include "iprocess/IprocessManager.h"
#include "src/imodel/design/imodelReclaimer.h"
#include "src/imodel/design/imodelUnitJournal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using Library = ZorpaLibrary<ImodelModule*>;
using LibraryPtr = boost::shared_ptr<Library>;

// A unit's links, by name, in list order.
std::string LinksOf(const ImodelModule& unit)
{
    std::string text = unit.GetName() + " <";
    if (const ImodelLinkList* subs = unit.GetSubBlocks())
        for (const ImodelModule* sub : *subs) text += " " + sub->GetName();
    text += " > ^";
    if (const ImodelLinkList* parents = unit.GetParentsList())
        for (const ImodelModule* parent : *parents) text += " " + parent->GetName();
    return text + "\n";
}

// Units in libraries that go and units held apart that stay, linked at
// random: self links, repeated links, cycles and links both ways between
// the two groups, as clones kept outside the design have.
struct World {
    std::deque<LibraryPtr> libraries;
    std::vector<std::unique_ptr<ImodelModule>> staying;
    std::vector<ImodelModule*> going;

    World(std::uint32_t seed, int goingCount, int stayingCount, int links)
    {
        std::mt19937 random(seed);
        std::mt19937 kinds(seed + 500);
        libraries.push_back(boost::make_shared<Library>("work"));
        libraries.push_back(boost::make_shared<Library>("other"));
        std::vector<ImodelModule*> all;
        for (int i = 0; i < goingCount; ++i) {
            const std::string library = i % 3 == 0 ? "other" : "work";
            // Every seventh a package (linked in front of its users' lists).
            auto unit = MakeModule("g" + std::to_string(i), MakeFile("/d/g" + std::to_string(i / 2) + ".vhd"),
                                   zorpaMODULE_VHDL, kinds() % 7 == 0, library);
            ImodelModule* raw = unit.get();
            const auto [standing, taken] = libraries[i % 3 == 0 ? 1 : 0]->GetModules()->Insert(std::move(unit));
            EXPECT_TRUE(taken && standing == raw);
            going.push_back(raw);
            all.push_back(raw);
        }
        for (int i = 0; i < stayingCount; ++i) {
            staying.push_back(MakeModule("s" + std::to_string(i)));
            all.push_back(staying.back().get());
        }
        std::uniform_int_distribution<std::size_t> pick(0, all.size() - 1);
        for (int i = 0; i < links; ++i) all[pick(random)]->AddSubBlock(all[pick(random)], false);
    }

    std::string StayingLinks() const
    {
        std::string text;
        for (const auto& unit : staying) text += LinksOf(*unit);
        return text;
    }
};

class DesignTeardown : public ModuleFixture {};

// What a view hears of the units that go: each removal by the unit's name,
// with whether the unit was being destroyed and its batch held it alone.
class RemovalView : public RecordingView {
public:
    using RecordingView::UpdateView;
    void UpdateView(const IeventModuleRemoved& event) override
    {
        RecordingView::UpdateView(event);
        for (ImodelModule* unit : event.GetModules())
            heard.push_back(unit->GetName() + (IeventModuleRegistry::IsBeingDestroyed(unit) ? " dying" : " alive") +
                            (Batches().back().size() == 1 ? "" : " batched"));
    }
    std::vector<std::string> heard;
};

// Lets the views have seen some of the units that go, at random.
void ShowSome(World& world, std::uint32_t seed)
{
    std::mt19937 random(seed);
    for (ImodelModule* unit : world.going) unit->SetCanBeDisplayedInAView(random() % 3 != 0);
}

// The plain way: library after library, each unit in the library's order
// leaves it and is deleted. What a view listening to this teardown only
// hears: the event names, and each removal as RemovalView tells it.
std::pair<std::vector<std::string>, std::vector<std::string>> HeardOneByOne(std::uint32_t seed, int going, int staying,
                                                                            int links)
{
    World plain(seed, going, staying, links);
    ShowSome(plain, seed);
    RemovalView view;
    for (const LibraryPtr& library : plain.libraries) {
        const std::vector<ImodelModule*> units(library->GetModules()->begin(), library->GetModules()->end());
        for (ImodelModule* unit : units) EXPECT_TRUE(library->GetModules()->Extract(unit));
    }
    return {view.Names(), view.heard};
}

}  // namespace

TEST_F(DesignTeardown, UnitsDeletedTogetherLeaveTheUnitsThatStayAsDeletingThemOneByOne)
{
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        const int going = 1 + static_cast<int>(seed * 7 % 60);
        const int staying = static_cast<int>(seed % 9);
        const int links = static_cast<int>(seed * 13 % 200);
        SCOPED_TRACE("seed " + std::to_string(seed));

        // The plain way: each unit leaves its library and is deleted, in a
        // random order, unlinking itself from every list.
        World plain(seed, going, staying, links);
        std::vector<ImodelModule*> order = plain.going;
        std::shuffle(order.begin(), order.end(), std::mt19937(seed + 1000));
        for (ImodelModule* unit : order) {
            const LibraryPtr& library = plain.libraries[unit->GetDefinedInLibrary() == "other" ? 1 : 0];
            ImodelModule::Owned owned = library->GetModules()->Extract(unit);
            EXPECT_TRUE(owned);
        }

        // Every library at once, as a closed project's libraries go.
        World together(seed, going, staying, links);
        ImodelDestroyLibs(together.libraries);
        EXPECT_TRUE(together.libraries.empty());
        EXPECT_EQ(together.StayingLinks(), plain.StayingLinks());

        // One library at once, the units of the other still linked to it.
        World one(seed, going, staying, links);
        World oneByOne(seed, going, staying, links);
        ImodelDestroyLib(one.libraries[1]);
        for (ImodelModule* unit : oneByOne.going)
            if (auto owned = oneByOne.libraries[1]->GetModules()->Extract(unit)) owned.reset();
        EXPECT_EQ(one.StayingLinks(), oneByOne.StayingLinks());
        std::string left;
        std::string leftPlain;
        for (const ImodelModule* unit : *one.libraries[0]->GetModules()) left += LinksOf(*unit);
        for (const ImodelModule* unit : *oneByOne.libraries[0]->GetModules()) leftPlain += LinksOf(*unit);
        EXPECT_EQ(left, leftPlain);
        // The file index still finds the units that stayed, and only them.
        for (const ImodelModule* unit : *one.libraries[0]->GetModules()) {
            const std::vector<ImodelModule*> owners = one.libraries[0]->GetModules()->UnitsOfFileKey(unit->GetFileIndexKey());
            EXPECT_NE(std::find(owners.begin(), owners.end(), unit), owners.end());
        }
        EXPECT_TRUE(one.libraries[1]->GetModules()->empty());
    }
}

TEST_F(DesignTeardown, TheViewsHearOfEachShownUnitAsWhenTheUnitsAreDeletedOneByOne)
{
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        const int going = 1 + static_cast<int>(seed * 11 % 80);
        const int links = static_cast<int>(seed * 17 % 150);
        SCOPED_TRACE("seed " + std::to_string(seed));

        // Each view listens to its own teardown only.
        const auto [plainNames, plainHeard] = HeardOneByOne(seed, going, 2, links);

        World together(seed, going, 2, links);
        ShowSome(together, seed);
        RemovalView togetherView;
        ImodelDestroyLibs(together.libraries);

        EXPECT_EQ(togetherView.Names(), plainNames);
        EXPECT_EQ(togetherView.heard, plainHeard);
        // Every unit the views were shown is heard of, and no other.
        std::size_t shown = 0;
        for (const std::string& heard : togetherView.heard) {
            EXPECT_NE(heard.find(" dying"), std::string::npos) << heard;
            EXPECT_EQ(heard.find(" batched"), std::string::npos) << heard;
            ++shown;
        }
        std::mt19937 random(seed);
        std::size_t expected = 0;
        for (int i = 0; i < going; ++i) expected += random() % 3 != 0 ? 1 : 0;
        EXPECT_EQ(shown, expected);
    }
}

TEST_F(DesignTeardown, WhenEveryUnitGoesTheViewsHearWhatTheyHearWhenTheUnitsGoOneByOne)
{
    // No unit stays (a closed project): the links among the units are
    // dropped without a look at whom they hold. Cells used by many, cycles,
    // self links and packages; units of one file in both libraries.
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        const int going = 1 + static_cast<int>(seed * 13 % 90);
        const int links = static_cast<int>(seed * 29 % 260);
        SCOPED_TRACE("seed " + std::to_string(seed));

        const auto [plainNames, plainHeard] = HeardOneByOne(seed, going, 0, links);

        World together(seed, going, 0, links);
        ShowSome(together, seed);
        std::vector<std::uint64_t> serials;
        for (const ImodelModule* unit : together.going) serials.push_back(unit->GetUnitSerial());
        RemovalView togetherView;
        // Every unit alive goes.
        ASSERT_EQ(imodelLiveUnitCount(), together.going.size());
        ImodelDestroyLibs(together.libraries);

        EXPECT_TRUE(together.libraries.empty());
        EXPECT_EQ(imodelLiveUnitCount(), 0u);
        EXPECT_EQ(togetherView.Names(), plainNames);
        EXPECT_EQ(togetherView.heard, plainHeard);
        // The change events know none of the units any more.
        for (std::size_t i = 0; i < serials.size(); ++i) {
            EXPECT_FALSE(IeventModuleRegistry::IsAlive(together.going[i], serials[i]));
            EXPECT_FALSE(IeventModuleRegistry::IsBeingDestroyed(together.going[i]));
        }
        // A design built again after it links as the first one did.
        World again(seed, going, 0, links);
        World fresh(seed, going, 0, links);
        std::string linksAgain;
        std::string linksFresh;
        for (const ImodelModule* unit : again.going) linksAgain += LinksOf(*unit);
        for (const ImodelModule* unit : fresh.going) linksFresh += LinksOf(*unit);
        EXPECT_EQ(linksAgain, linksFresh);
        ImodelDestroyLibs(again.libraries);
        ImodelDestroyLibs(fresh.libraries);
    }
}

namespace {

// A view that says which events it hears, as the shell's own view does:
// only removals, or only project closes.
class RemovalsOnlyView : public IeventView {
public:
    RemovalsOnlyView() : IeventView(nullptr, IeventHeardBy<RemovalsOnlyView>()) {}
    void UpdateView(const IeventModuleRemoved& event) override
    {
        for (ImodelModule* unit : event.GetModules())
            heard.push_back(unit->GetName() + (IeventModuleRegistry::IsBeingDestroyed(unit) ? " dying" : " alive"));
    }
    std::vector<std::string> heard;
};

class ClosesOnlyView : public IeventView {
public:
    ClosesOnlyView() : IeventView(nullptr, IeventHeardBy<ClosesOnlyView>()) {}
    void UpdateView(const IeventProjectClosed&) override { ++closes; }
    int closes = 0;
};

}  // namespace

TEST_F(DesignTeardown, AViewThatHearsOnlyRemovalsHearsEachAsTheUnitsGoOneByOneAndOneThatHearsNoneChangesNothing)
{
    // A removal goes out only while some view hears removals: one that says
    // it hears them alone must still be told of every shown unit, in order,
    // each while it is being destroyed.
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        const int going = 1 + static_cast<int>(seed * 19 % 70);
        const int links = static_cast<int>(seed * 23 % 180);
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::vector<std::string> expected = HeardOneByOne(seed, going, 0, links).second;

        ClosesOnlyView closes;
        {
            World heard(seed, going, 0, links);
            ShowSome(heard, seed);
            RemovalsOnlyView removals;
            ImodelDestroyLibs(heard.libraries);
            EXPECT_EQ(removals.heard, expected);
        }

        // Nobody hears removals: the units go all the same, and the change
        // events know none of them afterwards.
        World unheard(seed, going, 0, links);
        ShowSome(unheard, seed);
        std::vector<std::uint64_t> serials;
        for (const ImodelModule* unit : unheard.going) serials.push_back(unit->GetUnitSerial());
        ImodelDestroyLibs(unheard.libraries);
        EXPECT_EQ(imodelLiveUnitCount(), 0u);
        EXPECT_EQ(closes.closes, 0);
        for (std::size_t i = 0; i < serials.size(); ++i) {
            EXPECT_FALSE(IeventModuleRegistry::IsAlive(unheard.going[i], serials[i]));
            EXPECT_FALSE(IeventModuleRegistry::IsBeingDestroyed(unheard.going[i]));
        }
    }
}

namespace {

// What a teardown leaves for others to see: the removals a view heard,
// the counts of units, views not resting and tool results, the tested and
// the process manager's unit, whether a waiting unit with a file is left.
struct Aftermath {
    std::vector<std::string> heard;
    std::size_t liveUnits = 0;
    std::size_t notResting = 0;
    std::size_t resultsHeld = 0;
    bool testedCleared = false;
    bool currentCleared = false;
    bool pendingWithFile = false;
    bool operator==(const Aftermath&) const = default;
};

// The views of a teardown: none, one that hears closes only (nobody hears
// a unit go), or one that hears removals.
enum class Listening {
    Nobody,
    ClosesOnly,
    Removals
};

// Random units with revisions made, some tool results and a file of their
// own, in libraries; the tested unit and the process manager's current
// unit set to a unit that goes in some seeds.
struct Closing {
    Closing(std::uint32_t seed, int going, int staying, int links, bool attach) : world(seed, going, staying, links)
    {
        std::mt19937 random(seed + 77);
        ShowSome(world, seed);
        for (ImodelModule* unit : world.going) {
            if (random() % 3 == 0) unit->GetContext()->GetAllRevs();
            if (random() % 4 == 0) unit->GetContext()->SetToolState(ideSYNTHESIS, nullptr, StateSuccess, true);
        }
        ImodelModule::GetTestedModule() = world.going[random() % world.going.size()];
        if (attach) Imodel::GetInstance().GetProcessManager()->AttachModule(world.going[random() % world.going.size()]);
    }
    World world;
};

template <class Teardown>
Aftermath Watched(Closing& closing, Listening listening, Teardown teardown)
{
    Aftermath after;
    {
        std::optional<ClosesOnlyView> closes;
        std::optional<RemovalsOnlyView> removals;
        if (listening == Listening::ClosesOnly) closes.emplace();
        if (listening == Listening::Removals) removals.emplace();
        teardown(closing.world);
        if (removals) after.heard = removals->heard;
    }
    after.liveUnits = imodelLiveUnitCount();
    after.notResting = ImodelRevContextImpl::NotResting();
    after.resultsHeld = ImodelContextToolStatesManager::ResultsHeld();
    after.testedCleared = ImodelModule::GetTestedModule() == nullptr;
    after.currentCleared = Imodel::GetInstance().GetProcessManager()->GetCurrentModule() == nullptr;
    after.pendingWithFile = ImodelContextImpl::AnyPendingOfUnitWithFile();
    return after;
}

}  // namespace

TEST_F(DesignTeardown, ClosingAndOpeningAgainHandsTheUnitsOverAndLeavesWhatDeletingThemOneByOneLeaves)
{
    // The shell's model has its process manager; views as a project has them.
    Imodel::GetInstance().GetProcessManager();
    std::vector<std::string> views = {"VALUE=\"first\",NUM=1", "VALUE=\"second\",NUM=2", "CURREV=2"};
    Imodel::GetInstance().GetRevisionManager()->ReadRevisions(views);
    imodelReclaimer& reclaimer = imodelTheReclaimer();
    reclaimer.Wait();
    std::uint64_t handed = reclaimer.ReclaimedOnThread() + reclaimer.ReclaimedInPlace();
    int quiet = 0;
    int loud = 0;
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        std::mt19937 random(seed);
        const int going = 1 + static_cast<int>(random() % 120);
        // Some designs leave units that stay (clones kept apart).
        const int staying = random() % 3 == 0 ? static_cast<int>(random() % 6) : 0;
        const int links = static_cast<int>(random() % 300);
        const auto listening = static_cast<Listening>(random() % 3);
        const bool attach = random() % 5 == 0;
        SCOPED_TRACE("seed " + std::to_string(seed));

        // In place: each unit leaves its library and is deleted, in order.
        Aftermath expected;
        std::string plainLinks;
        {
            Closing plain(seed, going, staying, links, attach);
            expected = Watched(plain, listening, [](World& world) {
                for (const LibraryPtr& library : world.libraries) {
                    const std::vector<ImodelModule*> units(library->GetModules()->begin(),
                                                           library->GetModules()->end());
                    for (ImodelModule* unit : units) EXPECT_TRUE(library->GetModules()->Extract(unit));
                }
            });
            plainLinks = plain.world.StayingLinks();
            // The units that stayed are counted as those of the teardown below.
        }

        // Together, as a closed project goes; the units of the last close
        // may still be on the reclaimer.
        Closing together(seed, going, staying, links, attach);
        std::vector<std::uint64_t> serials;
        for (const ImodelModule* unit : together.world.going) serials.push_back(unit->GetUnitSerial());
        const bool handsOver = listening != Listening::Removals && !attach;
        const Aftermath got = Watched(together, listening, [&](World& world) {
            ImodelDestroyLibs(world.libraries);
            if (handsOver) ++handed;
            // At most one hand-over pending: the one before is gone.
            EXPECT_GE(reclaimer.ReclaimedOnThread() + reclaimer.ReclaimedInPlace() + 1, handed);
        });
        (handsOver ? quiet : loud) += 1;
        EXPECT_EQ(got, expected);
        EXPECT_EQ(together.world.StayingLinks(), plainLinks);
        for (std::size_t i = 0; i < serials.size(); ++i) {
            EXPECT_FALSE(IeventModuleRegistry::IsAlive(together.world.going[i], serials[i]));
            EXPECT_FALSE(IeventModuleRegistry::IsBeingDestroyed(together.world.going[i]));
        }
        // A unit with a file waits for its views among what is left; the
        // lists name no unit that went (the sanitizer build catches a stale one).
        if (random() % 4 == 0) {
            reclaimer.Wait();
            const auto file = MakeFile("/d/waiting.vhd");
            auto waiting = MakeModule("waiting", file);
            EXPECT_TRUE(ImodelContextImpl::AnyPendingOfUnitWithFile());
        }
    }
    // Nothing handed over outlives the wait (the unload waits the same way).
    reclaimer.Wait();
    EXPECT_EQ(reclaimer.ReclaimedOnThread() + reclaimer.ReclaimedInPlace(), handed);
    EXPECT_FALSE(reclaimer.Busy());
    EXPECT_GT(quiet, 10);
    EXPECT_GT(loud, 10);
    Imodel::GetInstance().GetRevisionManager()->RemoveAllViews();
}
