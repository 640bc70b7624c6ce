#include "src/imodel/views/imodelSlotTable.h"

#include <algorithm>
#include <utility>

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
    while ((std::size_t{1} << bits) < Cells()) ++bits;
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
