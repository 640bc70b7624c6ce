// close_project: the host's editors, the save, and the model emptied back
// to no project.
#include "icmd/project/IcmdCloseProject.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/design/IcmdOpenConstraintsEditor.h"
#include "icmd/project/IcmdSaveProject.h"
#include "ievent/IeventClasses.h"
#include "ifile/IfileExtendedInfoManager.h"
#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFreeLater.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "imodel/options/ImodelSimulationOptions.h"
#include "imodel/options/ImodelVarOption.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "itimer/ItimerManager.h"
#include "itool/ItoolModelSimPathOptions.h"
#include "itool/QuorlaneCoreToolManager.h"

#include <ktwkspace/Catalog.h>
#include <ktwkspace/Workspace.h>
#include <vy/VyBusDefMgr.h>

#include <boost/make_shared.hpp>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

}  // namespace

IcmdCloseProject::IcmdCloseProject()
    : IcmdBase(false), save("save", this, AcmdValueType::Single(), false, true, "save the project before closing")
{
}

IcmdCloseProject::~IcmdCloseProject() = default;

void IcmdCloseProject::SetCloseBecauseOpenProjectFailed()
{
    save.SetObject(false);
    m_normalClose = false;
}

AcmdEnum::Result IcmdCloseProject::execDo()
{
    Imodel& model = Imodel::GetInstance();
    std::vector<std::string> openedFiles;
    if (ImodelHost* host = model.GetHost()) {
        host->GetOpenedFiles(openedFiles);
        if (!host->CloseDocuments(m_normalClose)) return AcmdEnum::Failure;
    }
    // A project that could not be saved stays open: closing it would lose its changes.
    if (save.GetObject() && !IcmdDoSaveProject(false, &openedFiles)) return AcmdEnum::Failure;
    Imodel::BlockDesignHierarchyDisplay(true, false);
    if (m_normalClose) ImodelDisplayPROJECT_CLOSED_MSG(Design().GetProjectName().c_str());
    CloseModel();
    IcmdBase::NotifyEvent(boost::make_shared<IeventProjectClosed>());
    const Imodel::CoreToolManagerRange coreTools = model.GetCoreToolManagers();
    for (auto tool = coreTools.first; tool != coreTools.second; ++tool) (*tool)->StopTool();
    return AcmdEnum::Success;
}

void IcmdCloseProject::CloseModel()
{
    Imodel& model = Imodel::GetInstance();
    ImodelDesignManager& design = Design();
    // The project's memory is freed off this thread: the file map goes with
    // the design's units, and what goes after them (the watcher's lists)
    // waits for no part of it to be freed.
    ImodelFreeTogether together;
    ImodelModule::ClearRemovedModuleList();
    model.GetFileManager()->RemoveAllFiles();
    design.Reset();
    design.ClearProject();
    model.GetDeviceManager()->SetDevice(ImodelDevice());
    model.GetExtendedInfoManager()->ClearInfo();
    model.GetTimerManager()->Reset();
    model.GetGlobalFlowOptions()->SetDefault();
    model.GetSimulationOptions()->SetDefault();
    if (ItoolModelSimPathOptions* paths = model.GetModelSimPathOptions()) paths->SetDefault();
    model.GetRevisionManager()->RemoveAllViews();
    model.DeleteTempWorld();
    model.GetFileManager()->ClearNames(0);
    // The open constraint editors' components go with the workspace.
    IcmdOpenConstraintsEditor::Close();
    model.SetWorkspace({});
    if (Vybusdef::VyBusDefMgr* busDefinitions = model.GetBusDefManager()) busDefinitions->Load(std::string());
    model.GetCatalog().setCatalog(std::string());
    for (ImodelVarOption* option : model.GetOptions())
        if (option && !option->IsUSERDefVar()) option->SetDefault();
}

bool IcmdDoCloseProject(bool keep, bool openFailed)
{
    auto command = std::make_unique<IcmdCloseProject>();
    if (openFailed) command->SetCloseBecauseOpenProjectFailed();
    return IcmdDoCommand(std::move(command), keep);
}
