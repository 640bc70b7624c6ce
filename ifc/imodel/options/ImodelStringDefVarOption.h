// An option whose value is the text of one options-database variable. It
// keeps no value of its own: two objects for one variable see the same
// value, and a change made elsewhere is seen at the next GetValue.
#pragma once

#include "imodel/options/ImodelVarOption.h"

#include <string>

class ImodelStringDefVarOption : public ImodelVarOption {
public:
    // `key` is the project-file key; empty for an option that is never
    // stored in the project file. Null texts are empty.
    ImodelStringDefVarOption(const char* variable, const char* defaultValue, const char* key);

    void SetDefault() override;
    // "key=value" when the option has a key and its variable can be read.
    void Write(std::ostream* stream) override;
    // Sets the value when `key` is the option's key exactly.
    void Read(std::string key, std::string value) override;
    // `name` equals the variable's name exactly.
    bool IsIdentifier(const char* name) override;
    bool IsUSERDefVar() override;
    void Accept(ImodelOptionVisitor* visitor) override;

    // Writes the variable; ValueChanged runs when the value read back
    // differs from the value before. False when the options database
    // refuses the text (a line break, for one), which leaves it unchanged.
    virtual bool SetValue(const char* text);
    // The variable's text, or the default value when it cannot be read.
    virtual std::string GetValue();
    // Called after a real change of the value; nothing here.
    virtual void ValueChanged();

    const std::string& GetVariableName() const { return m_variable; }
    const std::string& GetDefaultValue() const { return m_defaultValue; }
    const std::string& GetKey() const { return m_key; }

private:
    std::string m_variable;
    std::string m_defaultValue;
    std::string m_key;
};
