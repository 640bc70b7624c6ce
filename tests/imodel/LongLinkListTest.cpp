// Link lists long enough to be indexed: a random run of linking,
// unlinking and putting one unit in another's places, checked against
// plain lists kept beside it, so that the index answers what a walk over
// the list would, in the list's order.
#include "ModuleTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using List = std::deque<ImodelModule*>;

void EraseFirst(List& list, ImodelModule* unit)
{
    const auto found = std::find(list.begin(), list.end(), unit);
    if (found != list.end()) list.erase(found);
}

List Of(const ImodelLinkList* list) { return list ? list->ToList() : List(); }

// The list walked from the back, and what its ends and size say, as the
// plain list says them.
void ExpectReadsAs(const ImodelLinkList* list, const List& plain, const std::string& where)
{
    if (list == nullptr) return;
    ASSERT_EQ(list->size(), plain.size()) << where;
    ASSERT_EQ(list->empty(), plain.empty()) << where;
    ASSERT_TRUE(*list == plain) << where;
    ASSERT_EQ(List(list->rbegin(), list->rend()), List(plain.rbegin(), plain.rend())) << where;
    if (plain.empty()) return;
    ASSERT_EQ(list->front(), plain.front()) << where;
    ASSERT_EQ(list->back(), plain.back()) << where;
}

class LongLinkLists : public ModuleFixture {};

// A random run of `steps` link changes over `count` units, every ninth a
// package (linked in front); `removing(step)` out of ten changes take links
// away. Checked against plain lists kept beside it.
void RunAgainstPlainLists(unsigned seed, int count, int steps, const std::function<unsigned(int)>& removing,
                          std::map<ImodelModule*, List>& subs, std::map<ImodelModule*, List>& parents,
                          std::vector<std::unique_ptr<ImodelModule>>& owned)
{
    std::mt19937 random(seed);
    std::vector<ImodelModule*> units;
    for (int i = 0; i < count; ++i) {
        owned.push_back(MakeModule("u" + std::to_string(i), nullptr, zorpaMODULE_VHDL, i % 9 == 0));
        units.push_back(owned.back().get());
    }
    // Which units have a list at all: a unit has none until linked, and
    // none again once its lists are dropped (GetSubBlocks and
    // GetParentsList answer null then).
    std::map<ImodelModule*, bool> hasSubs;
    std::map<ImodelModule*, bool> hasParents;
    // Few units are used by most: their parent lists grow long.
    const auto pick = [&] { return units[random() % 4 == 0 ? random() % units.size() : random() % 6]; };

    for (int step = 0; step < steps; ++step) {
        ImodelModule* a = units[random() % units.size()];
        ImodelModule* b = pick();
        const unsigned roll = random() % 10;
        switch (roll < removing(step) ? 5 + roll % 4 : 0) {
        case 5:
            a->RemoveSubBlock(b, true);
            EraseFirst(subs[a], b);
            if (std::count(subs[a].begin(), subs[a].end(), b) == 0) EraseFirst(parents[b], a);
            break;
        case 6:
            a->DetachSubBlock(b);
            std::erase(subs[a], b);
            EraseFirst(parents[b], a);
            break;
        case 7:
            if (random() % 20 != 0) break;
            a->DestroySubBlockList(false);
            for (ImodelModule* sub : subs[a]) EraseFirst(parents[sub], a);
            for (ImodelModule* parent : parents[a]) std::erase(subs[parent], a);
            subs[a].clear();
            parents[a].clear();
            hasSubs[a] = hasParents[a] = false;
            break;
        case 8: {
            // Another unit takes b's places below a, in a's order.
            ImodelModule* c = pick();
            const bool listed = a->GetSubBlocks() != nullptr;
            const auto count = static_cast<int>(std::count(subs[a].begin(), subs[a].end(), b));
            ASSERT_EQ(a->ReplaceSubBlock(b, c), count) << "at step " << step;
            if (!listed || b == c) break;
            std::replace(subs[a].begin(), subs[a].end(), b, c);
            EraseFirst(parents[b], a);
            if (count > 0 && std::find(parents[c].begin(), parents[c].end(), a) == parents[c].end()) {
                parents[c].push_back(a);
                hasParents[c] = true;
            }
            break;
        }
        default:
            a->AddSubBlock(b, false);
            if (b->IsPackage())
                subs[a].push_front(b);
            else
                subs[a].push_back(b);
            if (std::find(parents[b].begin(), parents[b].end(), a) == parents[b].end()) parents[b].push_back(a);
            hasSubs[a] = hasParents[b] = true;
            break;
        }
        // A lookup between changes, at random: entries added at the back
        // wait for the next lookup to enter a long list's index.
        if (random() % 5 == 0) {
            ImodelModule* other = units[random() % units.size()];
            const bool upward = random() % 2 == 0;
            const ImodelLinkList* links = upward ? b->GetParentsList() : a->GetSubBlocks();
            const List& plain = upward ? parents[b] : subs[a];
            if (links != nullptr) {
                ASSERT_EQ(links->Count(other), static_cast<std::size_t>(std::count(plain.begin(), plain.end(), other)))
                    << "at step " << step;
            }
        }
        if (step % 97 != 0 && step != steps - 1) continue;
        for (ImodelModule* unit : units) {
            ASSERT_EQ(unit->GetSubBlocks() != nullptr, hasSubs[unit]) << unit->GetName() << " at step " << step;
            ASSERT_EQ(unit->GetParentsList() != nullptr, hasParents[unit]) << unit->GetName() << " at step " << step;
            ASSERT_EQ(Of(unit->GetSubBlocks()), subs[unit]) << unit->GetName() << " at step " << step;
            ASSERT_EQ(Of(unit->GetParentsList()), parents[unit]) << unit->GetName() << " at step " << step;
            const std::string where = unit->GetName() + " at step " + std::to_string(step);
            ExpectReadsAs(unit->GetSubBlocks(), subs[unit], where);
            ExpectReadsAs(unit->GetParentsList(), parents[unit], where);
            for (ImodelModule* other : units) {
                if (unit->GetSubBlocks() == nullptr) break;
                ASSERT_EQ(unit->GetSubBlocks()->Count(other),
                          static_cast<std::size_t>(std::count(subs[unit].begin(), subs[unit].end(), other)));
            }
            for (ImodelModule* other : units) {
                if (unit->GetParentsList() == nullptr) break;
                ASSERT_EQ(unit->GetParentsList()->Count(other),
                          static_cast<std::size_t>(std::count(parents[unit].begin(), parents[unit].end(), other)));
            }
        }
    }
}

}  // namespace

