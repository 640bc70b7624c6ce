#include "imodel/design/ImodelLinkList.h"

#include "ievent/IeventAddressTable.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// Per unit of a long list: the place of its first entry and how often it
// stands in the list, found by the unit's address.
struct ImodelLinkListPlace {
    std::size_t first = 0;
    std::size_t count = 0;
};

}  // namespace

class ImodelLinkList::Places : public IeventAddressTable<ImodelModule, ImodelLinkListPlace> {
public:
    using Place = ImodelLinkListPlace;

    // Every entry moved on by `by` places.
    void Shift(std::size_t by)
    {
        ForEachValue([by](Place& place) { place.first += by; });
    }
};

ImodelLinkList::ImodelLinkList() = default;

ImodelLinkList::ImodelLinkList(const ImodelLinkList& other)
    : m_entries(other.begin(), other.end()), m_size(other.m_size)
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

ImodelLinkList::ImodelLinkList(ImodelLinkList&& other) noexcept
    : m_entries(std::move(other.m_entries)), m_head(std::exchange(other.m_head, 0)),
      m_size(std::exchange(other.m_size, 0)), m_places(std::move(other.m_places)),
      m_indexedTo(std::exchange(other.m_indexedTo, 0))
{
    // An entry held in place is moved, not taken: the source keeps none.
    other.m_entries.clear();
}

ImodelLinkList& ImodelLinkList::operator=(ImodelLinkList&& other) noexcept
{
    if (this == &other) return *this;
    m_entries = std::move(other.m_entries);
    other.m_entries.clear();
    m_head = std::exchange(other.m_head, 0);
    m_size = std::exchange(other.m_size, 0);
    m_places = std::move(other.m_places);
    m_indexedTo = std::exchange(other.m_indexedTo, 0);
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
    return static_cast<std::size_t>(
        std::count(m_entries.begin() + static_cast<std::ptrdiff_t>(m_head), m_entries.end(), module));
}

bool ImodelLinkList::operator==(const std::deque<ImodelModule*>& list) const
{
    return m_size == list.size() && std::equal(begin(), end(), list.begin(), list.end());
}

void ImodelLinkList::PushBack(ImodelModule* module)
{
    // Grown to twice its size, fewer times than by the array's own rule: a
    // scan appends to the parent lists of units all over a large design,
    // and each growth copies a cold array into a new block.
    if (m_entries.size() == m_entries.capacity()) m_entries.reserve(2 * m_entries.capacity());
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
    } else {
        // Entries are only ever added at the ends: the new one is the first.
        const auto [place, made] = places->FindOrAdd(module);
        place->first = m_head;
        place->count = made ? 1 : place->count + 1;
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
        m_places->Erase(module);
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
    m_places->Erase(module);
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

std::size_t ImodelLinkList::ReplaceAll(const ImodelModule* module, ImodelModule* replacement)
{
    if (module == replacement) return Count(module);
    if (Indexed() == nullptr) {
        std::size_t count = 0;
        for (auto at = m_entries.begin() + static_cast<std::ptrdiff_t>(m_head); at != m_entries.end(); ++at)
            if (*at == module) {
                *at = replacement;
                ++count;
            }
        return count;
    }
    const Places::Place* place = m_places->Find(module);
    if (place == nullptr) return 0;
    const std::size_t count = place->count;
    const std::size_t first = place->first;
    m_places->Erase(module);
    // The entries from the first, up to the last one of the unit.
    for (std::size_t at = first, left = count; left > 0; ++at) {
        if (m_entries[at] != module) continue;
        m_entries[at] = replacement;
        --left;
    }
    const auto [taken, made] = m_places->FindOrAdd(replacement);
    taken->first = made ? first : std::min(taken->first, first);
    taken->count = made ? count : taken->count + count;
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
        const auto [place, made] = m_places->FindOrAdd(unit);
        if (made)
            *place = Places::Place{at, 1};
        else
            ++place->count;
    }
    m_indexedTo = m_entries.size();
    return m_places.get();
}
