#include "src/imodel/model/imodelCommandTable.h"

#include "icmd/IcmdDumpAllModules.h"
#include "icmd/IcmdDumpCatalog.h"
#include "icmd/IcmdDumpComponents.h"
#include "icmd/IcmdImportFiles.h"
#include "icmd/IcmdIsFileReadOnly.h"
#include "icmd/IcmdProjectCommands.h"
#include "icmd/IcmdRefresh.h"
#include "icmd/IcmdSaveProjectAs.h"
#include "icmd/IcmdSetRoot.h"
#include "icmd/IcmdSettingsCommands.h"
#include "icmd/IcmdUseFile.h"
#include "icmd/organize/IcmdOrganizeCDBs.h"
#include "icmd/organize/IcmdTestOrganizedFiles.h"
#include "imodel/model/Imodel.h"

#include <foundation/AcmdManager.h>
#include <foundation/Sys.h>

#include <string>

const std::vector<imodelCommandRow>& imodelGetCommandTable()
{
    // Each command's own work adds its factory to its row.
    static const std::vector<imodelCommandRow> table = {
        {"import_files", false, IcmdImportFilesFactory()},
        {"delete_files", false, {}},
        {"new_project", false, IcmdNewProjectFactory()},
        {"close_project", false, IcmdCloseProjectFactory()},
        {"save_project", false, IcmdSaveProjectFactory()},
        {"open_project", false, IcmdOpenProjectFactory()},
        {"save_project_as", false, IcmdSaveProjectAsFactory()},
        {"set_root", false, IcmdSetRootFactory()},
        {"use_source_file", false, IcmdUseSourceFileFactory()},
        {"use_file", false, IcmdUseFileFactory()},
        {"add_library", false, {}},
        {"add_file_to_library", false, {}},
        {"remove_library", false, {}},
        {"rename_library", false, {}},
        {"refresh", false, IcmdRefreshFactory()},
        {"open_veyrun", false, {}},
        {"organize_cdbs", false, IcmdOrganizeCDBsFactory()},
        {"associate_stimulus", false, IcmdOrganizeStimulusFactory()},
        {"test_associate_stimulus", false, IcmdTestAssociateStimulusFactory()},
        {"organize_constraints", false, IcmdOrganizeConstraintsFactory()},
        {"test_organize_constraints", false, IcmdTestOrganizeConstraintsFactory()},
        {"organize_sources", false, IcmdOrganizeSourcesFactory()},
        {"test_organize_sources", false, IcmdTestOrganizeSourcesFactory()},
        {"project_settings", false, IcmdProjectSettingsFactory()},
        {"create_links", true, {}},
        {"change_link_source", true, {}},
        {"export_as_link", true, {}},
        {"unlink", true, {}},
        {"set_modelsim_options", false, IcmdSimulationOptionsFactory()},
        {"set_brennic_lib_options", false, IcmdModelSimOptionsFactory()},
        {"set_user_lib_options", false, IcmdUserLibraryOptionsFactory()},
        {"create_design", false, {}},
        {"create_core", false, {}},
        {"configure_user_core", false, {}},
        {"dump_all_modules", false, IcmdDumpAllModulesFactory()},
        {"dump_components", false, IcmdDumpComponentsFactory()},
        {"dump_catalog", false, IcmdDumpCatalogFactory()},
        {"new_file", false, {}},
        {"edit_constraints", false, {}},
        {"is_file_readonly", false, IcmdIsFileReadOnlyFactory()},
        {"get_current_tool_version", false, {}},
    };
    return table;
}

int imodelRegisterCommandRows(const std::vector<imodelCommandRow>& rows, Imodel& model, bool linkingEnabled)
{
    AcmdManager& manager = AcmdManager::GetInstance();
    int registered = 0;
    for (const imodelCommandRow& row : rows) {
        if (!row.factory || (row.linkingOnly && !linkingEnabled)) continue;
        std::unique_ptr<AcmdBase> prototype = row.factory(model);
        // A row whose command answers another name is a wrong table.
        SysAssert(prototype == nullptr || prototype->GetName() == row.name);
        if (prototype == nullptr || prototype->GetName() != row.name) continue;
        if (manager.RegisterCommand(std::move(prototype))) ++registered;
    }
    return registered;
}
