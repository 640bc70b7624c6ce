// A list that takes no memory until something is put into it: most design
// units and views never have most of their file lists, and an empty
// std::deque allocates its first block (over half a kilobyte) when it is
// made. Holding one costs a pointer; a copy copies the list.
#pragma once

#include "imodel/names/ImodelLazy.h"

#include <utility>

template <class List, class Watch = void>
class ImodelLazyList : private ImodelLazy<List, Watch> {
    using Base = ImodelLazy<List, Watch>;

public:
    ImodelLazyList() = default;
    // The list; an empty one given takes no memory.
    ImodelLazyList& operator=(const List& list)
    {
        Base::Set(list, list.empty());
        return *this;
    }
    ImodelLazyList& operator=(List&& list)
    {
        const bool none = list.empty();
        Base::Set(std::move(list), none);
        return *this;
    }

    using Base::Get;
    // The list, made empty when there was none.
    using Base::Use;
    bool empty() const { return Get().empty(); }
    void clear() { Base::Reset(); }

    friend bool operator==(const ImodelLazyList& a, const ImodelLazyList& b) { return a.Get() == b.Get(); }
};
