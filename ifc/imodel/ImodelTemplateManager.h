// The HDL code templates: the system templates of the template database and
// the user's own templates, one per file in the user template folder. The
// project model owns the one manager; the template lists come with the
// template database reader, the user template folder is kept from the start.
#pragma once

#include <string>

class ImodelTemplateManager {
public:
    // Determines the user template folder.
    ImodelTemplateManager();
    virtual ~ImodelTemplateManager() = default;

    ImodelTemplateManager(const ImodelTemplateManager&) = delete;
    ImodelTemplateManager& operator=(const ImodelTemplateManager&) = delete;

    // Determines the folder again and returns it, ending with the directory
    // separator; empty when the options database names none.
    const std::string& getUserTemplateDirectory();

private:
    // The folder named by TEMPLATE_DIR, created when missing.
    void retrieveUserTemplateDirectory();

    std::string m_userTemplateDirectory;
};
