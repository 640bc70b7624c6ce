// Positions in a list kept elsewhere, found by a 64-bit hash of what stands
// there: one flat array, linear probing, no node per entry, so an index of a
// hundred thousand entries fills and empties without a block per entry.
// Several positions may share a hash, or the same key: a lookup takes a
// test of the position (the caller's list holds the real key), and of the
// positions it accepts, the highest answers (with positions added in the
// list's order, the one added last). Entries are only added; the index is
// emptied whole.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class ImodelHashPositions {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::size_t Size() const { return m_used; }

    void Add(std::uint64_t hash, std::size_t position)
    {
        // At most seven cells in ten are taken, so probes stay short.
        if ((m_used + 1) * 10 > m_cells.size() * 7) Grow();
        Place(Cell{hash, position});
        ++m_used;
    }

    // The highest position of `hash` that `same(position)` accepts; npos
    // when none does. A position below one already accepted is not tested.
    template <class Same>
    std::size_t FindLast(std::uint64_t hash, Same same) const
    {
        std::size_t found = npos;
        if (m_cells.empty()) return found;
        const std::size_t mask = m_cells.size() - 1;
        for (std::size_t at = Home(hash); m_cells[at].position != npos; at = (at + 1) & mask) {
            const Cell& cell = m_cells[at];
            if (cell.hash == hash && (found == npos || cell.position > found) && same(cell.position))
                found = cell.position;
        }
        return found;
    }

    void Clear()
    {
        std::vector<Cell>().swap(m_cells);
        m_used = 0;
        m_shift = 64;
    }
    // Empties the index but keeps its array when that is not much larger
    // than what it held, for an index filled and emptied again and again:
    // it is not made and grown afresh each time, and emptying costs what
    // filling did.
    void ClearKeepingRoom()
    {
        if (m_cells.size() > 4 * std::max<std::size_t>(m_used, 64)) return Clear();
        std::fill(m_cells.begin(), m_cells.end(), Cell{});
        m_used = 0;
    }

private:
    struct Cell {
        std::uint64_t hash = 0;
        std::size_t position = npos;  // npos: a free cell
    };

    // Fibonacci hashing: the high bits of the product spread any hash.
    std::size_t Home(std::uint64_t hash) const
    {
        return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ULL) >> m_shift);
    }
    void Place(const Cell& cell)
    {
        const std::size_t mask = m_cells.size() - 1;
        std::size_t at = Home(cell.hash);
        while (m_cells[at].position != npos) at = (at + 1) & mask;
        m_cells[at] = cell;
    }
    void Grow()
    {
        const std::size_t size = m_cells.empty() ? 16 : m_cells.size() * 2;
        const std::vector<Cell> old = std::exchange(m_cells, std::vector<Cell>(size));
        m_shift = 64 - std::countr_zero(size);
        for (const Cell& cell : old)
            if (cell.position != npos) Place(cell);
    }

    std::vector<Cell> m_cells;
    std::size_t m_used = 0;
    int m_shift = 64;
};
