#include "src/icmd/IcmdCommandTable.h"

#include "icmd/cores/IcmdConfigureCore.h"
#include "icmd/cores/IcmdCreateCore.h"
#include "icmd/cores/IcmdCreateDesign.h"
#include "icmd/cores/IcmdOpenVeyrun.h"
#include "icmd/design/IcmdDumpAllModules.h"
#include "icmd/design/IcmdDumpCatalog.h"
#include "icmd/design/IcmdDumpComponents.h"
#include "icmd/design/IcmdGetToolVersion.h"
#include "icmd/design/IcmdIsFileReadOnly.h"
#include "icmd/design/IcmdNewFile.h"
#include "icmd/design/IcmdOpenConstraintsEditor.h"
#include "icmd/design/IcmdSetRoot.h"
#include "icmd/files/IcmdImportFiles.h"
#include "icmd/files/IcmdRefresh.h"
#include "icmd/files/IcmdRemoveFilesFromProject.h"
#include "icmd/files/IcmdUseFile.h"
#include "icmd/files/IcmdUseSourceFile.h"
#include "icmd/organize/IcmdOrganizeCDBs.h"
#include "icmd/organize/IcmdOrganizeConstraints.h"
#include "icmd/organize/IcmdOrganizeSources.h"
#include "icmd/organize/IcmdOrganizeStimulus.h"
#include "icmd/organize/IcmdTestOrganizedFiles.h"
#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdNewProject.h"
#include "icmd/project/IcmdOpenProject.h"
#include "icmd/project/IcmdSaveProject.h"
#include "icmd/project/IcmdSaveProjectAs.h"
#include "icmd/settings/IcmdChangeProjectSettings.h"
#include "icmd/settings/IcmdModelSimOptions.h"
#include "icmd/settings/IcmdSimulationOptions.h"
#include "icmd/settings/IcmdUserLibraryOptions.h"
#include "imodel/model/Imodel.h"

#include <foundation/AcmdManager.h>
#include <foundation/Sys.h>

#include <string>

const std::vector<IcmdCommandRow>& IcmdGetCommandTable()
{
    // Each command's own work adds its factory to its row.
    static const std::vector<IcmdCommandRow> table = {
        {"import_files", false, IcmdFactoryForModel<IcmdImportFiles>(false)},
        {"delete_files", false, IcmdFactoryForModel<IcmdRemoveFilesFromProject>()},
        {"new_project", false, IcmdFactoryOf<IcmdNewProject>()},
        {"close_project", false, IcmdFactoryOf<IcmdCloseProject>()},
        {"save_project", false, IcmdFactoryOf<IcmdSaveProject>()},
        {"open_project", false, IcmdFactoryOf<IcmdOpenProject>()},
        {"save_project_as", false, IcmdFactoryOf<IcmdSaveProjectAs>()},
        {"set_root", false, IcmdFactoryOf<IcmdSetRoot>()},
        {"use_source_file", false, IcmdFactoryOf<IcmdUseSourceFile>()},
        {"use_file", false, IcmdFactoryOf<IcmdUseFile>()},
        {"add_library", false, {}},
        {"add_file_to_library", false, {}},
        {"remove_library", false, {}},
        {"rename_library", false, {}},
        {"refresh", false, IcmdFactoryOf<IcmdRefresh>()},
        {"open_veyrun", false, IcmdFactoryOf<IcmdOpenVeyrun>()},
        {"organize_cdbs", false, IcmdFactoryOf<IcmdOrganizeCDBs>()},
        {"associate_stimulus", false, IcmdFactoryOf<IcmdOrganizeStimulus>(false)},
        {"test_associate_stimulus", false, IcmdFactoryOf<IcmdTestOrganizedFiles<IcmdOrganizeStimulus>>()},
        {"organize_constraints", false, IcmdFactoryOf<IcmdOrganizeConstraints>(false)},
        {"test_organize_constraints", false, IcmdFactoryOf<IcmdTestOrganizedFiles<IcmdOrganizeConstraints>>()},
        {"organize_sources", false, IcmdFactoryOf<IcmdOrganizeSources>(false)},
        {"test_organize_sources", false, IcmdFactoryOf<IcmdTestOrganizedFiles<IcmdOrganizeSources>>()},
        {"project_settings", false, IcmdFactoryOf<IcmdChangeProjectSettings>()},
        {"create_links", true, {}},
        {"change_link_source", true, {}},
        {"export_as_link", true, {}},
        {"unlink", true, {}},
        {"set_modelsim_options", false, IcmdFactoryOf<IcmdSimulationOptions>()},
        {"set_brennic_lib_options", false, IcmdFactoryOf<IcmdModelSimOptions>()},
        {"set_user_lib_options", false, IcmdFactoryOf<IcmdUserLibraryOptions>()},
        {"create_design", false, IcmdFactoryOf<IcmdCreateDesign>()},
        {"create_core", false, IcmdFactoryOf<IcmdCreateCore>()},
        {"configure_user_core", false, IcmdFactoryOf<IcmdConfigureCore>()},
        {"dump_all_modules", false, IcmdFactoryOf<IcmdDumpAllModules>()},
        {"dump_components", false, IcmdFactoryOf<IcmdDumpComponents>()},
        {"dump_catalog", false, IcmdFactoryOf<IcmdDumpCatalog>()},
        {"new_file", false, IcmdFactoryOf<IcmdNewFile>()},
        {"edit_constraints", false, IcmdFactoryOf<IcmdOpenConstraintsEditor>()},
        {"is_file_readonly", false, IcmdFactoryOf<IcmdIsFileReadOnly>()},
        {"get_current_tool_version", false, IcmdFactoryOf<IcmdGetActiveToolVersion>()},
    };
    return table;
}

int IcmdRegisterCommandRows(const std::vector<IcmdCommandRow>& rows, Imodel& model, bool linkingEnabled)
{
    AcmdManager& manager = AcmdManager::GetInstance();
    int registered = 0;
    for (const IcmdCommandRow& row : rows) {
        if (!row.factory || (row.linkingOnly && !linkingEnabled)) continue;
        std::unique_ptr<AcmdBase> prototype = row.factory(model);
        // A row whose command answers another name is a wrong table.
        SysAssert(prototype == nullptr || prototype->GetName() == row.name);
        if (prototype == nullptr || prototype->GetName() != row.name) continue;
        if (manager.RegisterCommand(std::move(prototype))) ++registered;
    }
    return registered;
}
