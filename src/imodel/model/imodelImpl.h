// The project model: owns every manager of the open project, the option
// objects, the flow-tool objects and the core-tool managers, keeps the views
// and the host object, and caches the named switches of the options database.
#pragma once

#include "imodel/model/Imodel.h"
#include "itool/QuorlaneCoreToolManager.h"
#include "src/imodel/design/imodelSavedLibraries.h"

#include <ktwkspace/Catalog.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class IIDEObject;

// The named switches: (enumerator, options variable, default, read again by
// ReloadBoolSettings), in the order they are made.
#define IMODEL_BOOL_SETTINGS(X)                                                                                        \
    X(DebugMsg, "DEBUG_MSG", false, true)                                                                              \
    X(DebugTimer, "DEBUG_TIMER", false, true)                                                                          \
    X(DebugState, "DEBUG_STATE", false, true)                                                                          \
    X(TimerEnabled, "IDE_TIMER_ENABLED", true, true)                                                                   \
    X(ImportFilesRightAway, "IDE_IMPORT_FILES_RIGHT_AWAY", true, true)                                                 \
    X(RepositoryTimerDisabled, "IDE_REPOSITORY_TIMER_DISABLED", false, true)                                           \
    X(ParseCxfOnOpen, "IDE_KILTORA_PARSE_CXF_ONOPEN", true, true)                                                      \
    X(SafeUpdateViews, "IDE_SAFE_UPDATE_VIEWS", true, true)                                                            \
    X(OpenAllCoreFilesInReadOnly, "IDE_OPEN_ALL_CORE_FILES_IN_READONLY", true, true)                                   \
    X(UpdateAlwaysSendMessage, "IDE_UPDATE_ALWAYS_SEND_MESSAGE", false, true)                                          \
    X(IntegrateDremmet, "IDE_INTEGRATE_DREMMET", true, true)                                                           \
    X(LinkingEnabled, "IDE_LINKING_ENABLED", true, true)                                                               \
    X(PackagerEnabled, "IDE_PACKAGER_ENABLED", false, false)                                                           \
    X(PackagerEnabledForUserIP, "IDE_PACKAGER_ENABLED_FOR_USERIP", false, false)                                       \
    X(PackagerEnabledForVy, "IDE_PACKAGER_ENABLED_FOR_VY", false, false)                                               \
    X(PackagerEnabledForKt, "IDE_PACKAGER_ENABLED_FOR_KT", false, false)                                               \
    X(IncludeForSimulationEnabled, "IDE_INCLUDE_FOR_SIMULATION_ENABLED", false, false)

class imodelImpl : public Imodel {
public:
    // One named switch of the options database: read on first use, then
    // answered from the cache. A switch the options database does not hold
    // keeps its default (or the value read last).
    class type_FixedBoolDefValue {
    public:
        type_FixedBoolDefValue(const char* name, bool defaultValue) : m_name(name), m_value(defaultValue) {}
        virtual ~type_FixedBoolDefValue() = default;

        bool GetValue();
        // The next GetValue asks the options database again.
        void Reload() { m_read = false; }
        const std::string& GetName() const { return m_name; }

    private:
        std::string m_name;
        bool m_read = false;
        bool m_value;
    };

    enum class BoolSetting {
#define IMODEL_BOOL_SETTING_ENUM(name, variable, defaultValue, reloadable) name,
        IMODEL_BOOL_SETTINGS(IMODEL_BOOL_SETTING_ENUM)
#undef IMODEL_BOOL_SETTING_ENUM
        Count
    };

    explicit imodelImpl(bool isWizardInstance);
    ~imodelImpl() override;

    bool IsWizardInstance() const override { return m_isWizardInstance; }
    bool HasNetlistModules() const override { return m_hasNetlistModules; }
    bool SetHasNetlistModules(bool hasNetlistModules) override;

    void RegisterCommands() override;

