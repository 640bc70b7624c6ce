// Positions in a list kept elsewhere, found by a 64-bit hash of what stands
// there. Several positions may share a hash, or the same key: a lookup
// takes a test of the position (the caller's list holds the real key), and
// of the positions it accepts, the highest answers (with positions added in
// the list's order, the one added last). Entries are only added; the index
// is emptied whole.
#pragma once

#include "imodel/names/ImodelPositionTable.h"

#include <cstddef>
#include <cstdint>

// The cells of a table of positions by 64-bit hash. A position is held as
// it is; npos marks a free cell. At most seven cells in ten are taken, so
// probes stay short.
struct ImodelHashPositionCells {
    using Key = std::uint64_t;
    using Stored = std::size_t;
    static constexpr Stored kFree = static_cast<std::size_t>(-1);
    static constexpr Stored Store(std::size_t position) { return position; }
    static constexpr std::size_t Load(Stored stored) { return stored; }
    static constexpr std::size_t kFirstCells = 16;
    static constexpr std::size_t kMostTaken = 7;
    static constexpr std::size_t kOfCells = 10;
    static constexpr bool kErases = false;
};

class ImodelHashPositions : private ImodelPositionTable<ImodelHashPositionCells> {
    using Table = ImodelPositionTable<ImodelHashPositionCells>;

public:
    using Table::npos;

    using Table::Size;
    void Add(std::uint64_t hash, std::size_t position) { Insert(hash, position); }

    // The highest position of `hash` that `same(position)` accepts; npos
    // when none does. A position below one already accepted is not tested.
    template <class Same>
    std::size_t FindLast(std::uint64_t hash, Same same) const
    {
        return FindHighest(hash, same);
    }

    using Table::Clear;
    using Table::ClearKeepingRoom;
};
