// An index from a 32-bit key to a slot of a list kept elsewhere: one flat
// table, linear probing, no node per entry. A project may list a couple of
// hundred thousand views; a node-based map per index made reading them a
// walk of scattered memory per view.
//
// The key need not be unique: a lookup takes a test that tells, from the
// slot, whether the entry is the one wanted (the caller's list holds the
// real key). Slots are below 2^32 - 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class imodelSlotTable {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    // Room for `count` entries without growing.
    void Reserve(std::size_t count);
    void Clear();
    std::size_t Size() const { return m_size; }

    // The slot of the first entry of `key` whose slot `same` accepts; npos
    // when none does.
    template <class Same>
    std::size_t Find(std::uint32_t key, Same same) const
    {
        if (m_size == 0) return npos;
        for (std::size_t at = Home(key);; at = (at + 1) & m_mask) {
            const Entry& entry = m_entries[at];
            if (entry.slot == 0) return npos;
            if (entry.key == key && same(static_cast<std::size_t>(entry.slot - 1))) return entry.slot - 1;
        }
    }

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

    // Adds an entry; the caller knows that none holds the same thing.
    void Insert(std::uint32_t key, std::size_t slot);

    // Removes the entry of `key` and exactly that slot; false when there is
    // none.
    bool Erase(std::uint32_t key, std::size_t slot);

    // The key of an int: the number itself (a view's number is its own key).
    static std::uint32_t KeyOf(int number) { return static_cast<std::uint32_t>(number); }

private:
    struct Entry {
        std::uint32_t key = 0;
        std::uint32_t slot = 0;  // the slot plus one; 0 for a free place
    };

    // Where the probe of a key starts: the key's bits mixed, so that keys
    // that follow one another (view numbers) spread over the table.
    std::size_t Home(std::uint32_t key) const
    {
        return static_cast<std::size_t>((static_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ull) >> 32) & m_mask;
    }
    void Grow(std::size_t capacity);
    // (home << 32 | slot) for each slot of `keys`, sorted.
    std::vector<std::uint64_t> InHomeOrder(const std::vector<std::uint32_t>& keys) const;

    std::vector<Entry> m_entries;
    std::size_t m_mask = 0;
    std::size_t m_size = 0;
};