    ImodelRevisionManager* GetRevisionManager() override { return m_revisionManager.get(); }
    ImodelDesignManager* GetDesignManager() override { return m_designManager.get(); }
    ImodelDeviceManager* GetDeviceManager() override { return m_deviceManager.get(); }
    ImodelGlobalFlowOptions* GetGlobalFlowOptions() override { return m_globalFlowOptions.get(); }
    const std::vector<ImodelVarOption*>& GetOptions() override { return m_options; }
    void AddOption(std::unique_ptr<ImodelVarOption> option) override;
    ImodelVarOption* FindOption(const char* key) override;
    ImodelSimulationOptions* GetSimulationOptions() override { return m_simulationOptions.get(); }
    ItoolModelSimPathOptions* GetModelSimPathOptions() override { return m_modelSimPathOptions.get(); }
    IfileManager* GetFileManager() override { return m_fileManager.get(); }
    IprocessManager* GetProcessManager() override;
    // The process manager when it was made; null otherwise (nothing is made).
    IprocessManager* PeekProcessManager() const { return m_processManager.get(); }
    QuorlaneStateMachine* GetStateMachine() override;
    ItoolConstraintsManager& GetConstraintsManager() override;
    IfileExtendedInfoManager* GetExtendedInfoManager() override { return m_extendedInfoManager.get(); }
    ItimerManager* GetTimerManager() override { return m_timerManager.get(); }
    ImodelTemplateManager* GetTemplateManager() override { return m_templateManager.get(); }
    ItoolPallador* GetPalladorTool() override;
    ItoolPhySynth* GetPhySynthTool() override;
    ItoolSynthesis* GetSynthesisTool() override;
    Ktwkspace::Catalog& GetCatalog() override { return m_catalog; }
    Ktwkspace::Workspace* GetWorkspace() override { return m_workspace.get(); }
    Ktwkspace::Workspace* GetCurrentWorkspace() override { return GetWorkspace(); }
    Vybusdef::VyBusDefMgr* GetBusDefManager() override;

    bool IsDebugMsg() override { return Setting(BoolSetting::DebugMsg); }
    bool IsDebugTimer() override { return Setting(BoolSetting::DebugTimer); }
    bool IsDebugState() override { return Setting(BoolSetting::DebugState); }
    bool IsTimerEnabled() override { return Setting(BoolSetting::TimerEnabled); }
    bool ImportFilesRightAway() override { return Setting(BoolSetting::ImportFilesRightAway); }
    bool ParseCxfOnOpen() override { return Setting(BoolSetting::ParseCxfOnOpen); }
    bool IsRepositoryTimerDisabled() override { return Setting(BoolSetting::RepositoryTimerDisabled); }
    bool SafeUpdateViews() override { return Setting(BoolSetting::SafeUpdateViews); }
    bool OpenAllCoreFilesInReadOnly() override { return Setting(BoolSetting::OpenAllCoreFilesInReadOnly); }
    bool UpdateAlwaysSendMessage() override { return Setting(BoolSetting::UpdateAlwaysSendMessage); }
    bool IntegrateDremmet() override { return Setting(BoolSetting::IntegrateDremmet); }
    bool IsLinkingEnabled() override { return Setting(BoolSetting::LinkingEnabled); }
    bool IsPackagerEnabled() override { return Setting(BoolSetting::PackagerEnabled); }
    bool IsPackagerEnabledForUserIP() override;
    bool IsPackagerEnabledFor(const VyIfaces::IComponent* component) override;
    bool IsIncludeForSimulationEnabled() override { return Setting(BoolSetting::IncludeForSimulationEnabled); }
    bool ReloadBoolSettings() override;
    // The named switch of one row of IMODEL_BOOL_SETTINGS, for the checks
    // that walk the whole table.
    bool Setting(BoolSetting setting);

    void SetHost(ImodelHost* host) override { m_host = host; }
    ImodelHost* GetHost() const override { return m_host; }

    NdbWorld* GetTempWorld() override;
    void DeleteTempWorld() override;
    NdbWorld* GetExistingTempWorld() override { return m_tempWorld; }

    bool CanChangeFamily() override;
    bool CanChangeAllFamilies() override;

    void SetModelSimPathOptions(const ItoolModelSimPathOptions& options, bool& saved) override;

    QuorlaneCoreToolManager* GetCoreToolManager(int coreType) override;
    void AddCoreToolManager(std::unique_ptr<QuorlaneCoreToolManager> manager) override;
    std::unique_ptr<QuorlaneCoreToolManager> RemoveCoreToolManager(QuorlaneCoreToolManager* manager) override;
    CoreToolManagerRange GetCoreToolManagers() const override;
    bool CheckNewCores(int coreType) override;
    void RefreshCoreTool(int coreType) override;

    void GetWorkspaceFileName(ImodelFileName& out) override;
    void SetWorkspace(std::unique_ptr<Ktwkspace::Workspace> workspace) override;
    void OpenWorkspace() override;

    void SaveLibraries() override;
    using Imodel::RestoreLibraries;
    void RestoreLibraries(bool byName, const zorpaSaveRestoreParams& params, const RestoreExtras& extras) override;

