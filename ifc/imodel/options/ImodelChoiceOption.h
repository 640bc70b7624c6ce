// An option that picks one of a fixed list of choices. It holds its current
// choice as an index (-1: none) and may be stored in the project file as one
// "key=value" line.
#pragma once

#include <ostream>
#include <string>

class ImodelChoiceOption {
public:
    virtual ~ImodelChoiceOption() = default;

    // The current index becomes the default index.
    virtual void SetDefault() = 0;
    // The current choice's value as text; empty when no choice is selected.
    virtual std::string GetValue() = 0;
    // Selects the choice whose value is `text`; none when no choice has it.
    virtual void SetValue(const std::string& text) = 0;
    virtual int GetCurrentIndex() = 0;
    virtual int GetDefaultIndex() = 0;
    // Stores the index as given; an index out of range selects no choice.
    virtual void SetCurrentIndex(int index) = 0;
    virtual int GetChoiceCount() = 0;
    // The label of a choice; empty for an index out of range.
    virtual std::string GetChoiceLabel(int index) = 0;
    // Writes "key=value\n" with the current value.
    virtual void Write(std::ostream* stream) = 0;
    // Takes a project-file line whose key is the option's own; true then.
    virtual bool Read(std::string key, std::string value) = 0;

protected:
    ImodelChoiceOption() = default;
    ImodelChoiceOption(const ImodelChoiceOption&) = default;
    ImodelChoiceOption& operator=(const ImodelChoiceOption&) = default;
};
