#include "imodel/names/ImodelFileName.h"

#include "imodel/names/imodelUtl.h"

ImodelFileName::ImodelFileName(const ImodelFileName& other) : m_name(other.m_name) {}

ImodelFileName::ImodelFileName(const std::string& text) : m_name(text) {}

ImodelFileName::ImodelFileName(const char* text) : m_name(text ? text : "") {}

ImodelFileName& ImodelFileName::operator=(const ImodelFileName& other)
{
    if (this != &other) m_name = other.m_name;
    return *this;
}

ImodelFileName& ImodelFileName::operator=(const std::string& text)
{
    if (&text != &m_name) m_name = text;
    return *this;
}

ImodelFileName& ImodelFileName::operator=(const char* text)
{
    if (text && text != m_name.c_str()) m_name = text;
    return *this;
}

bool ImodelFileName::operator==(const ImodelFileName& other) const
{
    return this == &other || ImodelIsSameFileName(m_name, other.m_name);
}

bool ImodelFileName::operator!=(const ImodelFileName& other) const { return !(*this == other); }

bool ImodelFileName::operator==(const char* text) const { return ImodelIsSameFileName(m_name, text ? text : ""); }

bool ImodelFileName::operator!=(const char* text) const { return !(*this == text); }

bool ImodelFileName::operator<(const ImodelFileName& other) const { return m_name < other.m_name; }
