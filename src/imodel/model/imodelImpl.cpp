// The project model: its construction in the fixed order of the managers,
// the process-wide instance and the wizard's instance, the process-wide
// flags, and the services that need no other part of the model.
#include "src/imodel/model/imodelImpl.h"

#include "ifile/IfileExtendedInfoManager.h"
#include "ifile/IfileManager.h"
#include "imodel/cores/ImodelTemplateManager.h"
#include "imodel/model/ImodelCommandServices.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/options/ImodelGlobalFlowOptions.h"
#include "imodel/options/ImodelKiltoraReportOption.h"
#include "imodel/options/ImodelSimulationOptions.h"
#include "iprocess/IprocessConditions.h"
#include "iprocess/IprocessDisplay.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessManager.h"
#include "itimer/ItimerManager.h"
#include "itool/ItoolConstraintsManager.h"
#include "itool/ItoolModelSimPathOptions.h"
#include "itool/ItoolPallador.h"
#include "itool/ItoolPhySynth.h"
#include "itool/ItoolSynthesis.h"
#include "itool/ItoolVeyrun.h"
#include "src/imodel/design/imodelDesignManagerImpl.h"
#include "src/imodel/device/imodelDeviceManagerImpl.h"
#include "src/imodel/views/imodelRevisionManagerImpl.h"

#include <dastrel/DastrelModel.h>
#include <foundation/Def.h>
#include <foundation/Sys.h>
#include <ktcore/BrnDesignCmdFacade.h>
#include <ktwkspace/Workspace.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <type_traits>

// The model deletes each of these through its interface.
static_assert(std::has_virtual_destructor_v<ImodelRevisionManager> &&
              std::has_virtual_destructor_v<ImodelDesignManager> &&
              std::has_virtual_destructor_v<ImodelDeviceManager> && std::has_virtual_destructor_v<IfileManager> &&
              std::has_virtual_destructor_v<IprocessManager> &&
              std::has_virtual_destructor_v<IfileExtendedInfoManager> && std::has_virtual_destructor_v<ItimerManager> &&
              std::has_virtual_destructor_v<ImodelVarOption> && std::has_virtual_destructor_v<ItoolPallador> &&
              std::has_virtual_destructor_v<ItoolPhySynth> && std::has_virtual_destructor_v<ItoolSynthesis> &&
              std::has_virtual_destructor_v<QuorlaneCoreToolManager>);

namespace {

// The models constructed and not yet being destroyed, as a list through the
// models themselves: plain pointers, so the list is still there while
// static objects are destroyed at unload.
imodelImpl* g_firstAlive = nullptr;

// The process-wide model while its constructor runs: a manager that asks for
// the model meanwhile gets it, with the managers made so far.
imodelImpl* g_processWideInBuild = nullptr;

bool g_interactiveMode = false;

// Reads a switch that is asked again at every call: on when it reads 1.
bool IsOptionOn(const char* name)
{
    int value = 0;
    DefGetBoolFL(name, &value, __FILE__, __LINE__);
    return value == 1;
}

}  // namespace

// --- construction ---------------------------------------------------------------

#define IMODEL_BOOL_SETTING_INIT(name, variable, defaultValue, reloadable)                                             \
    type_FixedBoolDefValue(variable, defaultValue),

imodelImpl::imodelImpl(bool isWizardInstance)
    : m_isWizardInstance(isWizardInstance), m_settings{{IMODEL_BOOL_SETTINGS(IMODEL_BOOL_SETTING_INIT)}}
{
    Link();
    Build();
}

imodelImpl::imodelImpl(ProcessWideTag)
    : m_isWizardInstance(false), m_settings{{IMODEL_BOOL_SETTINGS(IMODEL_BOOL_SETTING_INIT)}}
{
    Link();
    g_processWideInBuild = this;
    Build();
    g_processWideInBuild = nullptr;
}

#undef IMODEL_BOOL_SETTING_INIT

