// Puts pointers in the order of the addresses they hold, for a pass over
// many objects whose order does not matter: objects made one after the
// other lie side by side, and visiting them in address order shares their
// pages and cache lines between neighbours instead of jumping about.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// Sorts [first, last) by address: a radix sort of the addresses' offsets
// from the lowest, 11 bits a pass, as many passes as the span needs; a
// plain sort for a few pointers.
template <class T>
void ImodelSortByAddress(T** first, T** last)
{
    const std::size_t count = static_cast<std::size_t>(last - first);
    if (count < 256) {
        std::sort(first, last, std::less<>());
        return;
    }
    const auto address = [](const T* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); };
    std::uintptr_t lowest = address(*first);
    std::uintptr_t highest = lowest;
    for (T** at = first; at != last; ++at) {
        lowest = std::min(lowest, address(*at));
        highest = std::max(highest, address(*at));
    }
    constexpr unsigned kBits = 11;
    constexpr std::size_t kBuckets = std::size_t{1} << kBits;
    std::vector<T*> spare(count);
    T** from = first;
    T** to = spare.data();
    for (unsigned shift = 0; shift < 64 && ((highest - lowest) >> shift) != 0; shift += kBits) {
        std::array<std::size_t, kBuckets> starts{};
        const auto digit = [&](const T* pointer) { return ((address(pointer) - lowest) >> shift) & (kBuckets - 1); };
        for (std::size_t i = 0; i < count; ++i) ++starts[digit(from[i])];
        std::size_t sum = 0;
        for (std::size_t& start : starts) sum += std::exchange(start, sum);
        for (std::size_t i = 0; i < count; ++i) to[starts[digit(from[i])]++] = from[i];
        std::swap(from, to);
    }
    if (from != first) std::copy(from, from + count, first);
}
