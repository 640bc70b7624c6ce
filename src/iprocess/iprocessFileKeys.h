// The keys of the files of a source-change message (the stored name,
// "<project>" left as it stands, as the design's file index keys a unit's
// file), each distinct key once, in the order first met. A checkout that
// changed a hundred thousand files gathers as many keys: they are found
// through one flat index rather than a block per key, and the keys made
// while the changes were gathered are those the routing matches against.
#pragma once

#include "imodel/names/ImodelHashPositions.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class iprocessFileKeys {
public:
    // Keeps the key unless it is kept already; whether it was new.
    bool Add(std::string key)
    {
        const std::size_t hash = std::hash<std::string_view>()(key);
        if (Find(key, hash) != ImodelHashPositions::npos) return false;
        m_index.Add(hash, m_inOrder.size());
        m_inOrder.push_back(std::move(key));
        return true;
    }
    bool Contains(std::string_view key) const
    {
        return Find(key, std::hash<std::string_view>()(key)) != ImodelHashPositions::npos;
    }

    // The keys in the order first met.
    using const_iterator = std::vector<std::string>::const_iterator;
    const_iterator begin() const { return m_inOrder.begin(); }
    const_iterator end() const { return m_inOrder.end(); }
    std::size_t size() const { return m_inOrder.size(); }

private:
    std::size_t Find(std::string_view key, std::size_t hash) const
    {
        return m_index.FindLast(hash, [&](std::size_t at) { return m_inOrder[at] == key; });
    }

    std::vector<std::string> m_inOrder;
    ImodelHashPositions m_index;  // positions in m_inOrder
};
