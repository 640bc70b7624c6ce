// A boolean option carried as one of two texts.
#include "imodel/options/ImodelBoolStringDefVarOption.h"

#include "imodel/options/ImodelOptionVisitor.h"

ImodelBoolStringDefVarOption::ImodelBoolStringDefVarOption(const char* variable, const char* trueText,
                                                           const char* falseText, bool defaultValue, const char* key)
    : ImodelStringDefVarOption(variable, defaultValue ? trueText : falseText, key),
      m_trueText(trueText ? trueText : ""), m_falseText(falseText ? falseText : "")
{
}

void ImodelBoolStringDefVarOption::Accept(ImodelOptionVisitor* visitor)
{
    if (visitor) visitor->VisitBoolOption(this);
}

bool ImodelBoolStringDefVarOption::SetValueBool(bool value)
{
    return SetValue(value ? m_trueText.c_str() : m_falseText.c_str());
}

bool ImodelBoolStringDefVarOption::GetValueBool() { return GetValue() == m_trueText; }

bool ImodelBoolStringDefVarOption::GetDefault() const { return GetDefaultValue() == m_trueText; }
