// A value that takes no memory until it is first changed: most design units
// and files never have most of their optional values, and holding each one
// inline would cost every one of them its full size. Holding one costs a
// pointer; a copy copies the value; an absent value reads as T().
//
// `Watch`, when given, hears of every value made and of every value about to
// go: Watch::Made(const T&) once it is made, Watch::Gone(const T&) before it
// is deleted (from any thread the holder goes on), so that the values that
// exist can be known without a walk over their holders.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

template <class T, class Watch = void>
class ImodelLazy {
public:
    ImodelLazy() = default;
    ImodelLazy(const ImodelLazy& other) : m_value(other.m_value ? Make(*other.m_value) : nullptr) {}
    ImodelLazy(ImodelLazy&&) noexcept = default;
    ImodelLazy& operator=(const ImodelLazy& other)
    {
        if (this != &other) m_value = other.m_value ? Make(*other.m_value) : nullptr;
        return *this;
    }
    ImodelLazy& operator=(ImodelLazy&&) noexcept = default;
    ~ImodelLazy() = default;

    const T& Get() const { return m_value ? *m_value : Absent(); }
    // The value, made as T() when there was none.
    T& Use()
    {
        if (!m_value) m_value = Make();
        return *m_value;
    }
    // Whether the value was ever made (it may have been made and left at T()).
    bool Made() const { return m_value != nullptr; }
    void Reset() { m_value.reset(); }
    // Takes `value`, or drops the block when `value` reads as absent.
    template <class U>
    void Set(U&& value, bool absent)
    {
        if (absent)
            m_value.reset();
        else if (m_value)
            *m_value = std::forward<U>(value);
        else
            m_value = Make(std::forward<U>(value));
    }

    friend bool operator==(const ImodelLazy& a, const ImodelLazy& b) { return a.Get() == b.Get(); }

private:
    struct Drop {
        void operator()(T* value) const
        {
            if constexpr (!std::is_void_v<Watch>) Watch::Gone(*value);
            delete value;
        }
    };
    using Held = std::unique_ptr<T, Drop>;

    template <class... Args>
    static Held Make(Args&&... args)
    {
        Held made(new T(std::forward<Args>(args)...));
        if constexpr (!std::is_void_v<Watch>) Watch::Made(*made);
        return made;
    }
    static const T& Absent()
    {
        static const T none{};
        return none;
    }
    Held m_value;
};
