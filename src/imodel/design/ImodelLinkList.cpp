#include "imodel/design/ImodelLinkList.h"

#include <algorithm>

ImodelLinkList::ImodelLinkList(const ImodelLinkList& other) : m_entries(other.m_entries) { IndexIfLong(); }

ImodelLinkList& ImodelLinkList::operator=(const ImodelLinkList& other)
{
    if (this == &other) return *this;
    m_entries = other.m_entries;
    m_places.reset();
    IndexIfLong();
    return *this;
}

ImodelLinkList::~ImodelLinkList() = default;

std::size_t ImodelLinkList::Count(const ImodelModule* module) const
{
    if (m_places) {
        const auto found = m_places->find(module);
        return found == m_places->end() ? 0 : found->second.size();
    }
    return static_cast<std::size_t>(std::count(m_entries.begin(), m_entries.end(), module));
}

bool ImodelLinkList::operator==(const std::deque<ImodelModule*>& list) const
{
    return std::equal(m_entries.begin(), m_entries.end(), list.begin(), list.end());
}

void ImodelLinkList::PushBack(ImodelModule* module)
{
    m_entries.push_back(module);
    if (m_places)
        (*m_places)[module].push_back(std::prev(m_entries.end()));
    else
        IndexIfLong();
}

void ImodelLinkList::PushFront(ImodelModule* module)
{
    m_entries.push_front(module);
    if (m_places) {
        // Entries are only ever added at the ends, so the new one is the
        // unit's first.
        std::vector<Entries::iterator>& places = (*m_places)[module];
        places.insert(places.begin(), m_entries.begin());
    } else {
        IndexIfLong();
    }
}

bool ImodelLinkList::EraseFirst(const ImodelModule* module)
{
    if (!m_places) {
        const auto found = std::find(m_entries.begin(), m_entries.end(), module);
        if (found == m_entries.end()) return false;
        m_entries.erase(found);
        return true;
    }
    const auto found = m_places->find(module);
    if (found == m_places->end()) return false;
    std::vector<Entries::iterator>& places = found->second;
    m_entries.erase(places.front());
    places.erase(places.begin());
    if (places.empty()) m_places->erase(found);
    return true;
}

std::size_t ImodelLinkList::EraseAll(const ImodelModule* module)
{
    if (!m_places) return std::erase(m_entries, module);
    const auto found = m_places->find(module);
    if (found == m_places->end()) return 0;
    const std::size_t count = found->second.size();
    for (const Entries::iterator& place : found->second) m_entries.erase(place);
    m_places->erase(found);
    return count;
}

void ImodelLinkList::IndexIfLong()
{
    if (m_places || m_entries.size() < kIndexedFrom) return;
    m_places = std::make_unique<Places>();
    for (auto at = m_entries.begin(); at != m_entries.end(); ++at) (*m_places)[*at].push_back(at);
}
