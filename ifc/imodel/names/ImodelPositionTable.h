// Positions in a list kept elsewhere, found by a key of what stands there (a
// hash, a number): one flat array, linear probing, no node per entry, so an
// index of a couple of hundred thousand entries fills and empties without a
// block per entry and a lookup reads one run of cells.
//
// A key need not be unique: several positions may share one, and a lookup
// takes a test of the position (the caller's list holds the real thing).
//
// The indexes built on it differ only in what a traits class says:
//   Key                  the key, an unsigned integer of at most 64 bits;
//   Stored, kFree,       how a cell holds a position and which value marks
//   Store(p), Load(s)    a free cell;
//   kFirstCells,         the growth rule: the first array's size (a power
//   kMostTaken/kOfCells  of two), and how many cells in kOfCells may be
//                        taken before the array doubles;
//   kErases              whether single entries are removed (Erase).
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// Spreads a hash or a key over all 64 bits (Fibonacci hashing: the product
// with 2^64 over the golden ratio). The high bits of the result pick a cell
// of a table of any size, so keys that follow one another (numbers) and
// hashes whose low bits repeat land far apart.
constexpr std::uint64_t ImodelHashSpread(std::uint64_t key) { return key * 0x9E3779B97F4A7C15ULL; }

template <class Traits>
class ImodelPositionTable {
public:
    using Key = typename Traits::Key;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::size_t Size() const { return m_used; }
    // The array's length: a home is below it.
    std::size_t Cells() const { return m_cells.size(); }

    // Room for `count` entries without growing.
    void Reserve(std::size_t count)
    {
        std::size_t cells = m_cells.empty() ? Traits::kFirstCells : m_cells.size();
        while (!Fits(count, cells)) cells *= 2;
        if (cells > m_cells.size()) Rehash(cells);
    }

    // Adds an entry; an equal one already there is kept as well.
    void Insert(Key key, std::size_t position)
    {
        if (!Fits(m_used + 1, m_cells.size())) Reserve(m_used + 1);
        Place(Cell{key, Traits::Store(position)});
        ++m_used;
    }

    // Removes the entry of `key` and exactly that position; false when
    // there is none.
    bool Erase(Key key, std::size_t position) requires(Traits::kErases)
    {
        if (m_used == 0) return false;
        const typename Traits::Stored stored = Traits::Store(position);
        std::size_t hole = Home(key);
        for (;; hole = Next(hole)) {
            const Cell& cell = m_cells[hole];
            if (cell.stored == Traits::kFree) return false;
            if (cell.key == key && cell.stored == stored) break;
        }
        // The entries after the hole that could not stand at their home
        // move back into it, so that no probe meets a free cell too early.
        for (std::size_t next = Next(hole); m_cells[next].stored != Traits::kFree; next = Next(next)) {
            const std::size_t home = Home(m_cells[next].key);
            // Whether `home` lies cyclically in (hole, next]: then the
            // entry stays.
            const bool stays = hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
            if (stays) continue;
            m_cells[hole] = m_cells[next];
            hole = next;
        }
        m_cells[hole] = Cell{};
        --m_used;
        return true;
    }

    // The position of the first entry of `key` in probe order that `same`
    // accepts; npos when none does. For a test that accepts one entry at
    // most: it stops there.
    template <class Same>
    std::size_t Find(Key key, Same same) const
    {
        if (m_used == 0) return npos;
        const std::size_t mask = m_cells.size() - 1;
        for (std::size_t at = Home(key);; at = (at + 1) & mask) {
            const Cell& cell = m_cells[at];
            if (cell.stored == Traits::kFree) return npos;
            if (cell.key == key && same(Traits::Load(cell.stored))) return Traits::Load(cell.stored);
        }
    }

    // The lowest position of `key` that `same` accepts (of equal entries
    // added in the list's order, the first); npos when none does. A
    // position above one already accepted is not tested.
    template <class Same>
    std::size_t FindLowest(Key key, Same same) const
    {
        return FindBeyond(key, same, [](std::size_t position, std::size_t found) { return position < found; });
    }

    // The highest position of `key` that `same` accepts (the one added
    // last); npos when none does. A position below one already accepted is
    // not tested.
    template <class Same>
    std::size_t FindHighest(Key key, Same same) const
    {
        return FindBeyond(key, same,
                          [](std::size_t position, std::size_t found) { return found == npos || position > found; });
    }

    // Empties the table and gives its array back.
    void Clear()
    {
        std::vector<Cell>().swap(m_cells);
        m_used = 0;
        m_shift = 64;
    }
    // Empties the table but keeps its array when that is not much larger
    // than what it held, for a table filled and emptied again and again: it
    // is not made and grown afresh each time, and emptying costs what
    // filling did.
    void ClearKeepingRoom()
    {
        if (m_cells.size() > 4 * std::max<std::size_t>(m_used, 64)) return Clear();
        std::fill(m_cells.begin(), m_cells.end(), Cell{});
        m_used = 0;
    }

    // The cell where the probe of `key` starts; only while Cells() is not 0.
    std::size_t Home(Key key) const
    {
        return static_cast<std::size_t>(ImodelHashSpread(static_cast<std::uint64_t>(key)) >> m_shift);
    }

private:
    struct Cell {
        Key key = 0;
        typename Traits::Stored stored = Traits::kFree;
    };

    // Walks the whole run of the key's home: the position `same` accepts
    // that `beyond` prefers to any other accepted, npos when none.
    template <class Same, class Beyond>
    std::size_t FindBeyond(Key key, Same same, Beyond beyond) const
    {
        std::size_t found = npos;
        if (m_used == 0) return found;
        const std::size_t mask = m_cells.size() - 1;
        for (std::size_t at = Home(key); m_cells[at].stored != Traits::kFree; at = (at + 1) & mask) {
            const Cell& cell = m_cells[at];
            const std::size_t position = Traits::Load(cell.stored);
            if (cell.key == key && beyond(position, found) && same(position)) found = position;
        }
        return found;
    }
    static constexpr bool Fits(std::size_t count, std::size_t cells)
    {
        return count * Traits::kOfCells <= cells * Traits::kMostTaken;
    }
    std::size_t Next(std::size_t at) const { return (at + 1) & (m_cells.size() - 1); }
    void Place(const Cell& cell)
    {
        std::size_t at = Home(cell.key);
        while (m_cells[at].stored != Traits::kFree) at = Next(at);
        m_cells[at] = cell;
    }
    void Rehash(std::size_t cells)
    {
        const std::vector<Cell> old = std::exchange(m_cells, std::vector<Cell>(cells));
        m_shift = 64 - std::countr_zero(cells);
        for (const Cell& cell : old)
            if (cell.stored != Traits::kFree) Place(cell);
    }

    std::vector<Cell> m_cells;
    std::size_t m_used = 0;
    int m_shift = 64;
};
