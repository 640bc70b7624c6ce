// The HDL code templates: the system templates of the template database
// "templates.xml" in the data folder (DATADIR), and the user's own
// templates, one per ".vhd" or ".v" file in the user template folder
// (TEMPLATE_DIR). The project model owns the one manager; the host loads
// the templates and reads both lists. Templates are shared: one kept by a
// caller outlives a reload.
#pragma once

#include "imodel/cores/ImodelTemplate.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

class ImodelTemplateManager {
public:
    using TemplateList = std::vector<boost::shared_ptr<ImodelTemplate>>;

    // Determines the user template folder; loads nothing.
    ImodelTemplateManager();
    virtual ~ImodelTemplateManager() = default;

    ImodelTemplateManager(const ImodelTemplateManager&) = delete;
    ImodelTemplateManager& operator=(const ImodelTemplateManager&) = delete;

    // Replaces both lists.
    void loadAllTemplates();
    // Replaces the user list; the system list stays.
    void reloadUserTemplates();

    // The system templates in database order; the user templates in folder
    // order, then those added.
    TemplateList& getTemplates() { return m_templates; }
    TemplateList& getUserTemplates() { return m_userTemplates; }

    // Appends a copy to the user list, until the next reload; no file is
    // written.
    void addUserTemplate(const ImodelTemplate& userTemplate);

    // Determines the folder again and returns it, ending with the directory
    // separator; empty when the options database names none.
    const std::string& getUserTemplateDirectory();

private:
    void loadTemplates();
    // Appends the templates of the user template folder, as the host lists
    // it; nothing without a folder or a host.
    void loadUserTemplates();
    // The folder named by TEMPLATE_DIR, created when missing.
    void retrieveUserTemplateDirectory();
    void cleanUserTemplates();

    TemplateList m_templates;
    TemplateList m_userTemplates;
    std::string m_userTemplateDirectory;
};