TEST_F(LongLinkLists, ARandomRunAnswersAsThePlainListsDo)
{
    std::map<ImodelModule*, List> subs;
    std::map<ImodelModule*, List> parents;
    std::vector<std::unique_ptr<ImodelModule>> owned;
    // Three changes in ten take links away (the plain mix).
    RunAgainstPlainLists(
        81, 48, 20000, [](int) { return 3u; }, subs, parents, owned);
    // The run did reach lists that are indexed.
    std::size_t longest = 0;
    for (const auto& [unit, list] : parents) longest = std::max(longest, list.size());
    for (const auto& [unit, list] : subs) longest = std::max(longest, list.size());
    EXPECT_GT(longest, 40u);

    // A copy of a long list answers as the list does.
    ImodelModule* busy = owned[0].get();
    const ImodelLinkList copy(*busy->GetParentsList());
    EXPECT_EQ(copy.ToList(), parents[busy]);
    for (const auto& unit : owned) EXPECT_EQ(copy.Count(unit.get()), busy->GetParentsList()->Count(unit.get()));
}

TEST_F(LongLinkLists, ListsThatGrowLongAndEmptyAgainAnswerAsThePlainListsDo)
{
    // Long stretches of linking, then of unlinking: long lists fill with
    // entries taken out, are packed, and run short again; packages come
    // and go in front.
    for (unsigned seed = 1; seed <= 3; ++seed) {
        std::map<ImodelModule*, List> subs;
        std::map<ImodelModule*, List> parents;
        std::vector<std::unique_ptr<ImodelModule>> owned;
        RunAgainstPlainLists(
            seed, 12, 12000, [](int step) { return (step / 1500) % 2 ? 9u : 1u; }, subs, parents, owned);
    }
}

TEST_F(LongLinkLists, ShortListsAndTheirCopiesAnswerAsThePlainListsDo)
{
    // Many units and few links: most lists hold none, one or two entries
    // (the entry held in the list itself), packages going in front of them.
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::map<ImodelModule*, List> subs;
        std::map<ImodelModule*, List> parents;
        std::vector<std::unique_ptr<ImodelModule>> owned;
        RunAgainstPlainLists(
            seed, 40, 120 + 10 * static_cast<int>(seed), [](int) { return 2u; }, subs, parents, owned);
        ImodelLinkList assigned;
        for (const auto& unit : owned) {
            for (const ImodelLinkList* list : {unit->GetSubBlocks(), unit->GetParentsList()}) {
                if (list == nullptr) continue;
                const ImodelLinkList copy(*list);
                ExpectReadsAs(&copy, list->ToList(), unit->GetName() + " copied");
                assigned = *list;
                ExpectReadsAs(&assigned, list->ToList(), unit->GetName() + " assigned");
                // A list moved on answers as it did; the one it left is empty.
                ImodelLinkList source(*list);
                ImodelLinkList moved(std::move(source));
                ExpectReadsAs(&moved, list->ToList(), unit->GetName() + " moved");
                ExpectReadsAs(&source, List(), unit->GetName() + " moved from");
                source = std::move(moved);
                ExpectReadsAs(&source, list->ToList(), unit->GetName() + " moved back");
                ExpectReadsAs(&moved, List(), unit->GetName() + " moved back from");
                for (const auto& other : owned) ASSERT_EQ(source.Count(other.get()), list->Count(other.get()));
            }
            // A copy of the unit shares its sub-blocks, each listing the
            // copy as a further parent.
            const ImodelModule copy(*unit);
            EXPECT_EQ(copy.GetParentsList(), nullptr) << unit->GetName();
            ASSERT_EQ(Of(copy.GetSubBlocks()), subs[unit.get()]) << unit->GetName();
            for (ImodelModule* sub : subs[unit.get()]) ASSERT_TRUE(sub->GetParentsList()->Contains(&copy));
        }
        // The copies are gone: each sub-block's parents are as before.
        for (const auto& unit : owned) ASSERT_EQ(Of(unit->GetParentsList()), parents[unit.get()]) << unit->GetName();
    }
}
