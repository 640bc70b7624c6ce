// save_project: the whole project file written under the progress meter.
#include "icmd/project/IcmdSaveProject.h"

#include "icmd/IcmdDoCommand.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/views/ImodelToolStatesManager.h"
#include "src/icmd/project/IcmdProjectMeter.h"
#include "src/icmd/project/IcmdReadWriteProjectImpl.h"

#include <vector>

AcmdEnum::Result IcmdSaveProject::execDo()
{
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    // Results of files left out at the open that did not come back are not
    // written for files the project no longer holds.
    ImodelContextToolStatesManager::ForgetFilesNotBack();
    design.ResetProjectFileStream(true);
    const IcmdProjectMeter meter("Saving project");
    static const std::vector<Iconvert*> kNoConverters;
    IcmdReadWriteProjectImpl writer(ideProjectFileWrite, design.GetProjectFileStream(), kNoConverters,
                                    meter.GetCallback(), false);
    writer.SetOpenedFiles(m_openedFiles);
    const AcmdEnum::Result result = writer.Do(0, 100);
    if (result == AcmdEnum::Success) {
        design.SetNeedSave(false);
        if (Imodel::GetInstance().IsDebugMsg()) ImodelDisplayPROJECT_SAVED_MSG(design.GetProjectName().c_str());
    } else {
        ImodelDisplaySAVE_FAILED_MSG(design.GetProjectName().c_str());
        if (!writer.GetWriteError().empty()) ImodelDisplaySAVE_FAILED_REASON_MSG(writer.GetWriteError().c_str());
    }
    return result;
}

bool IcmdDoSaveProject(bool keep, std::vector<std::string>* openedFiles)
{
    auto command = std::make_unique<IcmdSaveProject>();
    if (openedFiles) command->SetOpenedFiles(openedFiles);
    return IcmdDoCommand(std::move(command), keep);
}
