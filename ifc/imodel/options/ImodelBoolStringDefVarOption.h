// A boolean option carried in its variable as one of two texts.
#pragma once

#include "imodel/options/ImodelStringDefVarOption.h"

#include <string>

class ImodelBoolStringDefVarOption : public ImodelStringDefVarOption {
public:
    // The default value is `trueText` when `defaultValue` is set, else `falseText`.
    ImodelBoolStringDefVarOption(const char* variable, const char* trueText, const char* falseText, bool defaultValue,
                                 const char* key);

    void Accept(ImodelOptionVisitor* visitor) override;

    // Sets the true or the false text.
    bool SetValueBool(bool value);
    // The value is the true text exactly.
    bool GetValueBool();
    // The default value is the true text.
    bool GetDefault() const;

private:
    std::string m_trueText;
    std::string m_falseText;
};
