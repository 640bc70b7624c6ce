// A lazy value's watch hears of every value made and gone, whatever the
// holders do with them (copies, moves, resets, assignments, their own end):
// the values it knows are always exactly those held.
#include "imodel/names/ImodelLazy.h"
#include "imodel/names/ImodelLazyList.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <deque>
#include <optional>
#include <random>
#include <set>
#include <vector>

namespace {

using List = std::deque<int>;

struct Watch {
    static std::set<const List*>& Known()
    {
        static std::set<const List*> known;
        return known;
    }
    static void Made(const List& list) { ASSERT_TRUE(Known().insert(&list).second); }
    static void Gone(const List& list) { ASSERT_EQ(Known().erase(&list), 1u); }
};

using Watched = ImodelLazyList<List, Watch>;

std::set<const List*> Held(const std::vector<std::optional<Watched>>& holders)
{
    std::set<const List*> held;
    for (const auto& holder : holders)
        if (holder && !holder->empty()) held.insert(&holder->Get());
    return held;
}

}  // namespace

TEST(LazyWatch, TheWatchKnowsExactlyTheValuesHeld)
{
    std::mt19937 random(41);
    const auto pick = [&random](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
    };
    {
        std::vector<std::optional<Watched>> holders(6);
        for (int step = 0; step < 5000; ++step) {
            auto& one = holders[pick(holders.size())];
            auto& other = holders[pick(holders.size())];
            switch (pick(8)) {
            case 0:
                if (!one) one.emplace();
                one->Use().push_back(step);
                break;
            case 1:
                if (one) *one = List(pick(3), step);  // an empty list takes no value
                break;
            case 2:
                if (other && &one != &other) one.emplace(*other);
                break;
            case 3:
                if (one && other) *one = *other;
                break;
            case 4:
                if (other && &one != &other) one.emplace(std::move(*other));
                break;
            case 5:
                if (one && other && &one != &other) *one = std::move(*other);
                break;
            case 6:
                if (one) one->clear();
                break;
            default:
                one.reset();
                break;
            }
            // A value used and then emptied is still made; Held counts only
            // non-empty ones, so those are compared as a subset.
            const std::set<const List*> held = Held(holders);
            for (const List* list : held) ASSERT_TRUE(Watch::Known().count(list)) << "step " << step;
            std::size_t made = 0;
            for (const auto& holder : holders)
                if (holder && Watch::Known().count(&holder->Get())) ++made;
            ASSERT_EQ(made, Watch::Known().size()) << "step " << step;
        }
    }
    EXPECT_TRUE(Watch::Known().empty());
}
