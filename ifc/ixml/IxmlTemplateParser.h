// The reader of the HDL template database: one language element per HDL
// type under the root (attribute "type", "VHDL" or "Verilog"), holding
// "section" elements (attribute "name", nested to any depth) and "template"
// elements (children "prefix", "code" and "suffix"). The reader reads the
// file once, when it is built, and never writes it.
//
// A database is valid only when every element is understood; an invalid
// one yields no template at all. A file larger than 16 MiB is refused before
// it is read, and one with a document type declaration is refused whole. Nothing is reported to the user: with
// DEBUG_MSG on, a missing or malformed file is traced.
#pragma once

#include "imodel/cores/ImodelTemplate.h"

#include <ulv/PersistCollection.h>

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

class IxmlTemplateParser : public PersistCollection {
public:
    using TemplateList = std::vector<boost::shared_ptr<ImodelTemplate>>;

    explicit IxmlTemplateParser(const std::string& path);
    ~IxmlTemplateParser() override = default;

    // The file was found, read and understood.
    bool IsXMLValid() const { return m_valid; }
    // The templates in document order; empty when not valid.
    const TemplateList& GetTemplates() const { return m_templates; }

private:
    bool ParseXMLTemplateFile();
    bool LoadXMLTemplateFile();
    bool ReadTDB();
    bool ReadHDLType(const PersistXMLAtom& language);
    // Reads the sections and templates below a language element, whose
    // section path is `path`.
    bool ReadSections(const PersistXMLAtom& language, std::string path);
    bool ReadTemplate(const PersistXMLAtom& element, const std::string& path);

    TemplateList m_templates;
    std::string m_file;
    bool m_loaded = false;
    bool m_valid = false;
    bool m_isVHDL = false;
};
