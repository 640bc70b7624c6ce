#include "imodel/design/ImodelLinkList.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// Per unit of a long list: its first entry and its number of entries. Open
// addressing with linear probing over a power-of-two table kept at most
// half full; a unit taken out shifts the units after it back, so lookups
// never meet a tombstone.
class ImodelLinkList::Places {
public:
    struct Place {
        const ImodelModule* unit = nullptr;  // null: a free slot
        std::size_t first = 0;               // the place in the entries
        std::size_t count = 0;
    };

    Place* Find(const ImodelModule* unit)
    {
        if (m_slots.empty()) return nullptr;
        for (std::size_t at = Home(unit);; at = Next(at)) {
            Place& place = m_slots[at];
            if (place.unit == unit) return &place;
            if (place.unit == nullptr) return nullptr;
        }
    }
    const Place* Find(const ImodelModule* unit) const { return const_cast<Places*>(this)->Find(unit); }

    // A unit that is not in the table yet.
    Place& Add(const ImodelModule* unit, std::size_t first)
    {
        if (2 * (m_used + 1) > m_slots.size()) Grow();
        std::size_t at = Home(unit);
        while (m_slots[at].unit != nullptr) at = Next(at);
        m_slots[at] = Place{unit, first, 1};
        ++m_used;
        return m_slots[at];
    }

    void Remove(Place* place)
    {
        std::size_t hole = static_cast<std::size_t>(place - m_slots.data());
        m_slots[hole] = Place();
        --m_used;
        // Each unit after the hole that may stand in it moves back, so that
        // a search from its home slot still finds it.
        for (std::size_t at = Next(hole); m_slots[at].unit != nullptr; at = Next(at)) {
            const std::size_t home = Home(m_slots[at].unit);
            const bool reachable = hole <= at ? (home <= hole || home > at) : (home <= hole && home > at);
            if (!reachable) continue;
            m_slots[hole] = m_slots[at];
            m_slots[at] = Place();
            hole = at;
        }
    }

    // Every entry moved on by `by` places.
    void Shift(std::size_t by)
    {
        for (Place& place : m_slots)
            if (place.unit != nullptr) place.first += by;
    }

private:
    std::size_t Home(const ImodelModule* unit) const
    {
        // Fibonacci hashing: the high bits of the product spread aligned addresses.
        const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(unit));
        return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> m_shift);
    }
    std::size_t Next(std::size_t at) const { return (at + 1) & (m_slots.size() - 1); }

    void Grow()
    {
        std::vector<Place> old = std::move(m_slots);
        const std::size_t size = old.empty() ? 2 * kIndexedFrom : 2 * old.size();
        m_slots.assign(size, Place());
        m_shift = 64;
        for (std::size_t power = size; power > 1; power >>= 1) --m_shift;
        for (const Place& place : old) {
            if (place.unit == nullptr) continue;
            std::size_t at = Home(place.unit);
            while (m_slots[at].unit != nullptr) at = Next(at);
            m_slots[at] = place;
        }
    }

    std::vector<Place> m_slots;
    std::size_t m_used = 0;
    unsigned m_shift = 64;
};

ImodelLinkList::ImodelLinkList() = default;

ImodelLinkList::ImodelLinkList(const ImodelLinkList& other) : m_entries(other.begin(), other.end()), m_size(other.m_size)
{
}

ImodelLinkList& ImodelLinkList::operator=(const ImodelLinkList& other)
{
    if (this == &other) return *this;
    m_entries.assign(other.begin(), other.end());
    m_head = 0;
    m_size = other.m_size;
    m_places.reset();
    m_indexedTo = 0;
    return *this;
}

ImodelLinkList::~ImodelLinkList() = default;

std::size_t ImodelLinkList::Count(const ImodelModule* module) const
{
    if (const Places* places = Indexed()) {
        const Places::Place* place = places->Find(module);
        return place ? place->count : 0;
    }
    // A short list holds no nulls.
    return static_cast<std::size_t>(std::count(m_entries.begin() + static_cast<std::ptrdiff_t>(m_head), m_entries.end(), module));
}

bool ImodelLinkList::operator==(const std::deque<ImodelModule*>& list) const
{
    return m_size == list.size() && std::equal(begin(), end(), list.begin(), list.end());
}

void ImodelLinkList::PushBack(ImodelModule* module)
{
    // The table, if any, takes the entry in at its next use.
    m_entries.push_back(module);
    ++m_size;
}

