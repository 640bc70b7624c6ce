// Link lists long enough to be indexed: a random run of linking and
// unlinking, checked against plain lists kept beside it, so that the index
// answers what a walk over the list would, in the list's order.
#include "ModuleTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <random>
#include <vector>

namespace {

using List = std::deque<ImodelModule*>;

void EraseFirst(List& list, ImodelModule* unit)
{
    const auto found = std::find(list.begin(), list.end(), unit);
    if (found != list.end()) list.erase(found);
}

List Of(const ImodelLinkList* list) { return list ? list->ToList() : List(); }

class LongLinkLists : public ModuleFixture {};

}  // namespace

TEST_F(LongLinkLists, ARandomRunAnswersAsThePlainListsDo)
{
    std::mt19937 random(81);
    std::vector<std::unique_ptr<ImodelModule>> owned;
    std::vector<ImodelModule*> units;
    for (int i = 0; i < 48; ++i) {
        owned.push_back(MakeModule("u" + std::to_string(i), nullptr, zorpaMODULE_VHDL, i % 9 == 0));
        units.push_back(owned.back().get());
    }
    // What each unit's lists must hold.
    std::map<ImodelModule*, List> subs;
    std::map<ImodelModule*, List> parents;
    // Few units are used by most: their parent lists grow long.
    const auto pick = [&] { return units[random() % 4 == 0 ? random() % units.size() : random() % 6]; };

    for (int step = 0; step < 20000; ++step) {
        ImodelModule* a = units[random() % units.size()];
        ImodelModule* b = pick();
        switch (random() % 10) {
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
            break;
        default:
            a->AddSubBlock(b, false);
            if (b->IsPackage())
                subs[a].push_front(b);
            else
                subs[a].push_back(b);
            if (std::find(parents[b].begin(), parents[b].end(), a) == parents[b].end()) parents[b].push_back(a);
            break;
        }
        if (step % 97 != 0 && step != 19999) continue;
        for (ImodelModule* unit : units) {
            ASSERT_EQ(Of(unit->GetSubBlocks()), subs[unit]) << unit->GetName() << " at step " << step;
            ASSERT_EQ(Of(unit->GetParentsList()), parents[unit]) << unit->GetName() << " at step " << step;
            for (ImodelModule* other : units) {
                if (unit->GetSubBlocks() == nullptr) break;
                ASSERT_EQ(unit->GetSubBlocks()->Count(other),
                          static_cast<std::size_t>(std::count(subs[unit].begin(), subs[unit].end(), other)));
            }
        }
    }
    // The run did reach lists that are indexed.
    std::size_t longest = 0;
    for (const auto& [unit, list] : parents) longest = std::max(longest, list.size());
    for (const auto& [unit, list] : subs) longest = std::max(longest, list.size());
    EXPECT_GT(longest, 40u);

    // A copy of a long list answers as the list does.
    ImodelModule* busy = units[0];
    const ImodelLinkList copy(*busy->GetParentsList());
    EXPECT_EQ(copy.ToList(), parents[busy]);
    for (ImodelModule* unit : units) EXPECT_EQ(copy.Count(unit), busy->GetParentsList()->Count(unit));
}
