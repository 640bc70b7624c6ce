// new_project, save_project and close_project, and the in-process entry
// points of the four project commands.
#include "src/icmd/project/IcmdProjectCommands.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/IcmdOpenConstraintsEditor.h"
#include "icmd/IcmdProjectCommands.h"
#include "ievent/IeventClasses.h"
#include "ifile/IfileFunctions.h"
#include "ifile/IfileManager.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "imodel/options/ImodelSimulationOptions.h"
#include "imodel/options/ImodelVarOption.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "itimer/ItimerManager.h"
#include "itool/ItoolModelSimPathOptions.h"
#include "itool/ItoolSetupFiles.h"
#include "src/icmd/project/IcmdProjectFileText.h"
#include "src/icmd/project/IcmdProjectMessages.h"
#include "src/icmd/project/IcmdProjectMeter.h"
#include "src/icmd/project/IcmdReadWriteProjectImpl.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

#include <ktwkspace/Catalog.h>
#include <ktwkspace/Workspace.h>
#include <vy/VyBusDefMgr.h>

#include <cctype>

namespace {

constexpr int kBlockDesignCoreType = 33;

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

}  // namespace

bool IcmdIsValidProjectName(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.find("..") != std::string::npos) return false;
    for (const char c : name)
        if (c == '/' || c == '\\' || c == '"' || std::iscntrl(static_cast<unsigned char>(c))) return false;
    return true;
}

// --- new_project ------------------------------------------------------------------------------------

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
}

AcmdEnum::Result IcmdNewProject::checkParams()
{
    const std::string projectName = name.GetObject();
    if (!IcmdIsValidProjectName(projectName)) {
        IcmdDisplayINVALID_PROJECT_NAME_MSG(projectName.c_str(), "name");
        return AcmdEnum::Failure;
    }
    // The folder is stored between double quotes in the project file.
    const std::string folder = location.GetObject();
    if (!IcmdIsStorableValue(folder)) {
        IcmdDisplayINVALID_PROJECT_NAME_MSG(folder.c_str(), "location");
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
    return Imodel::GetInstance().GetRevisionManager()->CreateView(std::string(), ImodelFileName(base), false, true);
}

AcmdEnum::Result IcmdNewProject::execDo()
{
    IcmdCloseProject::CloseModel();
    const std::string folder = location.GetObject();
    if (!ImodelValidateOrCreateDirectory(ImodelFileName(folder))) {
        ImodelDisplayUNABLE_TO_CREATE_DIR_MSG(folder.c_str());
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
    // The user's remembered simulator library choice for the family.
    if (ItoolModelSimPathOptions* paths = model.GetModelSimPathOptions())
        paths->GetNewCustomPathFromDef(std::string(), chosen.GetFamily(), hdl.GetObject());
    if (!CreateAllSubDirectories(ImodelFileName())) {
        IcmdCloseProject::CloseModel();
        return AcmdEnum::Failure;
    }
    ItoolCreateModelSim();
    ItoolCreateViewdraw(false);
    design.ResetProjectFileStream(true);
    design.SetProjectOpen(true);
    // A project whose file could not be written is not created.
    if (!IcmdDoSaveProject(false, nullptr)) {
        IcmdCloseProject::CloseModel();
        return AcmdEnum::Failure;
    }
    ImodelDisplayPROJECT_CREATED_MSG(design.GetProjectName().c_str());
    model.GetTempWorld();
    IcmdBase::NotifyEvent(boost::make_shared<IeventProjectOpened>(true));
    model.CheckNewCores(kBlockDesignCoreType);
    Imodel::BlockDesignHierarchyDisplay(false, false);
    return AcmdEnum::Success;
}

// --- save_project -----------------------------------------------------------------------------------

AcmdEnum::Result IcmdSaveProject::execDo()
{
    ImodelDesignManager& design = Design();
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

// --- close_project ----------------------------------------------------------------------------------

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
    return AcmdEnum::Success;
}

void IcmdCloseProject::CloseModel()
{
    Imodel& model = Imodel::GetInstance();
    ImodelModule::ClearRemovedModuleList();
    model.GetFileManager()->RemoveAllFiles();
    ImodelDesignManager& design = Design();
    design.Reset();
    design.ClearProject();
    model.GetDeviceManager()->SetDevice(ImodelDevice());
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

// --- entry points -----------------------------------------------------------------------------------

bool IcmdDoSaveProject(bool keep, std::vector<std::string>* openedFiles)
{
    auto command = std::make_unique<IcmdSaveProject>();
    if (openedFiles) command->SetOpenedFiles(openedFiles);
    return IcmdDoCommand(std::move(command), keep);
}

bool IcmdDoCloseProject(bool keep, bool openFailed)
{
    auto command = std::make_unique<IcmdCloseProject>();
    if (openFailed) command->SetCloseBecauseOpenProjectFailed();
    return IcmdDoCommand(std::move(command), keep);
}

bool IcmdDoNewProject(bool keep, const std::string& name, const std::string& folder, bool isVHDL,
                      const std::string& family, const std::string& die, const std::string& package)
{
    auto command = std::make_unique<IcmdNewProject>();
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
    command->SetParams(wizard.get());
    const bool done = IcmdDoCommand(std::move(command), keep);
    Imodel::DestroyNewProjectWizardInstance(wizard);
    return done;
}

IcmdCommandFactory IcmdNewProjectFactory() { return IcmdFactoryOf<IcmdNewProject>(); }
IcmdCommandFactory IcmdCloseProjectFactory() { return IcmdFactoryOf<IcmdCloseProject>(); }
IcmdCommandFactory IcmdSaveProjectFactory() { return IcmdFactoryOf<IcmdSaveProject>(); }
IcmdCommandFactory IcmdOpenProjectFactory() { return IcmdFactoryOf<IcmdOpenProject>(); }
