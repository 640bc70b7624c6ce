#include "imodel/cores/ImodelTemplateManager.h"

#include "ifile/IfileObject.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "ixml/IxmlTemplateParser.h"

#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <deque>
#include <optional>

namespace {

constexpr const char* kDatabaseName = "templates.xml";
constexpr const char* kUserSection = "User Templates";

// A folder variable of the options database, ending with the directory
// separator; empty when it is unset or empty, so that no path is ever made
// at the root of the disk by accident.
std::string FolderOption(const char* name)
{
    std::string folder;
    if (!ImodelDefGetStr(name, folder) || folder.empty()) return {};
    if (folder.back() != SysGetDirChar()) folder += SysGetDirChar();
    return folder;
}

// The HDL type of a user template file by its extension: true for VHDL,
// false for Verilog, nothing for any other file.
std::optional<bool> UserTemplateIsVHDL(const IfileObject& file)
{
    const std::string extension = file.GetExt();
    if (ImodelIsSameStrNoCase(extension, "vhd")) return true;
    if (ImodelIsSameStrNoCase(extension, "v")) return false;
    return std::nullopt;
}

}  // namespace

ImodelTemplateManager::ImodelTemplateManager() { retrieveUserTemplateDirectory(); }

void ImodelTemplateManager::loadAllTemplates()
{
    loadTemplates();
    cleanUserTemplates();
    retrieveUserTemplateDirectory();
    loadUserTemplates();
}

void ImodelTemplateManager::reloadUserTemplates()
{
    cleanUserTemplates();
    retrieveUserTemplateDirectory();
    loadUserTemplates();
}

void ImodelTemplateManager::addUserTemplate(const ImodelTemplate& userTemplate)
{
    m_userTemplates.push_back(boost::make_shared<ImodelTemplate>(userTemplate));
}

const std::string& ImodelTemplateManager::getUserTemplateDirectory()
{
    retrieveUserTemplateDirectory();
    return m_userTemplateDirectory;
}

void ImodelTemplateManager::loadTemplates()
{
    m_templates.clear();
    const std::string dataFolder = FolderOption("DATADIR");
    if (dataFolder.empty()) return;
    const IxmlTemplateParser parser(dataFolder + kDatabaseName);
    if (parser.IsXMLValid()) m_templates = parser.GetTemplates();
}

void ImodelTemplateManager::loadUserTemplates()
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    if (m_userTemplateDirectory.empty() || !host) return;
    std::deque<IfileObject> files;
    std::vector<std::string> names;
    host->ListFolder(m_userTemplateDirectory + "*", 0, zorpaFT_UNKNOWN, files, &names, false);
    for (const IfileObject& file : files) {
        const std::string fullName = file.GetFullFileName().GetString();
        const std::optional<bool> isVHDL = UserTemplateIsVHDL(file);
        std::string code;
        // Files of other types, and files gone since the listing, are skipped.
        if (!isVHDL || !UtlDoesFileExist(fullName) || !SysReadFile(fullName, code)) continue;
        UtlReplaceAll(code, "\r\n", "\n");
        const std::string section = std::string(*isVHDL ? "VHDL" : "Verilog") + ";" + kUserSection;
        m_userTemplates.push_back(
            boost::make_shared<ImodelTemplate>(section, file.GetFileTitleNoExt(), code, "", *isVHDL, true, fullName));
    }
}

void ImodelTemplateManager::retrieveUserTemplateDirectory()
{
    m_userTemplateDirectory = FolderOption("TEMPLATE_DIR");
    if (!m_userTemplateDirectory.empty() && !ImodelValidateOrCreateDirectory(m_userTemplateDirectory))
        ImodelDisplayUNABLE_TO_CREATE_DIR_MSG(m_userTemplateDirectory.c_str());
}

void ImodelTemplateManager::cleanUserTemplates() { m_userTemplates.clear(); }
