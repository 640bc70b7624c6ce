#include "imodel/ImodelTemplateManager.h"

#include "imodel/ImodelFeatures.h"
#include "imodel/ImodelMessages.h"
#include "imodel/imodelUtl.h"

#include <foundation/Sys.h>

ImodelTemplateManager::ImodelTemplateManager()
{
    retrieveUserTemplateDirectory();
}

const std::string& ImodelTemplateManager::getUserTemplateDirectory()
{
    retrieveUserTemplateDirectory();
    return m_userTemplateDirectory;
}

void ImodelTemplateManager::retrieveUserTemplateDirectory()
{
    m_userTemplateDirectory.clear();
    // Without a folder of its own the user has no templates: an empty name
    // must not become the root folder.
    if (!ImodelDefGetStr("TEMPLATE_DIR", m_userTemplateDirectory) || m_userTemplateDirectory.empty()) {
        m_userTemplateDirectory.clear();
        return;
    }
    if (m_userTemplateDirectory.back() != SysGetDirChar())
        m_userTemplateDirectory += SysGetDirChar();
    if (!ImodelValidateOrCreateDirectory(m_userTemplateDirectory))
        ImodelDisplayUNABLE_TO_CREATE_DIR_MSG(m_userTemplateDirectory.c_str());
}
