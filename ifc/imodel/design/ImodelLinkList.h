// ImodelLinkList: the sub-blocks or the parents of a design unit, in order.
// A unit may stand in it more than once (a sub-block instantiated twice).
//
// Units are added at either end and taken out anywhere without the order
// of the others changing; adding, finding, counting and taking out a unit
// cost the same however long the list is (taking out one of several entries
// of a unit walks on to its next entry), so a cell used by a hundred
// thousand units is as cheap to link and unlink as one used once. The unit
// that owns the list changes it (ImodelModule); everyone else reads it.
//
// ImodelUnitListRef: the list a hierarchy walk starts from, either a plain
// list of units (a library's top-level units) or a unit's link list.
#pragma once

#include <cstddef>
#include <deque>
#include <iterator>
#include <list>
#include <memory>

class ImodelModule;

class ImodelLinkList {
    using Entries = std::list<ImodelModule*>;

public:
    // Hands out the units in order; the list is read only through it.
    using const_iterator = Entries::const_iterator;
    using iterator = const_iterator;
    using reverse_iterator = std::reverse_iterator<const_iterator>;
    using value_type = ImodelModule*;

    ImodelLinkList();
    ImodelLinkList(const ImodelLinkList& other);
    ImodelLinkList& operator=(const ImodelLinkList& other);
    ~ImodelLinkList();

    const_iterator begin() const { return m_entries.begin(); }
    const_iterator end() const { return m_entries.end(); }
    reverse_iterator rbegin() const { return reverse_iterator(end()); }
    reverse_iterator rend() const { return reverse_iterator(begin()); }
    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    ImodelModule* front() const { return m_entries.front(); }
    ImodelModule* back() const { return m_entries.back(); }

    bool Contains(const ImodelModule* module) const { return Count(module) > 0; }
    // How often the unit stands in the list.
    std::size_t Count(const ImodelModule* module) const;
    // The units in order, as a plain list.
    std::deque<ImodelModule*> ToList() const { return {m_entries.begin(), m_entries.end()}; }
    bool operator==(const std::deque<ImodelModule*>& list) const;

private:
    friend class ImodelModule;

    void PushBack(ImodelModule* module);
    void PushFront(ImodelModule* module);
    // Takes out the first entry of the unit; whether there was one.
    bool EraseFirst(const ImodelModule* module);
    // Takes out every entry of the unit; how many there were.
    std::size_t EraseAll(const ImodelModule* module);

    // Short lists are searched; longer ones keep, per unit, its first entry
    // and how often it stands in the list (an open-addressing table without
    // an allocation per unit).
    class Places;
    static constexpr std::size_t kIndexedFrom = 16;
    void IndexIfLong();

    Entries m_entries;
    std::unique_ptr<Places> m_places;
};

class ImodelUnitListRef {
public:
    ImodelUnitListRef(std::nullptr_t) {}
    ImodelUnitListRef(const std::deque<ImodelModule*>* list) : m_plain(list) {}
    ImodelUnitListRef(const ImodelLinkList* list) : m_links(list) {}

    bool IsNull() const { return m_plain == nullptr && m_links == nullptr; }
    // Calls `use` with the list's pointer (a null one when there is no list).
    template <class Use>
    decltype(auto) With(Use use) const
    {
        return m_links != nullptr ? use(m_links) : use(m_plain);
    }

private:
    const std::deque<ImodelModule*>* m_plain = nullptr;
    const ImodelLinkList* m_links = nullptr;
};
