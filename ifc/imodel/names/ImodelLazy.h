// A value that takes no memory until it is first changed: most design units
// and files never have most of their optional values, and holding each one
// inline would cost every one of them its full size. Holding one costs a
// pointer; a copy copies the value; an absent value reads as T().
#pragma once

#include <memory>

template <class T>
class ImodelLazy {
public:
    ImodelLazy() = default;
    ImodelLazy(const ImodelLazy& other) : m_value(other.m_value ? std::make_unique<T>(*other.m_value) : nullptr) {}
    ImodelLazy(ImodelLazy&&) noexcept = default;
    ImodelLazy& operator=(const ImodelLazy& other)
    {
        if (this != &other) m_value = other.m_value ? std::make_unique<T>(*other.m_value) : nullptr;
        return *this;
    }
    ImodelLazy& operator=(ImodelLazy&&) noexcept = default;
    ~ImodelLazy() = default;

    const T& Get() const { return m_value ? *m_value : Absent(); }
    // The value, made as T() when there was none.
    T& Use()
    {
        if (!m_value) m_value = std::make_unique<T>();
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
            m_value = std::make_unique<T>(std::forward<U>(value));
    }

    friend bool operator==(const ImodelLazy& a, const ImodelLazy& b) { return a.Get() == b.Get(); }

private:
    static const T& Absent()
    {
        static const T none{};
        return none;
    }
    std::unique_ptr<T> m_value;
};