void ImodelLinkList::MakeRoomInFront()
{
    // Room as large as the list: adding in front stays cheap per entry.
    const std::size_t room = std::max<std::size_t>(4, m_size);
    Entries moved;
    moved.reserve(room + m_entries.size() - m_head);
    moved.resize(room, nullptr);
    moved.insert(moved.end(), m_entries.begin() + static_cast<std::ptrdiff_t>(m_head), m_entries.end());
    if (m_places) m_places->Shift(room - m_head);
    m_indexedTo += room - m_head;
    m_entries.swap(moved);
    m_head = room;
}

void ImodelLinkList::PushFront(ImodelModule* module)
{
    Places* places = Indexed();
    if (m_head == 0) MakeRoomInFront();
    m_entries[--m_head] = module;
    ++m_size;
    if (places == nullptr) {
        // Indexed at the first use once long.
    } else if (Places::Place* place = places->Find(module)) {
        // Entries are only ever added at the ends: the new one is the first.
        place->first = m_head;
        ++place->count;
    } else {
        places->Add(module, m_head);
    }
}

bool ImodelLinkList::EraseFirst(const ImodelModule* module)
{
    const auto from = m_entries.begin() + static_cast<std::ptrdiff_t>(m_head);
    if (Indexed() == nullptr) {
        const auto found = std::find(from, m_entries.end(), module);
        if (found == m_entries.end()) return false;
        m_entries.erase(found);
        --m_size;
        return true;
    }
    Places::Place* place = m_places->Find(module);
    if (place == nullptr) return false;
    const std::size_t first = place->first;
    if (--place->count == 0)
        m_places->Remove(place);
    else
        place->first = static_cast<std::size_t>(
            std::find(m_entries.begin() + static_cast<std::ptrdiff_t>(first) + 1, m_entries.end(), module) -
            m_entries.begin());
    m_entries[first] = nullptr;
    --m_size;
    Tidy();
    return true;
}

std::size_t ImodelLinkList::EraseAll(const ImodelModule* module)
{
    if (Indexed() == nullptr) {
        const auto from = m_entries.begin() + static_cast<std::ptrdiff_t>(m_head);
        const auto kept = std::remove(from, m_entries.end(), module);
        const auto count = static_cast<std::size_t>(m_entries.end() - kept);
        m_entries.erase(kept, m_entries.end());
        m_size -= count;
        return count;
    }
    Places::Place* place = m_places->Find(module);
    if (place == nullptr) return 0;
    const std::size_t count = place->count;
    std::size_t at = place->first;
    m_places->Remove(place);
    // The entries after the first, up to the last one of the unit.
    for (std::size_t left = count; left > 0; ++at) {
        if (m_entries[at] != module) continue;
        m_entries[at] = nullptr;
        --left;
    }
    m_size -= count;
    Tidy();
    return count;
}

void ImodelLinkList::Tidy()
{
    // The room in front holds nulls too: the back stops at the head.
    while (m_entries.size() > m_head && m_entries.back() == nullptr) m_entries.pop_back();
    while (m_head < m_entries.size() && m_entries[m_head] == nullptr) ++m_head;
    if (m_head == m_entries.size()) {
        m_entries.clear();
        m_head = 0;
    }
    // Only nulls went from the back, and the table covered every entry.
    m_indexedTo = std::min(m_indexedTo, m_entries.size());
    // Nulls, or the room in front, outgrowing the entries: packed, so that
    // a walk and the memory follow the entries.
    const std::size_t nulls = m_entries.size() - m_head - m_size;
    if (nulls > m_size + kIndexedFrom || m_head > m_size + kIndexedFrom) Pack();
}

void ImodelLinkList::Pack()
{
    const auto kept = std::remove(m_entries.begin() + static_cast<std::ptrdiff_t>(m_head), m_entries.end(), nullptr);
    m_entries.erase(kept, m_entries.end());
    m_entries.erase(m_entries.begin(), m_entries.begin() + static_cast<std::ptrdiff_t>(m_head));
    m_head = 0;
    m_places.reset();
    m_indexedTo = 0;
}

ImodelLinkList::Places* ImodelLinkList::Indexed() const
{
    if (!m_places) {
        if (m_size < kIndexedFrom) return nullptr;
        m_places = std::make_unique<Places>();
        m_indexedTo = m_head;
    }
    // The entries added at the back since the table's last use; a unit
    // already there keeps its first place, which lies before them.
    for (std::size_t at = m_indexedTo; at < m_entries.size(); ++at) {
        ImodelModule* unit = m_entries[at];
        if (unit == nullptr) continue;
        if (Places::Place* place = m_places->Find(unit))
            ++place->count;
        else
            m_places->Add(unit, at);
    }
    m_indexedTo = m_entries.size();
    return m_places.get();
}
