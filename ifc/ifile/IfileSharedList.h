// A list that most project member files leave empty (packages, included
// files): nothing is allocated while it is empty, and copies of a file share
// it until one of them changes it, so that copying a file costs no list.
//
// A list kind may keep count of its lists that hold something (`Count`, a
// type with static Made and Gone, told once per list however many files
// share it), so that a question that only matters when some file has such a
// list is answered at once otherwise.
#pragma once

#include <deque>
#include <memory>
#include <type_traits>

template <class T, class Count = void>
class IfileSharedList {
public:
    const std::deque<T>& Get() const { return m_list ? *m_list : Empty(); }
    bool IsEmpty() const { return !m_list; }

    void Assign(const std::deque<T>& list)
    {
        if (list.empty())
            m_list.reset();
        else
            m_list = Make(list);
    }
    void Append(const T& value) { Own().push_back(value); }
    void Clear() { m_list.reset(); }

private:
    static const std::deque<T>& Empty()
    {
        static const std::deque<T> empty;
        return empty;
    }
    // The list to change: a copy of its own when another file shares it.
    std::deque<T>& Own()
    {
        if (!m_list)
            m_list = Make(std::deque<T>());
        else if (m_list.use_count() > 1)
            m_list = Make(*m_list);
        return *m_list;
    }

    // A counted list is counted from its making to its end.
    struct Counted {
        explicit Counted(const std::deque<T>& values) : list(values) { Count::Made(); }
        Counted(const Counted&) = delete;
        Counted& operator=(const Counted&) = delete;
        ~Counted() { Count::Gone(); }
        std::deque<T> list;
    };
    static std::shared_ptr<std::deque<T>> Make(const std::deque<T>& values)
    {
        if constexpr (std::is_void_v<Count>) {
            return std::make_shared<std::deque<T>>(values);
        } else {
            const auto counted = std::make_shared<Counted>(values);
            return std::shared_ptr<std::deque<T>>(counted, &counted->list);
        }
    }

    std::shared_ptr<std::deque<T>> m_list;
};
