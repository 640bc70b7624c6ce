// The choice option over values of type T: an ordered list of (label,
// value) choices and a current and a default index. The concrete option
// gives its project-file key and the conversions between T and text.
#pragma once

#include "imodel/names/ImodelLineText.h"
#include "imodel/options/ImodelChoiceOption.h"

#include <string>
#include <utility>
#include <vector>

template <typename T>
class imodelTypeChoiceOptionImpl : public ImodelChoiceOption {
public:
    void SetDefault() override { m_currentIndex = m_defaultIndex; }
    std::string GetValue() override { return ToString(GetTypedValue()); }
    void SetValue(const std::string& text) override { SetTypedValue(FromString(text)); }
    int GetCurrentIndex() override { return m_currentIndex; }
    int GetDefaultIndex() override { return m_defaultIndex; }
    void SetCurrentIndex(int index) override { m_currentIndex = index; }
    int GetChoiceCount() override { return static_cast<int>(m_choices.size()); }
    std::string GetChoiceLabel(int index) override { return IsChoice(index) ? m_choices[index].first : std::string(); }

    void Write(std::ostream* stream) override
    {
        if (!stream) return;
        const std::string value = ToString(GetTypedValue());
        if (ImodelCheckOneLine(*stream, value, GetKey().c_str())) *stream << GetKey() << '=' << value << '\n';
    }

    bool Read(std::string key, std::string value) override
    {
        if (key != GetKey()) return false;
        SetTypedValue(FromString(value));
        return true;
    }

    // The current choice's value, or the no-value when none is selected.
    virtual T GetTypedValue() { return IsChoice(m_currentIndex) ? m_choices[m_currentIndex].second : GetNoValue(); }
    // Selects the first choice whose value equals `value`; none (and false)
    // when no choice has it.
    virtual bool SetTypedValue(const T& value)
    {
        m_currentIndex = FindValueIndex(value);
        return m_currentIndex >= 0;
    }

    virtual std::string GetKey() = 0;
    virtual T FromString(const std::string& text) = 0;
    virtual std::string ToString(const T& value) = 0;
    // The value that stands for "no choice".
    virtual T GetNoValue() = 0;

protected:
    imodelTypeChoiceOptionImpl() = default;

    void AddChoice(const std::string& label, const T& value) { m_choices.emplace_back(label, value); }

    // The index of the first choice whose value equals `value`; -1 when none.
    int FindValueIndex(const T& value) const
    {
        for (std::size_t i = 0; i < m_choices.size(); ++i)
            if (m_choices[i].second == value) return static_cast<int>(i);
        return -1;
    }

    void SetDefaultIndex(int index) { m_defaultIndex = index; }

private:
    bool IsChoice(int index) const { return index >= 0 && index < static_cast<int>(m_choices.size()); }

    std::vector<std::pair<std::string, T>> m_choices;
    int m_currentIndex = -1;
    int m_defaultIndex = -1;
};
