#include "src/imodel/views/imodelSlotTable.h"

#include <algorithm>
#include <array>
#include <utility>

void imodelSlotTable::Reserve(std::size_t count)
{
    // At most half full: probes stay short.
    std::size_t capacity = 16;
    while (capacity < 2 * count) capacity *= 2;
    if (capacity > m_entries.size()) Grow(capacity);
}

void imodelSlotTable::Clear()
{
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_mask = 0;
    m_size = 0;
}

void imodelSlotTable::Insert(std::uint32_t key, std::size_t slot)
{
    if (2 * (m_size + 1) > m_entries.size()) Reserve(m_size + 1);
    std::size_t at = Home(key);
    while (m_entries[at].slot != 0) at = (at + 1) & m_mask;
    m_entries[at] = Entry{key, static_cast<std::uint32_t>(slot + 1)};
    ++m_size;
}

bool imodelSlotTable::Erase(std::uint32_t key, std::size_t slot)
{
    if (m_size == 0) return false;
    const auto stored = static_cast<std::uint32_t>(slot + 1);
    std::size_t hole = Home(key);
    for (;; hole = (hole + 1) & m_mask) {
        const Entry& entry = m_entries[hole];
        if (entry.slot == 0) return false;
        if (entry.key == key && entry.slot == stored) break;
    }
    // The entries after the hole that could not stand at their home place
    // move back into it, so that no probe meets a free place too early.
    for (std::size_t next = (hole + 1) & m_mask; m_entries[next].slot != 0; next = (next + 1) & m_mask) {
        const std::size_t home = Home(m_entries[next].key);
        // Whether `home` lies cyclically in (hole, next]: then the entry
        // stays.
        const bool stays = hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
        if (stays) continue;
        m_entries[hole] = m_entries[next];
        hole = next;
    }
    m_entries[hole] = Entry{};
    --m_size;
    return true;
}

void imodelSlotTable::Grow(std::size_t capacity)
{
    std::vector<Entry> old = std::exchange(m_entries, std::vector<Entry>(capacity));
    m_mask = capacity - 1;
    for (const Entry& entry : old) {
        if (entry.slot == 0) continue;
        std::size_t at = Home(entry.key);
        while (m_entries[at].slot != 0) at = (at + 1) & m_mask;
        m_entries[at] = entry;
    }
}

std::vector<std::uint64_t> imodelSlotTable::InHomeOrder(const std::vector<std::uint32_t>& keys) const
{
    std::vector<std::uint64_t> order(keys.size());
    for (std::size_t slot = 0; slot < keys.size(); ++slot)
        order[slot] = static_cast<std::uint64_t>(Home(keys[slot])) << 32 | slot;
    // Sorted by home, then slot. A few entries are sorted as numbers.
    constexpr std::size_t kSortedAsNumbers = 4096;
    if (order.size() <= kSortedAsNumbers) {
        std::sort(order.begin(), order.end());
        return order;
    }
    // A home is below the table's size: its bits are sorted in as few
    // stable passes as keep the counts of a pass small (a few KB, in cache;
    // counts as wide as the home made every open clear and walk tables far
    // larger than a list of some thousand views).
    constexpr int kMostBitsPerPass = 11;
    int bits = 0;
    while ((std::size_t{1} << bits) <= m_mask) ++bits;
    const int passes = (bits + kMostBitsPerPass - 1) / kMostBitsPerPass;
    const int digit = (bits + passes - 1) / passes;
    const std::uint64_t digitMask = (std::uint64_t{1} << digit) - 1;
    std::vector<std::uint64_t> other(order.size());
    std::vector<std::uint32_t> starts(std::size_t{1} << digit);
    for (int pass = 0; pass < passes; ++pass) {
        const int shift = 32 + pass * digit;
        std::fill(starts.begin(), starts.end(), 0);
        for (const std::uint64_t entry : order) ++starts[(entry >> shift) & digitMask];
        std::uint32_t next = 0;
        for (std::uint32_t& start : starts) next += std::exchange(start, next);
        for (const std::uint64_t entry : order) other[starts[(entry >> shift) & digitMask]++] = entry;
        order.swap(other);
    }
    return order;
}
