// ImodelLinkList: the sub-blocks or the parents of a design unit, in order.
// A unit may stand in it more than once (a sub-block instantiated twice).
//
// Units are added at either end and taken out anywhere without the order
// of the others changing; adding, finding, counting and taking out a unit
// cost the same however long the list is (taking out one of several entries
// of a unit walks on to its next entry), so a cell used by a hundred
// thousand units is as cheap to link and unlink as one used once. The unit
// that owns the list changes it (ImodelModule); everyone else reads it.
// The entries lie in one array, held in the list itself while it has one
// entry (a unit used once, a chain): an iterator holds while the list is
// not changed.
//
// ImodelUnitListRef: the list a hierarchy walk starts from, either a plain
// list of units (a library's top-level units) or a unit's link list.
#pragma once

#include <boost/container/small_vector.hpp>

#include <cstddef>
#include <deque>
#include <iterator>
#include <memory>
#include <vector>

class ImodelModule;

class ImodelLinkList {
    // The entries in order, from m_head on, in one array; a unit's entry
    // taken out of a long list leaves a null there until the array is
    // packed again. The first and the last entry are never null. Most
    // parent lists hold one entry: it needs no block of its own.
    using Entries = boost::container::small_vector<ImodelModule*, 1>;

public:
    // Hands out the units in order, passing over the entries taken out; the
    // list is read only through it.
    class const_iterator {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = ImodelModule*;
        using difference_type = std::ptrdiff_t;
        using pointer = ImodelModule* const*;
        using reference = ImodelModule* const&;

        const_iterator() = default;
        reference operator*() const { return *m_at; }
        pointer operator->() const { return m_at; }
        const_iterator& operator++()
        {
            do ++m_at;
            while (m_at != m_end && *m_at == nullptr);
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        // The first entry is never null: the walk back stops there.
        const_iterator& operator--()
        {
            do --m_at;
            while (*m_at == nullptr);
            return *this;
        }
        const_iterator operator--(int)
        {
            const_iterator before = *this;
            --*this;
            return before;
        }
        bool operator==(const const_iterator& other) const { return m_at == other.m_at; }

    private:
        friend class ImodelLinkList;
        const_iterator(pointer at, pointer end) : m_at(at), m_end(end) {}
        pointer m_at = nullptr;
        pointer m_end = nullptr;
    };
    using iterator = const_iterator;
    using reverse_iterator = std::reverse_iterator<const_iterator>;
    using value_type = ImodelModule*;

    ImodelLinkList();
    ImodelLinkList(const ImodelLinkList& other);
    ImodelLinkList& operator=(const ImodelLinkList& other);
    // The entries change hands; `other` is left empty.
    ImodelLinkList(ImodelLinkList&& other) noexcept;
    ImodelLinkList& operator=(ImodelLinkList&& other) noexcept;
    ~ImodelLinkList();

    const_iterator begin() const { return {m_entries.data() + m_head, End()}; }
    const_iterator end() const { return {End(), End()}; }
    reverse_iterator rbegin() const { return reverse_iterator(end()); }
    reverse_iterator rend() const { return reverse_iterator(begin()); }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    ImodelModule* front() const { return m_entries[m_head]; }
    ImodelModule* back() const { return m_entries.back(); }

    bool Contains(const ImodelModule* module) const { return Count(module) > 0; }
    // How often the unit stands in the list.
    std::size_t Count(const ImodelModule* module) const;
    // The units in order, as a plain list.
    std::deque<ImodelModule*> ToList() const { return {begin(), end()}; }
    bool operator==(const std::deque<ImodelModule*>& list) const;

private:
    friend class ImodelModule;

    ImodelModule* const* End() const { return m_entries.data() + m_entries.size(); }

    void PushBack(ImodelModule* module);
    void PushFront(ImodelModule* module);
    // Takes out the first entry of the unit; whether there was one.
    bool EraseFirst(const ImodelModule* module);
    // Takes out every entry of the unit; how many there were.
    std::size_t EraseAll(const ImodelModule* module);
    // Puts `replacement` in the place of every entry of the unit; how many
    // there were.
    std::size_t ReplaceAll(const ImodelModule* module, ImodelModule* replacement);

    // Short lists are searched and close up at once; longer ones keep, per
    // unit, the place of its first entry and how often it stands in the list
    // (an open-addressing table without an allocation per unit), and leave
    // nulls where entries were taken out. Entries added at the back enter
    // the table at the next lookup or change other than another one at the
    // back: a scan appends to the parent lists of units all over the design,
    // and a table slot per append would touch cold memory that nothing reads
    // before the scan is over. The model is used from one thread.
    class Places;
    static constexpr std::size_t kIndexedFrom = 16;
    // The table of a long list, up to date; null for a short list without one.
    Places* Indexed() const;
    // Room before the first entry, for entries added in front.
    void MakeRoomInFront();
    // Drops the nulls at both ends, and packs the entries once nulls
    // outnumber them.
    void Tidy();
    void Pack();

    Entries m_entries;
    std::size_t m_head = 0;
    std::size_t m_size = 0;
    // The table, and the end of the entries it covers (those after it wait).
    mutable std::unique_ptr<Places> m_places;
    mutable std::size_t m_indexedTo = 0;
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
