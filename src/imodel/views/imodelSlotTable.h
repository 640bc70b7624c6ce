// An index from a 32-bit key to a slot of a list kept elsewhere: one flat
// table, linear probing, no node per entry. A project may list a couple of
// hundred thousand views; a node-based map per index made reading them a
// walk of scattered memory per view.
//
// The key need not be unique: a lookup (Find) takes a test that tells, from
// the slot, whether the entry is the one wanted (the caller's list holds
// the real key). Slots are below 2^32 - 1.
#pragma once

#include "imodel/names/ImodelPositionTable.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The cells of the view indexes: 8 bytes each, a slot held plus one so that
// 0 marks a free cell; at most half taken, so probes stay short; a renamed
// view's entry is removed.
struct imodelSlotCells {
    using Key = std::uint32_t;
    using Stored = std::uint32_t;
    static constexpr Stored kFree = 0;
    static constexpr Stored Store(std::size_t slot) { return static_cast<Stored>(slot + 1); }
    static constexpr std::size_t Load(Stored stored) { return stored - 1; }
    static constexpr std::size_t kFirstCells = 16;
    static constexpr std::size_t kMostTaken = 1;
    static constexpr std::size_t kOfCells = 2;
    static constexpr bool kErases = true;
};

class imodelSlotTable : public ImodelPositionTable<imodelSlotCells> {
public:
    // Makes the table hold slot i under keys[i] for every i, writing its
    // memory front to back rather than at random places (a list of many
    // thousand entries is indexed at once). `same(a, b)` tells whether two
    // slots of one key hold the same thing: then the table is left empty
    // and the answer is false.
    template <class Same>
    bool Fill(const std::vector<std::uint32_t>& keys, Same same)
    {
        Clear();
        Reserve(keys.size());
        const std::vector<std::uint64_t> order = InHomeOrder(keys);
        for (std::size_t at = 0; at < order.size(); ++at) {
            const std::size_t slot = static_cast<std::uint32_t>(order[at]);
            // Entries of one key share their home: the repeats of a key
            // stand among the entries of that home.
            for (std::size_t other = at + 1; other < order.size() && order[other] >> 32 == order[at] >> 32; ++other) {
                const std::size_t otherSlot = static_cast<std::uint32_t>(order[other]);
                if (keys[otherSlot] == keys[slot] && same(slot, otherSlot)) {
                    Clear();
                    return false;
                }
            }
            Insert(keys[slot], slot);
        }
        return true;
    }

    // The key of an int: the number itself (a view's number is its own key).
    static std::uint32_t KeyOf(int number) { return static_cast<std::uint32_t>(number); }

private:
    // (home << 32 | slot) for each slot of `keys`, sorted.
    std::vector<std::uint64_t> InHomeOrder(const std::vector<std::uint32_t>& keys) const;
};
