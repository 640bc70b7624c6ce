// Options backed by one options-database variable.
#include "imodel/options/ImodelStringDefVarOption.h"

#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/ImodelLineText.h"
#include "imodel/options/ImodelOptionVisitor.h"

#include <foundation/Def.h>

namespace {

std::string TextOf(const char* text) { return text ? text : ""; }

}  // namespace

ImodelStringDefVarOption::ImodelStringDefVarOption(const char* variable, const char* defaultValue, const char* key)
    : m_variable(TextOf(variable)), m_defaultValue(TextOf(defaultValue)), m_key(TextOf(key))
{
}

void ImodelStringDefVarOption::SetDefault() { SetValue(m_defaultValue.c_str()); }

void ImodelStringDefVarOption::Write(std::ostream* stream)
{
    std::string value;
    if (!stream || m_key.empty() || !ImodelDefGetStr(m_variable.c_str(), value)) return;
    if (ImodelCheckOneLine(*stream, value, m_key.c_str())) *stream << m_key << '=' << value << '\n';
}

void ImodelStringDefVarOption::Read(std::string key, std::string value)
{
    if (!m_key.empty() && key == m_key) SetValue(value.c_str());
}

bool ImodelStringDefVarOption::IsIdentifier(const char* name) { return name && m_variable == name; }

bool ImodelStringDefVarOption::IsUSERDefVar() { return m_key.empty(); }

void ImodelStringDefVarOption::Accept(ImodelOptionVisitor* visitor)
{
    if (visitor) visitor->VisitStringOption(this);
}

bool ImodelStringDefVarOption::SetValue(const char* text)
{
    if (!text) return false;
    const std::string before = GetValue();
    // The options database refuses (and reports) a text it cannot store.
    const bool stored = DefSetFL(m_variable.c_str(), text, __FILE__, __LINE__) == 0;
    if (GetValue() != before) ValueChanged();
    return stored;
}

std::string ImodelStringDefVarOption::GetValue()
{
    std::string value;
    return ImodelDefGetStr(m_variable.c_str(), value) ? value : m_defaultValue;
}

void ImodelStringDefVarOption::ValueChanged() {}
