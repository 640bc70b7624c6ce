// IeventAddressTable: a value per object, found by the object's address, in
// one array with open addressing (linear probing, backward-shift erase).
// Tables that hold every unit of a project fill and empty with no block per
// entry. A value pointer stays valid until the next addition or erase.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

template <class Key, class Value>
class IeventAddressTable {
public:
    Value* Find(const Key* key)
    {
        if (m_cells.empty() || key == nullptr) return nullptr;
        Cell& cell = m_cells[Probe(key)];
        return cell.key == key ? &cell.value : nullptr;
    }
    const Value* Find(const Key* key) const { return const_cast<IeventAddressTable*>(this)->Find(key); }
    // Prefetches the cell where a lookup of the key starts, so that a
    // lookup a little later finds it loaded.
    void Prefetch(const Key* key) const
    {
        if (!m_cells.empty()) __builtin_prefetch(&m_cells[Home(key)]);
    }

    // Where the table's array lies and how a key's home cell is found in
    // it, for a caller that prefetches a cell without the table's lock
    // (HomeCellIn): the array may since have been made again, and the
    // address found is then only prefetched, never read.
    struct Layout {
        std::uintptr_t cells = 0;
        int shift = 64;
    };
    Layout GetLayout() const { return {reinterpret_cast<std::uintptr_t>(m_cells.data()), m_shift}; }
    // 0 for an empty table. A layout read half before, half after a change
    // may give an address outside the array: one only to be prefetched.
    static std::uintptr_t HomeCellIn(const Layout& layout, const Key* key)
    {
        if (layout.cells == 0 || layout.shift <= 0 || layout.shift >= 64) return 0;
        return layout.cells + HomeAt(key, layout.shift) * sizeof(Cell);
    }

    // The key's value, and whether it was made for it (value-initialised).
    // The key is not null.
    std::pair<Value*, bool> FindOrAdd(const Key* key)
    {
        if (Value* found = Find(key)) return {found, false};
        if (!Fits(m_used + 1, m_cells.size())) Grow(m_cells.empty() ? kFirstSize : m_cells.size() * 2);
        Cell& cell = m_cells[Probe(key)];
        cell.key = key;
        cell.value = Value{};
        ++m_used;
        return {&cell.value, true};
    }

    // Whether the key had a value. The array goes with the last entry.
    bool Erase(const Key* key)
    {
        if (m_cells.empty() || key == nullptr) return false;
        std::size_t at = Probe(key);
        if (m_cells[at].key != key) return false;
        if (--m_used == 0) {
            Clear();
            return true;
        }
        const std::size_t mask = m_cells.size() - 1;
        m_cells[at] = Cell{};
        // The cells after the freed one that probed past it move up, so
        // every key stays reachable from its home without a free cell in
        // between.
        for (std::size_t next = (at + 1) & mask; m_cells[next].key != nullptr; next = (next + 1) & mask) {
            const std::size_t home = Home(m_cells[next].key);
            const bool stays = at <= next ? (at < home && home <= next) : (at < home || home <= next);
            if (stays) continue;
            m_cells[at] = std::move(m_cells[next]);
            m_cells[next] = Cell{};
            at = next;
        }
        return true;
    }

    // Calls `use` with every value, in no particular order.
    template <class Use>
    void ForEachValue(Use use)
    {
        for (Cell& cell : m_cells)
            if (cell.key != nullptr) use(cell.value);
    }

    std::size_t Size() const { return m_used; }
    // Room for `count` keys in all, made at once: a table about to take a
    // hundred thousand units is not grown, and every key moved, step by step.
    void Reserve(std::size_t count)
    {
        if (count == 0) return;
        std::size_t size = std::max(kFirstSize, m_cells.size());
        while (!Fits(count, size)) size *= 2;
        if (size > m_cells.size()) Grow(size);
    }

    void Clear()
    {
        std::vector<Cell>().swap(m_cells);
        m_used = 0;
        m_shift = 64;
    }
    // Empties the table but keeps its array when that is not much larger
    // than what it held, for a table filled and emptied again and again:
    // emptying then costs what filling did, and no array is made afresh.
    void ClearKeepingRoom()
    {
        if (m_cells.size() > 4 * std::max<std::size_t>(m_used, 64)) return Clear();
        std::fill(m_cells.begin(), m_cells.end(), Cell{});
        m_used = 0;
    }

private:
    static constexpr std::size_t kFirstSize = 64;
    // At most seven cells in ten are taken, so probes stay short.
    static bool Fits(std::size_t keys, std::size_t cells) { return keys * 10 <= cells * 7; }
    struct Cell {
        const Key* key = nullptr;  // null: a free cell
        Value value{};
    };

    std::size_t Home(const Key* key) const { return HomeAt(key, m_shift); }
    static std::size_t HomeAt(const Key* key, int shift)
    {
        // Fibonacci hashing: the high bits of the product spread addresses
        // that differ in their low bits only.
        const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key));
        return static_cast<std::size_t>((bits * 11400714819323198485ULL) >> shift);
    }
    // The cell of the key, or the free cell where it would go.
    std::size_t Probe(const Key* key) const
    {
        const std::size_t mask = m_cells.size() - 1;
        std::size_t at = Home(key);
        while (m_cells[at].key != nullptr && m_cells[at].key != key) at = (at + 1) & mask;
        return at;
    }
    void Grow(std::size_t size)
    {
        std::vector<Cell> old = std::exchange(m_cells, std::vector<Cell>(size));
        m_shift = 64 - std::countr_zero(size);
        for (Cell& cell : old)
            if (cell.key != nullptr) m_cells[Probe(cell.key)] = std::move(cell);
    }

    std::vector<Cell> m_cells;
    std::size_t m_used = 0;
    int m_shift = 64;
};
