// The walk that prefetches memory ahead visits what a plain walk visits, in
// the same order, once each, for every size around its depth, over
// containers of pointers and of values.
#include "imodel/names/ImodelVisitAhead.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

TEST(VisitAhead, VisitsWhatAPlainWalkVisitsInOrder)
{
    std::mt19937 random(28);
    for (int size = 0; size < 80; ++size) {
        std::map<int, std::string> values;
        while (static_cast<int>(values.size()) < size)
            values.emplace(std::uniform_int_distribution<int>(0, 100000)(random), "v" + std::to_string(size));
        std::vector<const std::pair<const int, std::string>*> plain;
        for (const auto& value : values) plain.push_back(&value);
        std::vector<const std::pair<const int, std::string>*> visited;
        std::multiset<const void*> first;
        std::multiset<const void*> second;
        ImodelVisitAhead(
            values,
            [&](const auto* element, int stage) {
                // Only elements of the range are prefetched, before their visit.
                EXPECT_EQ(std::count(visited.begin(), visited.end(), element), 0);
                (stage == 0 ? first : second).insert(element);
                ImodelPrefetch(element->second.data());
            },
            [&](const auto* element) { visited.push_back(element); });
        EXPECT_EQ(visited, plain) << size;
        EXPECT_EQ(first.size(), plain.size());
        for (const auto* element : plain) EXPECT_EQ(first.count(element), 1u);
        for (const void* element : second) EXPECT_EQ(first.count(element), 1u);

        // A container of pointers hands the pointers over.
        std::list<const std::string*> pointers;
        for (const auto& value : values) pointers.push_back(&value.second);
        std::vector<const std::string*> seen;
        ImodelVisitAhead(
            pointers, [](const std::string* text, int) { ImodelPrefetch(text, sizeof *text); },
            [&seen](const std::string* text) { seen.push_back(text); });
        EXPECT_EQ(seen, std::vector<const std::string*>(pointers.begin(), pointers.end()));
    }
}
