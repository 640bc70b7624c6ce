// IeventAddressSet: objects each held once, by address, in the order first
// added. A few are told apart by a look along the list, and by an index
// (IeventAddressTable) only once the list grows long: a scan meets a few
// units per file, a change of every file of a design meets all of them,
// and neither makes a block per object.
#pragma once

#include "ievent/IeventAddressTable.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>
#include <vector>

template <class T>
class IeventAddressSet {
    static_assert(std::is_pointer_v<T>, "held by address");

public:
    void Clear()
    {
        m_list.clear();
        // Clearing empties every cell: not done for an index unused.
        if (m_indexed) m_index.ClearKeepingRoom();
        m_indexed = false;
    }
    bool Contains(T object) const
    {
        return m_indexed ? m_index.Find(object) != nullptr
                         : std::find(m_list.begin(), m_list.end(), object) != m_list.end();
    }
    // False when it is held already.
    bool Add(T object)
    {
        if (Contains(object)) return false;
        m_list.push_back(object);
        if (m_indexed) {
            m_index.FindOrAdd(object);
        } else if (m_list.size() > kLookAlong) {
            for (T listed : m_list) m_index.FindOrAdd(listed);
            m_indexed = true;
        }
        return true;
    }
    // Once indexed, an object taken out keeps its place in the list (taking
    // it out of a long list would cost a walk each) and the walk below
    // skips it.
    void Erase(T object)
    {
        if (m_indexed)
            m_index.Erase(object);
        else
            m_list.erase(std::remove(m_list.begin(), m_list.end(), object), m_list.end());
    }
    // The objects held, in order (once indexed, one taken out and added
    // again is visited at both places).
    template <class Visit>
    void ForEach(Visit visit) const
    {
        for (T object : m_list)
            if (!m_indexed || m_index.Find(object) != nullptr) visit(object);
    }
    // The objects added since the last Clear.
    std::size_t Added() const { return m_list.size(); }

private:
    static constexpr std::size_t kLookAlong = 16;
    std::vector<T> m_list;
    IeventAddressTable<std::remove_pointer_t<T>, bool> m_index;
    bool m_indexed = false;
};
