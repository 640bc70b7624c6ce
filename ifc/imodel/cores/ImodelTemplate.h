// One HDL code template: a prefix, a code and a suffix of VHDL or Verilog
// text, placed in the template tree by its section full name (the levels
// from the root down joined by ";", the first the HDL type "VHDL" or
// "Verilog"). A system template comes from the template database; a user
// template from a file of the user template folder (its title is the
// prefix, its content the code).
#pragma once

#include <string>
#include <vector>

class ImodelTemplate {
public:
    ImodelTemplate(const std::string& sectionFullName, const std::string& prefix, const std::string& code,
                   const std::string& suffix, bool isVHDL, bool isUserTemplate, const std::string& fileName);
    ImodelTemplate(const ImodelTemplate&) = default;
    ImodelTemplate& operator=(const ImodelTemplate&) = default;
    virtual ~ImodelTemplate() = default;

    bool isVHDL() const { return m_isVHDL; }
    bool isUserTemplate() const { return m_isUserTemplate; }
    const std::string& getSectionFullName() const { return m_sectionFullName; }
    const std::string& getPrefix() const { return m_prefix; }
    const std::string& getCode() const { return m_code; }
    const std::string& getSuffix() const { return m_suffix; }
    // The template's file for a user template; empty otherwise.
    const std::string& getFileName() const { return m_fileName; }

    // The levels of the section full name, in order; empty levels stay.
    void getSectionVector(std::vector<std::string>& out) const;

private:
    bool m_isVHDL;
    bool m_isUserTemplate;
    std::string m_fileName;
    std::string m_sectionFullName;
    std::string m_prefix;
    std::string m_code;
    std::string m_suffix;
};
