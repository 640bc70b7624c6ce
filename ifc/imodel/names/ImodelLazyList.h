// A list that takes no memory until something is put into it: most design
// units and views never have most of their file lists, and an empty
// std::deque allocates its first block (over half a kilobyte) when it is
// made. Holding one costs a pointer; a copy copies the list.
#pragma once

#include <memory>

template <class List>
class ImodelLazyList {
public:
    ImodelLazyList() = default;
    ImodelLazyList(const ImodelLazyList& other) : m_list(other.m_list ? std::make_unique<List>(*other.m_list) : nullptr)
    {
    }
    ImodelLazyList(ImodelLazyList&&) noexcept = default;
    ImodelLazyList& operator=(const ImodelLazyList& other)
    {
        if (this != &other) m_list = other.m_list ? std::make_unique<List>(*other.m_list) : nullptr;
        return *this;
    }
    ImodelLazyList& operator=(ImodelLazyList&&) noexcept = default;
    // The list; an empty one given takes no memory.
    ImodelLazyList& operator=(const List& list)
    {
        m_list = list.empty() ? nullptr : std::make_unique<List>(list);
        return *this;
    }
    ImodelLazyList& operator=(List&& list)
    {
        m_list = list.empty() ? nullptr : std::make_unique<List>(std::move(list));
        return *this;
    }

    const List& Get() const { return m_list ? *m_list : Empty(); }
    // The list, made empty when there was none.
    List& Use()
    {
        if (!m_list) m_list = std::make_unique<List>();
        return *m_list;
    }
    bool empty() const { return !m_list || m_list->empty(); }
    void clear() { m_list.reset(); }

    friend bool operator==(const ImodelLazyList& a, const ImodelLazyList& b) { return a.Get() == b.Get(); }

private:
    static const List& Empty()
    {
        static const List none;
        return none;
    }
    std::unique_ptr<List> m_list;
};