    void RegisterView(IeventView* view) override;
    void UnregisterView(IeventView* view) override;
    void SendEvent(boost::shared_ptr<Ievent> event, bool allowDeferred) override;
    void SendEvents(const IeventBatch& events, bool allowDeferred) override;
    void SuspendViews() override;
    void RestoreViews() override;

    const std::vector<std::string>& GetEmptyList() override;
    void BlockDrawing(bool block) override;

    // The install folder of the suite, from BRENNIC_SW_DIR without trailing
    // separators, and the core catalogue under it; empty when the variable
    // names no folder.
    const std::string& GetInstallFolder() const { return m_installFolder; }
    const std::string& GetCatalogPath() const { return m_catalogPath; }
    // The install folder that `environmentValue` names (null: the variable
    // is not set); nothing when it is empty or holds only separators.
    static std::optional<std::string> InstallFolderFrom(const char* environmentValue);

    // The process-wide model; GetInstance builds it on the first call.
    static imodelImpl& ProcessWide();

private:
    struct ProcessWideTag {};
    explicit imodelImpl(ProcessWideTag);
    // Makes the managers and objects, in their fixed order.
    void Build();
    void FindInstallFolder();
    // The workspace for a project whose workspace file is missing (in
    // OpenWorkspace); throws what the workspace library throws.
    std::unique_ptr<Ktwkspace::Workspace> CreateWorkspace(IIDEObject* callback);

    bool IsViewRegistered(const IeventView* view) const;

    // Every model that is constructed and not yet being destroyed, so that a
    // view or an event that outlives its model can tell (IsAlive).
    void Link();
    void Unlink();
    imodelImpl* m_previousAlive = nullptr;
    imodelImpl* m_nextAlive = nullptr;
    friend class Imodel;

    std::unique_ptr<ImodelRevisionManager> m_revisionManager;
    std::unique_ptr<ImodelDesignManager> m_designManager;
    std::unique_ptr<ImodelDeviceManager> m_deviceManager;
    std::unique_ptr<IfileManager> m_fileManager;
    std::unique_ptr<IprocessManager> m_processManager;
    std::unique_ptr<IfileExtendedInfoManager> m_extendedInfoManager;
    std::unique_ptr<ItimerManager> m_timerManager;
    std::vector<std::unique_ptr<ImodelVarOption>> m_ownedOptions;
    std::vector<ImodelVarOption*> m_options;  // the owned options, as the interface hands them out
    std::unique_ptr<ImodelGlobalFlowOptions> m_globalFlowOptions;
    std::unique_ptr<ImodelSimulationOptions> m_simulationOptions;
    std::unique_ptr<ItoolModelSimPathOptions> m_modelSimPathOptions;
    ImodelHost* m_host = nullptr;
    NdbWorld* m_tempWorld = nullptr;  // the netlist database's; DeleteTempWorld frees it
    CoreToolManagers m_coreToolManagers;
    // Each registration has its own number: a view made during a delivery
    // may take the address of one destroyed in it, and must not be told of
    // the batch in its place.
    struct RegisteredView {
        IeventView* view;
        std::uint64_t registration;
        bool operator==(const RegisteredView&) const = default;
    };
    std::vector<RegisteredView> m_views;
    std::vector<RegisteredView> m_suspendedViews;
    std::uint64_t m_lastRegistration = 0;
    int m_suspendDepth = 0;
    bool m_isWizardInstance;
    bool m_hasNetlistModules = false;
    std::unique_ptr<ImodelTemplateManager> m_templateManager;
    std::unique_ptr<ItoolPallador> m_palladorTool;
    std::unique_ptr<ItoolPhySynth> m_phySynthTool;
    std::unique_ptr<ItoolSynthesis> m_synthesisTool;
    std::unique_ptr<Ktwkspace::Workspace> m_workspace;
    // The workspace file, as it stood on disk, whose open failed and was
    // told; empty once a workspace is set or let go of. An open of the
    // project tries the workspace while it reads the files and again when
    // its core tools start: the same failure is told once.
    std::string m_workspaceFailureTold;
    Ktwkspace::Catalog m_catalog;
    std::string m_installFolder;
    std::string m_catalogPath;
    std::array<type_FixedBoolDefValue, static_cast<std::size_t>(BoolSetting::Count)> m_settings;
    // Copies saved and not restored yet are destroyed with the model.
    imodelSavedLibraries m_savedLibraries;
};
