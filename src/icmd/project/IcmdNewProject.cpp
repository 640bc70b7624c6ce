// new_project: the checks, the project folder with its sub-folders, the
// device, the first save and the files of the new-project wizard.
#include "icmd/project/IcmdNewProject.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/files/IcmdCreateLink.h"
#include "icmd/files/IcmdImportFiles.h"
#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdSaveProject.h"
#include "ievent/IeventClasses.h"
#include "ifile/IfileFlowOrder.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFreeLater.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "itimer/ItimerManager.h"
#include "itool/ItoolModelSimPathOptions.h"
#include "itool/ItoolSetupFiles.h"
#include "itool/QuorlaneCoreToolManager.h"
#include "src/icmd/project/IcmdFolderMade.h"
#include "src/icmd/project/IcmdProjectFileText.h"

#include <foundation/AcmdManager.h>
#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

namespace {

constexpr int kBlockDesignCoreType = 33;

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

}  // namespace

IcmdNewProject::IcmdNewProject()
    : IcmdBase(false), location("location", this, AcmdValueType::Single(), true, "project location", std::string()),
      name("name", this, AcmdValueType::Single(), true, "project name", std::string(), true), hdl(this, true, true),
      device(this, imodelDeviceFamily)
{
    location.SetMayNotExist(true);
}

IcmdNewProject::~IcmdNewProject() = default;

void IcmdNewProject::SetParams(Imodel* wizard)
{
    if (!wizard) return;
    ImodelDesignManager& design = *wizard->GetDesignManager();
    location.SetObject(design.GetProjectFolder().GetString());
    name.SetObject(design.GetProjectName().GetString());
    hdl.SetObject(design.IsDefaultVHDL());
    device.SetObject(wizard->GetDeviceManager()->GetDevice());
    // The files go in in the order of the design flow: a file is read
    // after those it may depend on.
    std::deque<IfileObjectEx> files;
    wizard->GetFileManager()->GetFiles(files, 0, nullptr);
    if (IprocessManager* processes = Imodel::GetInstance().GetProcessManager())
        if (const IprocessFlow* flow = processes->GetFlowForModule(nullptr))
            IfileSortFileListRegardingFlowOrder(flow->GetFileObjects(), files);
    m_importList.clear();
    m_linkList.clear();
    for (IfileObjectEx& file : files) (file.ImportAsLink() ? m_linkList : m_importList).push_back(std::move(file));
}

bool IcmdNewProject::GetInnerCmds(std::vector<AcmdBase*>& out)
{
    out.push_back(this);
    for (const std::unique_ptr<AcmdBase>& inner : m_innerCmds) out.push_back(inner.get());
    return !out.empty();
}

void IcmdNewProject::ExecuteImportCmd(std::unique_ptr<AcmdBase> command)
{
    if (!command) return;
    {
        // The new project is read no more: the flow takes in the files.
        const ImodelSetAndRestoreModelFlagObject reading(Imodel::GetIsReadingProject(), false);
        AcmdManager::GetInstance().Run(command.get(), false);
    }
    m_innerCmds.push_back(std::move(command));
}

AcmdEnum::Result IcmdNewProject::checkParams()
{
    const std::string projectName = name.GetObject();
    if (!IcmdIsValidProjectName(projectName)) {
        ImodelDisplayINVALID_PROJECT_NAME_MSG(projectName.c_str());
        return AcmdEnum::Failure;
    }
    const std::string folder = location.GetObject();
    if (!IcmdIsValidProjectLocation(folder)) {
        ImodelDisplayINVALID_PROJECT_LOCATION_MSG(folder.c_str());
        return AcmdEnum::Failure;
    }
    if (UtlDoesDiskObjectExist(folder)) {
        ImodelDisplayFOLDER_ALREADY_EXIST_MSG(folder.c_str());
        return AcmdEnum::Failure;
    }
    if (Design().IsProjectOpen() && !IcmdDoCloseProject(false, false)) return AcmdEnum::Failure;
    return AcmdEnum::Success;
}

bool IcmdNewProject::DoCreateProjectFolder(const char* folder, const char* subFolder)
{
    const std::string path = std::string(folder) + SysGetDirChar() + subFolder;
    if (ImodelValidateOrCreateDirectory(ImodelFileName(path))) return true;
    ImodelDisplayUNABLE_TO_CREATE_DIR_MSG(path.c_str());
    return false;
}

bool IcmdNewProject::CreateAllSubDirectories(const ImodelFileName& folder)
{
    const std::string base = folder.empty() ? Design().GetProjectFolder().GetString() : folder.GetString();
    std::vector<const char*> folders = {"hdl"};
    if (ImodelVHDLPackagesInPackageFolder()) folders.push_back("package");
    folders.insert(folders.end(), {"constraint", "viewdraw", "kiltora"});
    if (ImodelIsVeyrunEnabled()) folders.push_back("component");
    folders.insert(folders.end(), {"dremmet", "simulation", "synthesis", "phy_synthesis", "stimulus"});
    for (const char* sub : folders)
        if (!DoCreateProjectFolder(base.c_str(), sub)) return false;
    ImodelFileName views;
    ImodelGetFullPathForFile(zorpaFT_GROUP_PALLADOR, views, ImodelGetFullPathParam());
    if (UtlDoesPathExist(views.GetString())) return true;
    // A project with views whose current view's folder is missing (a
    // checkout does not keep empty folders) gets the folder back, as a
    // switch to that view would make it: another view each open would take
    // the user's current view away.
    ImodelRevisionManager& revisions = *Imodel::GetInstance().GetRevisionManager();
    if (revisions.GetRevisionCount() > 0 && !views.empty()) {
        if (ImodelValidateOrCreateDirectory(views)) return true;
        ImodelDisplayUNABLE_TO_CREATE_DIR_MSG(views.c_str());
        return false;
    }
    return revisions.CreateView(std::string(), ImodelFileName(base), false, true);
}