void imodelImpl::Build()
{
    m_revisionManager = std::make_unique<imodelRevisionManagerImpl>();
    m_designManager = std::make_unique<imodelDesignManagerImpl>();
    m_deviceManager = std::make_unique<imodelDeviceManagerImpl>();
    m_fileManager = IfileCreateManager();
    m_extendedInfoManager = IfileCreateExtendedInfoManager();
    m_timerManager = ItimerCreateManager();
    m_globalFlowOptions = std::make_unique<ImodelGlobalFlowOptions>();
    m_simulationOptions = std::make_unique<ImodelSimulationOptions>();
    m_modelSimPathOptions = std::make_unique<ItoolModelSimPathOptions>();
    m_templateManager = std::make_unique<ImodelTemplateManager>();
    // Each flow tool registers itself by its tool kind with the constraints manager.
    m_palladorTool = ItoolCreatePallador();
    m_phySynthTool = ItoolCreatePhySynth();
    m_synthesisTool = ItoolCreateSynthesis();
    AddOption(std::make_unique<ImodelKiltoraReportOption>());
    FindInstallFolder();
    // Also registers itself as a view of this model.
    AddCoreToolManager(std::make_unique<ItoolVeyrun>(this));
}

std::optional<std::string> imodelImpl::InstallFolderFrom(const char* environmentValue)
{
    if (environmentValue == nullptr) return std::nullopt;
    std::string folder = environmentValue;
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    if (folder.empty()) return std::nullopt;
    return folder;
}

void imodelImpl::FindInstallFolder()
{
    const std::optional<std::string> folder = InstallFolderFrom(std::getenv("BRENNIC_SW_DIR"));
    if (!folder) {
        if (IsDebugMsg()) SysPrintf("BRENNIC_SW_DIR names no install folder: no core catalogue is loaded.\n");
        return;
    }
    m_installFolder = *folder;
    m_catalogPath = m_installFolder + "/data/kiltora_catalog.xml";
    // A catalogue that cannot be read stays empty; the catalogue says why
    // in a debug line.
    m_catalog.load(m_catalogPath);
}

imodelImpl::~imodelImpl()
{
    // From here on the model is gone for views and events: a view destroyed
    // below, or a manager that sends an event while it goes, finds nothing.
    Unlink();

    m_revisionManager.reset();
    m_designManager.reset();
    m_deviceManager.reset();
    m_processManager.reset();
    m_fileManager.reset();
    m_extendedInfoManager.reset();
    m_timerManager.reset();
    m_globalFlowOptions.reset();
    m_simulationOptions.reset();
    m_modelSimPathOptions.reset();
    m_templateManager.reset();
    m_palladorTool.reset();
    m_phySynthTool.reset();
    m_synthesisTool.reset();
    m_workspace.reset();
    m_coreToolManagers.clear();
    m_options.clear();
    m_ownedOptions.clear();
}

void imodelImpl::AddOption(std::unique_ptr<ImodelVarOption> option)
{
    if (!option) return;
    m_options.push_back(option.get());
    m_ownedOptions.push_back(std::move(option));
}

void imodelImpl::Link()
{
    m_nextAlive = g_firstAlive;
    if (g_firstAlive != nullptr) g_firstAlive->m_previousAlive = this;
    g_firstAlive = this;
}

void imodelImpl::Unlink()
{
    if (m_previousAlive != nullptr)
        m_previousAlive->m_nextAlive = m_nextAlive;
    else if (g_firstAlive == this)
        g_firstAlive = m_nextAlive;
    if (m_nextAlive != nullptr) m_nextAlive->m_previousAlive = m_previousAlive;
    m_previousAlive = m_nextAlive = nullptr;
}

imodelImpl& imodelImpl::ProcessWide()
{
    if (g_processWideInBuild != nullptr) return *g_processWideInBuild;
    static imodelImpl model{ProcessWideTag{}};
    return model;
}

// --- the instances ------------------------------------------------------------------

