// Sums over every path of a design-unit hierarchy without going along every
// path. A unit shared by several units stands at several places of the
// hierarchy and answers that go once along every path (the simulator
// parameters, the file count) count it at each place; walking each path
// doubles the work with every level of a diamond. These helpers work out
// such sums once per unit, from the units below it.
//
// The hierarchy is the one below a top unit through the sub-block lists,
// depth-first in list order. A link to a unit on the current path (one that
// closes a cycle) is not followed, as the walks along every path do not
// enter such a unit again.
#pragma once

#include "imodel/design/ImodelModule.h"

#include <cstdint>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace imodelHierarchyWalk {

// Saturating sum: a count along every path may pass any fixed width.
inline std::uint64_t Add(std::uint64_t a, std::uint64_t b)
{
    return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

// The units below `top` (itself included), each after every unit below it.
// A link from a unit to a unit that comes later in this order is a link
// that closes a cycle (it leads back to a unit on the path).
class PostOrder {
public:
    explicit PostOrder(const ImodelModule* top)
    {
        if (top == nullptr) return;
        std::unordered_set<const ImodelModule*> met{top};
        std::vector<std::pair<const ImodelModule*, ImodelLinkList::const_iterator>> stack;
        const auto open = [&stack](const ImodelModule* unit) {
            const ImodelLinkList* subs = unit->GetSubBlocks();
            stack.emplace_back(unit, subs ? subs->begin() : ImodelLinkList::const_iterator());
        };
        open(top);
        while (!stack.empty()) {
            auto& [unit, at] = stack.back();
            const ImodelLinkList* subs = unit->GetSubBlocks();
            if (subs == nullptr || at == subs->end()) {
                m_place.emplace(unit, m_units.size());
                m_units.push_back(unit);
                stack.pop_back();
                continue;
            }
            const ImodelModule* sub = *at++;
            if (met.insert(sub).second) open(sub);
        }
    }

    const std::vector<const ImodelModule*>& Units() const { return m_units; }
    // The unit's place in the order; none for a unit outside the hierarchy.
    std::size_t PlaceOf(const ImodelModule* unit) const
    {
        const auto found = m_place.find(unit);
        return found == m_place.end() ? kNone : found->second;
    }
    // Whether the walks follow the link from `unit` to `sub`.
    bool Follows(const ImodelModule* unit, const ImodelModule* sub) const { return PlaceOf(sub) < PlaceOf(unit); }

    static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

private:
    std::vector<const ImodelModule*> m_units;
    std::unordered_map<const ImodelModule*, std::size_t> m_place;
};

// For each unit of the hierarchy, the sum of `own` over every place below
// it, itself included (a unit reached along two paths counts twice).
class SizeMap {
public:
    template <class Own>
    SizeMap(const ImodelModule* top, Own own) : m_order(top), m_sums(m_order.Units().size())
    {
        const std::vector<const ImodelModule*>& units = m_order.Units();
        for (std::size_t place = 0; place < units.size(); ++place) {
            std::uint64_t sum = own(*units[place]);
            if (const ImodelLinkList* subs = units[place]->GetSubBlocks()) {
                for (const ImodelModule* sub : *subs) {
                    const std::size_t at = m_order.PlaceOf(sub);
                    if (at < place) sum = Add(sum, m_sums[at]);
                }
            }
            m_sums[place] = sum;
        }
    }

    // 0 for a unit outside the hierarchy.
    std::uint64_t Of(const ImodelModule* unit) const
    {
        const std::size_t place = m_order.PlaceOf(unit);
        return place == PostOrder::kNone ? 0 : m_sums[place];
    }
    const PostOrder& Order() const { return m_order; }

private:
    PostOrder m_order;
    std::vector<std::uint64_t> m_sums;
};

template <class Own>
SizeMap Sizes(const ImodelModule* top, Own own)
{
    return SizeMap(top, own);
}

}  // namespace imodelHierarchyWalk
