// ZorpaFlatIndex: values found by a text that each value carries itself
// (KeyOf(value) gives a view of it), held in one array with open addressing
// (linear probing, backward-shift erase). An index of every unit of a
// library holds no block per entry and no copy of the text, so emptying it
// frees one array.
//
// A slot number or a value pointer stays valid until the next insertion or
// erase. The text a value's key views must not change while the value stands
// in the index.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

template <class Value, class KeyOf, class Hash, class Equal>
class ZorpaFlatIndex {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::size_t size() const { return m_used; }
    bool empty() const { return m_used == 0; }

    // The slot of the key; npos when it has none.
    std::size_t Find(std::string_view key) const { return Find(key, Hash()(key), Unmet()); }
    // The same with the key's Hash given. `met(value)` is told of each value
    // whose hash matches before its key is compared: a value that leads to
    // memory of its own can have it loaded while the key is read.
    template <class Met>
    std::size_t Find(std::string_view key, std::size_t keyHash, Met met) const
    {
        if (m_used == 0) return npos;
        const std::size_t slot = Probe(key, Stored(keyHash), met);
        return m_cells[slot].Used() ? slot : npos;
    }
    // Prefetches the cell where a lookup of the key's Hash starts, so that
    // a lookup a little later finds it loaded.
    void Prefetch(std::size_t keyHash) const
    {
        if (m_used == 0) return;
        __builtin_prefetch(&m_cells[Home(Stored(keyHash))]);
    }
    // The same for the key itself, hashed as a lookup hashes it.
    void PrefetchKey(std::string_view key) const { Prefetch(Hash()(key)); }
    // Calls `visit(value)` for every value, in the order of the slots.
    template <class Visit>
    void ForEach(Visit visit) const
    {
        for (const Cell& cell : m_cells)
            if (cell.Used()) visit(cell.value);
    }
    Value& At(std::size_t slot) { return m_cells[slot].value; }
    const Value& At(std::size_t slot) const { return m_cells[slot].value; }

    // The slot of the key, and whether it was made for it: `fill` makes a
    // new slot's value, empty until then, one whose key equals `key`. Filled
    // in place: a value with inline storage is not moved in.
    template <class Fill>
    std::pair<std::size_t, bool> FindOrAdd(std::string_view key, Fill fill)
    {
        const std::size_t hash = Hashed(key);
        if (m_used > 0) {
            const std::size_t slot = Probe(key, hash);
            if (m_cells[slot].Used()) return {slot, false};
        }
        if (!Fits(m_used + 1)) Grow(m_cells.empty() ? kFirstSize : m_cells.size() * 2);
        const std::size_t slot = Probe(key, hash);
        Cell& cell = m_cells[slot];
        cell.hash = hash;
        fill(cell.value);
        ++m_used;
        return {slot, true};
    }

    void EraseSlot(std::size_t slot)
    {
        const std::size_t mask = m_cells.size() - 1;
        m_cells[slot] = Cell{};
        --m_used;
        // The cells after the freed one that probed past it move up, so each
        // stays reachable from its home without a free cell in between.
        for (std::size_t next = (slot + 1) & mask; m_cells[next].Used(); next = (next + 1) & mask) {
            const std::size_t home = Home(m_cells[next].hash);
            const bool stays = slot <= next ? (slot < home && home <= next) : (slot < home || home <= next);
            if (stays) continue;
            m_cells[slot] = std::move(m_cells[next]);
            m_cells[next] = Cell{};
            slot = next;
        }
    }

    // Makes room for `count` values at once: an index filled again to about
    // its former size is not grown step by step, each step moving it whole.
    void Reserve(std::size_t count)
    {
        if (count == 0) return;
        std::size_t size = m_cells.empty() ? kFirstSize : m_cells.size();
        while (size * 7 < count * 10) size *= 2;
        if (size != m_cells.size()) Grow(size);
    }

    void clear()
    {
        std::vector<Cell>().swap(m_cells);
        m_used = 0;
        m_shift = 64;
    }
    // Empties the index but keeps its array when that is not much larger
    // than what it held, for an index filled and emptied again and again:
    // no array is made afresh each time.
    void ClearKeepingRoom()
    {
        if (m_cells.size() > 4 * std::max<std::size_t>(m_used, 16)) return clear();
        std::fill(m_cells.begin(), m_cells.end(), Cell{});
        m_used = 0;
    }

private:
    // A free cell has hash 0, which no key's hash is (Hashed): a cell of a
    // pointer value takes two words, so more cells share a cache line.
    struct Cell {
        std::size_t hash = 0;
        Value value{};
        bool Used() const { return hash != 0; }
    };

    static constexpr std::size_t kFirstSize = 16;
    // At most seven cells in ten are taken, so probes stay short.
    bool Fits(std::size_t count) const { return count * 10 <= m_cells.size() * 7; }

    static std::size_t Hashed(std::string_view key) { return Stored(Hash()(key)); }
    static std::size_t Stored(std::size_t keyHash) { return keyHash != 0 ? keyHash : 1; }

    std::size_t Home(std::size_t hash) const
    {
        // Fibonacci hashing spreads hashes that differ in their low bits only.
        return static_cast<std::size_t>((static_cast<std::uint64_t>(hash) * 11400714819323198485ULL) >> m_shift);
    }
    struct Unmet {
        void operator()(const Value&) const {}
    };
    // The cell of the key, or the free cell where it would go; `met` is
    // told of each value whose hash matches before its key is compared.
    template <class Met = Unmet>
    std::size_t Probe(std::string_view key, std::size_t hash, Met met = Met()) const
    {
        const std::size_t mask = m_cells.size() - 1;
        std::size_t at = Home(hash);
        for (; m_cells[at].Used(); at = (at + 1) & mask) {
            const Cell& cell = m_cells[at];
            if (cell.hash != hash) continue;
            met(cell.value);
            if (Equal()(KeyOf()(cell.value), key)) break;
        }
        return at;
    }
    void Grow(std::size_t size)
    {
        std::vector<Cell> old = std::exchange(m_cells, std::vector<Cell>(size));
        m_shift = 64 - std::countr_zero(size);
        for (Cell& cell : old) {
            if (!cell.Used()) continue;
            const std::size_t mask = m_cells.size() - 1;
            std::size_t at = Home(cell.hash);
            while (m_cells[at].Used()) at = (at + 1) & mask;
            m_cells[at] = std::move(cell);
        }
    }

    std::vector<Cell> m_cells;
    std::size_t m_used = 0;
    int m_shift = 64;
};