Imodel& Imodel::GetInstance() { return imodelImpl::ProcessWide(); }

bool Imodel::IsAlive(const Imodel* model)
{
    if (model == nullptr) return false;
    for (const imodelImpl* alive = g_firstAlive; alive != nullptr; alive = alive->m_nextAlive) {
        if (alive == model) return true;
    }
    return false;
}

std::unique_ptr<Imodel> Imodel::CreateNewProjectWizardInstance() { return std::make_unique<imodelImpl>(true); }

void Imodel::DestroyNewProjectWizardInstance(std::unique_ptr<Imodel>& model) { model.reset(); }

// --- process-wide flags ------------------------------------------------------------

#define IMODEL_STATIC_FLAG(accessor, initial)                                                                          \
    bool& Imodel::accessor()                                                                                           \
    {                                                                                                                  \
        static bool flag = initial;                                                                                    \
        return flag;                                                                                                   \
    }
IMODEL_STATIC_FLAG(GetFileCreatedBySolvato, false)
IMODEL_STATIC_FLAG(GetNotifyConstraintListChanged, true)
IMODEL_STATIC_FLAG(GetUpdateIncorrectFiles, true)
IMODEL_STATIC_FLAG(IsRunningTests, false)
IMODEL_STATIC_FLAG(GetUpdateTree, true)
IMODEL_STATIC_FLAG(GetUpdateProcessDisplay, true)
IMODEL_STATIC_FLAG(GetIsReadingProject, false)
IMODEL_STATIC_FLAG(GetDisplayReadingFileMessage, false)
IMODEL_STATIC_FLAG(GetIsConvertingProject, false)
IMODEL_STATIC_FLAG(GetIsStartingFromEmptyHierarchy, false)
#undef IMODEL_STATIC_FLAG

bool Imodel::IsInteractiveMode() { return g_interactiveMode; }

void Imodel::SetIsInteractiveMode(bool interactive) { g_interactiveMode = interactive; }

bool Imodel::BlockDesignHierarchyDisplay(bool block, bool)
{
    const bool wasBlocked = !GetUpdateTree();
    GetUpdateTree() = !block;
    return wasBlocked;
}

bool Imodel::BlockProcessDisplay(bool block, bool refresh)
{
    const bool wasBlocked = !GetUpdateProcessDisplay();
    GetUpdateProcessDisplay() = !block;
    if (!block && refresh && IsInteractiveMode()) {
        IprocessManager* processes = GetInstance().GetProcessManager();
        if (IprocessDisplay* display = processes ? processes->GetProcessDisplay() : nullptr)
            display->RequestRefresh(false);
    }
    return wasBlocked;
}

bool Imodel::IsRunningScript()
{
    Imodel& model = GetInstance();
    if (IsAlive(&model) && model.GetHost() != nullptr) return model.GetHost()->IsRunningScript();
    return !IsInteractiveMode();
}

// --- services ------------------------------------------------------------------------

bool imodelImpl::SetHasNetlistModules(bool hasNetlistModules)
{
    m_hasNetlistModules = hasNetlistModules;
    return m_hasNetlistModules;
}

void imodelImpl::RegisterCommands()
{
    // The core libraries (core workspace, core designs, IP repositories)
    // register their own commands before the library's, each from its
    // library's stand-in.
    Ktwkspace::Workspace::RegisterVyCommands();
    Brndesign::BrnDesignCmdFacade::RegisterCommands();
    DastrelModel::GetInstance().RegisterCommands();
    // The library's own commands are the command layer's: it installed its
    // services as the library was loaded.
    Imodel& model = GetInstance();
    if (ImodelCommandServices* commands = ImodelCommandServices::Get())
        commands->RegisterCommands(model, model.IsLinkingEnabled());
}

const std::vector<std::string>& imodelImpl::GetEmptyList()
{
    static const std::vector<std::string> empty;
    return empty;
}

