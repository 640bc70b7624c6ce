// A walk over a large node-based container (a library's units, the
// project's files) whose elements are each looked at briefly, as a save
// does: each element is a few cache misses (its node, the object it
// holds, what that object points to), one after the other. The walk
// prefetches the memory of the elements some places ahead while it goes
// on, so that their misses overlap:
//   - `ahead(element, 0)` when the walk reaches an element (prefetch the
//     object itself),
//   - `ahead(element, 1)` half the depth later (the object is in the cache
//     by then: prefetch what it points to),
//   - `visit(element)` the full depth later, in the container's order.
// The elements handed over are the range's own values when they are
// pointers, else pointers to the elements.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <type_traits>

// Prefetches the `bytes` bytes at `object` into the cache:
// every line they touch, the last one too when they start within a line.
inline void ImodelPrefetch(const void* object, std::size_t bytes = 1)
{
    constexpr std::uintptr_t kLine = 64;
    const auto start = reinterpret_cast<std::uintptr_t>(object);
    for (std::uintptr_t line = start & ~(kLine - 1); line < start + bytes; line += kLine)
        __builtin_prefetch(reinterpret_cast<const void*>(line));
}

template <class Range, class Ahead, class Visit>
void ImodelVisitAhead(const Range& range, Ahead ahead, Visit visit)
{
    constexpr std::size_t kDepth = 16;
    using Value = std::remove_cvref_t<decltype(*std::begin(range))>;
    using Element = std::conditional_t<std::is_pointer_v<Value>, Value, const Value*>;
    Element ring[kDepth];
    std::size_t count = 0;
    for (const auto& value : range) {
        Element element;
        if constexpr (std::is_pointer_v<Value>) {
            element = value;
        } else {
            element = std::addressof(value);
        }
        ahead(element, 0);
        if (count >= kDepth / 2) ahead(ring[(count - kDepth / 2) % kDepth], 1);
        if (count >= kDepth) visit(ring[count % kDepth]);
        ring[count % kDepth] = element;
        ++count;
    }
    for (std::size_t at = count > kDepth ? count - kDepth : 0; at < count; ++at) visit(ring[at % kDepth]);
}
