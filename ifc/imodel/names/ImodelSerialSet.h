// A set of unit serials. Serials are handed out in order, so those of the
// units that stand together lie close together: a bit per serial, in pages
// found by their number, holds the serials of a hundred thousand units in a
// few kilobytes that stay in the cache, where a table of the serials would
// be megabytes probed at random.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>

class ImodelSerialSet {
public:
    // False when the serial was already in the set.
    bool Add(std::uint64_t serial)
    {
        std::uint64_t& word = m_pages[serial / kPageBits][serial % kPageBits / 64];
        const std::uint64_t bit = std::uint64_t{1} << (serial % 64);
        if ((word & bit) != 0) return false;
        word |= bit;
        return true;
    }

    bool Contains(std::uint64_t serial) const
    {
        const auto page = m_pages.find(serial / kPageBits);
        return page != m_pages.end() && (page->second[serial % kPageBits / 64] >> (serial % 64) & 1) != 0;
    }

    void Clear() { m_pages.clear(); }

private:
    static constexpr std::uint64_t kPageBits = 4096;
    // A new page is all zeros: value-initialised by the map.
    std::unordered_map<std::uint64_t, std::array<std::uint64_t, kPageBits / 64>> m_pages;
};