AcmdEnum::Result IcmdNewProject::execDo()
{
    IcmdCloseProject::CloseModel();
    // The files imported next would be read while the old design is freed,
    // both threads contending for the allocator: it is freed first.
    ImodelWaitForFreedMemory();
    const std::string folder = location.GetObject();
    const IcmdFolderMade made(folder);
    if (!ImodelValidateOrCreateDirectory(ImodelFileName(folder))) {
        ImodelDisplayUNABLE_TO_CREATE_DIR_MSG(folder.c_str());
        made.Remove();
        return AcmdEnum::Failure;
    }
    Imodel& model = Imodel::GetInstance();
    ImodelSetAndRestoreModelFlagObject reading(Imodel::GetIsReadingProject(), true);
    ImodelSetAndRestoreModelFlagObject fromEmpty(Imodel::GetIsStartingFromEmptyHierarchy(), true);
    ImodelDesignManager& design = Design();
    design.SetProjectName(ImodelFileName(name.GetObject()));
    design.SetProjectFolder(ImodelFileName(folder));
    const ImodelDevice chosen = device.GetObject();
    DefSetFL("FAM", chosen.GetFamily().c_str(), __FILE__, __LINE__);
    DefSetFL("DIE", chosen.GetDieInternalName().c_str(), __FILE__, __LINE__);
    DefSetFL("PACKAGE", chosen.GetPackageInternalName().c_str(), __FILE__, __LINE__);
    model.GetDeviceManager()->SetDevice(chosen);
    design.SetDefaultVHDL(hdl.GetObject());
    // The project is known from here: each core tool starts (the block-design
    // tool makes the project's core workspace).
    const Imodel::CoreToolManagerRange coreTools = model.GetCoreToolManagers();
    for (auto tool = coreTools.first; tool != coreTools.second; ++tool) (*tool)->StartTool(true);
    // The user's remembered simulator library choice for the family.
    if (ItoolModelSimPathOptions* paths = model.GetModelSimPathOptions())
        paths->GetNewCustomPathFromDef(std::string(), chosen.GetFamily(), hdl.GetObject());
    if (!CreateAllSubDirectories(ImodelFileName())) {
        IcmdCloseProject::CloseModel();
        made.Remove();
        return AcmdEnum::Failure;
    }
    ItoolCreateModelSim();
    ItoolCreateViewdraw(false);
    design.ResetProjectFileStream(true);
    design.SetProjectOpen(true);
    // A project whose file could not be written is not created.
    if (!IcmdDoSaveProject(false, nullptr)) {
        IcmdCloseProject::CloseModel();
        made.Remove();
        return AcmdEnum::Failure;
    }
    ImodelDisplayPROJECT_CREATED_MSG(design.GetProjectName().c_str());
    model.GetTempWorld();
    // The watcher starts over with the new project's folders.
    model.GetTimerManager()->Reset();
    model.GetTimerManager()->Start();
    // The wizard's files: a file that cannot be imported or linked is
    // reported by its command, and the project stays as created.
    if (!m_importList.empty()) {
        auto import = std::make_unique<IcmdImportFiles>(&model, false);
        import->AddAllFiles(m_importList);
        ExecuteImportCmd(std::move(import));
    }
    if (!m_linkList.empty()) {
        auto link = std::make_unique<IcmdCreateLink>(&model);
        link->AddAllFiles(m_linkList);
        ExecuteImportCmd(std::move(link));
    }
    IcmdBase::NotifyEvent(boost::make_shared<IeventProjectOpened>(true));
    model.CheckNewCores(kBlockDesignCoreType);
    Imodel::BlockDesignHierarchyDisplay(false, false);
    return AcmdEnum::Success;
}

bool IcmdDoNewProject(bool keep, const std::string& name, const std::string& folder, bool isVHDL,
                      const std::string& family, const std::string& die, const std::string& package)
{
    std::unique_ptr<Imodel> wizard = Imodel::CreateNewProjectWizardInstance();
    if (!wizard) return false;
    wizard->GetDesignManager()->SetProjectFolder(ImodelFileName(folder));
    wizard->GetDesignManager()->SetProjectName(ImodelFileName(name));
    wizard->GetDesignManager()->SetDefaultVHDL(isVHDL);
    ImodelDevice device;
    device.SetMember(family, imodelDeviceFamily);
    device.SetMember(die, imodelDeviceDie);
    device.SetMember(package, imodelDevicePackage);
    wizard->GetDeviceManager()->SetDevice(device);
    const bool done = IcmdDoNewProject(keep, *wizard);
    Imodel::DestroyNewProjectWizardInstance(wizard);
    return done;
}

bool IcmdDoNewProject(bool keep, Imodel& wizard)
{
    auto command = std::make_unique<IcmdNewProject>();
    command->SetParams(&wizard);
    return IcmdDoCommand(std::move(command), keep);
}
