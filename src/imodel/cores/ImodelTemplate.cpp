#include "imodel/cores/ImodelTemplate.h"

ImodelTemplate::ImodelTemplate(const std::string& sectionFullName, const std::string& prefix, const std::string& code,
                               const std::string& suffix, bool isVHDL, bool isUserTemplate, const std::string& fileName)
    : m_isVHDL(isVHDL), m_isUserTemplate(isUserTemplate), m_fileName(fileName), m_sectionFullName(sectionFullName),
      m_prefix(prefix), m_code(code), m_suffix(suffix)
{
}

void ImodelTemplate::getSectionVector(std::vector<std::string>& out) const
{
    out.clear();
    std::size_t start = 0;
    for (std::size_t end; (end = m_sectionFullName.find(';', start)) != std::string::npos; start = end + 1)
        out.push_back(m_sectionFullName.substr(start, end - start));
    out.push_back(m_sectionFullName.substr(start));
}