ImodelVarOption* imodelImpl::FindOption(const char* key)
{
    if (key == nullptr) return nullptr;
    const auto found = std::find_if(m_options.begin(), m_options.end(),
                                    [key](ImodelVarOption* option) { return option->IsIdentifier(key); });
    return found == m_options.end() ? nullptr : *found;
}

IprocessManager* imodelImpl::GetProcessManager()
{
    if (m_processManager == nullptr && m_timerManager != nullptr) {
        auto manager = IprocessCreateManager();
        IprocessManager& made = *manager;
        // Kept before its flow is made, so that whoever asks meanwhile gets
        // this one rather than making a second.
        m_processManager = std::move(manager);
        IprocessCreateDefaultFlow(made, *m_timerManager, m_fileManager.get());
    }
    return m_processManager.get();
}

QuorlaneStateMachine* imodelImpl::GetStateMachine() { return GetProcessManager(); }

ItoolConstraintsManager& imodelImpl::GetConstraintsManager() { return ItoolConstraintsManager::GetInstance(); }

ItoolPallador* imodelImpl::GetPalladorTool() { return m_palladorTool.get(); }
ItoolPhySynth* imodelImpl::GetPhySynthTool() { return m_phySynthTool.get(); }
ItoolSynthesis* imodelImpl::GetSynthesisTool() { return m_synthesisTool.get(); }

bool imodelImpl::CanChangeFamily()
{
    if (m_isWizardInstance) return true;
    if (m_fileManager == nullptr || m_fileManager->GetFileCount() == 0) return true;
    return IsOptionOn("FAM_CHANGE_ENABLED");
}

bool imodelImpl::CanChangeAllFamilies()
{
    if (m_fileManager == nullptr || m_fileManager->GetFileCount() == 0) return true;
    return IsOptionOn("ALL_FAM_CHANGE_ENABLED");
}

// --- core-tool managers -------------------------------------------------------------

QuorlaneCoreToolManager* imodelImpl::GetCoreToolManager(int coreType)
{
    // Type 34 is served by the manager of type 33.
    const int wanted = coreType == 34 ? 33 : coreType;
    const auto found =
        std::find_if(m_coreToolManagers.begin(), m_coreToolManagers.end(),
                     [wanted](const auto& manager) { return static_cast<int>(manager->GetCoreType()) == wanted; });
    return found == m_coreToolManagers.end() ? nullptr : found->get();
}

void imodelImpl::AddCoreToolManager(std::unique_ptr<QuorlaneCoreToolManager> manager)
{
    if (manager != nullptr) m_coreToolManagers.push_back(std::move(manager));
}

std::unique_ptr<QuorlaneCoreToolManager> imodelImpl::RemoveCoreToolManager(QuorlaneCoreToolManager* manager)
{
    const auto found = std::find_if(m_coreToolManagers.begin(), m_coreToolManagers.end(),
                                    [manager](const auto& listed) { return listed.get() == manager; });
    if (found == m_coreToolManagers.end()) return nullptr;
    std::unique_ptr<QuorlaneCoreToolManager> removed = std::move(*found);
    m_coreToolManagers.erase(found);
    return removed;
}

Imodel::CoreToolManagerRange imodelImpl::GetCoreToolManagers() const
{
    return {m_coreToolManagers.cbegin(), m_coreToolManagers.cend()};
}

bool imodelImpl::CheckNewCores(int coreType)
{
    QuorlaneCoreToolManager* manager = GetCoreToolManager(coreType);
    if (manager == nullptr) return false;
    // A hidden tool's cores are none of the project's business.
    if (IprocessIsToolHidden(manager->GetToolType(), *this)) return true;
    manager->SaveNewWorkspaceTimeStamp();
    return manager->CheckNewCoresCreated();
}

void imodelImpl::RefreshCoreTool(int coreType)
{
    QuorlaneCoreToolManager* manager = GetCoreToolManager(coreType);
    if (manager != nullptr && !IprocessIsToolHidden(manager->GetToolType(), *this)) manager->Refresh();
}
