// The project model: the one object that owns every manager of the open
// project. Every other part reaches it through Imodel::GetInstance(); the
// new-project wizard gets a second, separate instance of its own.
#pragma once

#include "ievent/Ievent.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

class IeventView;
class IfileExtendedInfoManager;
class IfileManager;
class ImodelDesignManager;
class ImodelDeviceManager;
class ImodelFileName;
class ImodelGlobalFlowOptions;
class ImodelHost;
class ImodelModule;
class ImodelRevisionManager;
class ImodelSimulationOptions;
class ImodelTemplateManager;
class ImodelVarOption;
class IprocessManager;
class ItimerManager;
class ItoolConstraintsManager;
class ItoolModelSimPathOptions;
class ItoolPallador;
class ItoolPhySynth;
class ItoolSynthesis;
class NdbWorld;
class QuorlaneCoreToolManager;
class QuorlaneStateMachine;
namespace Ktwkspace {
class Catalog;
class Workspace;
}  // namespace Ktwkspace
namespace VyIfaces {
class IComponent;
}
namespace Vybusdef {
class VyBusDefMgr;
}
struct zorpaSaveRestoreParams;

class Imodel {
public:
    using CoreToolManagers = std::vector<std::unique_ptr<QuorlaneCoreToolManager>>;
    using CoreToolManagerRange = std::pair<CoreToolManagers::const_iterator, CoreToolManagers::const_iterator>;

    virtual ~Imodel() = default;

    virtual bool IsWizardInstance() const = 0;
    virtual bool HasNetlistModules() const = 0;
    // Stores the flag and returns it.
    virtual bool SetHasNetlistModules(bool hasNetlistModules) = 0;

    // Registers the core libraries' commands, then one prototype of each of
    // the library's commands, in their fixed order (the command layer's
    // table, through ImodelCommandServices; none while it is not loaded).
    virtual void RegisterCommands() = 0;

    // The owned managers and objects; never null while the model lives,
    // except the process manager, which GetProcessManager makes on first use.
    virtual ImodelRevisionManager* GetRevisionManager() = 0;
    virtual ImodelDesignManager* GetDesignManager() = 0;
    virtual ImodelDeviceManager* GetDeviceManager() = 0;
    virtual ImodelGlobalFlowOptions* GetGlobalFlowOptions() = 0;
    // The option objects, in the order they were added; the model owns
    // every one of them.
    virtual const std::vector<ImodelVarOption*>& GetOptions() = 0;
    // Appends an option to the list; the model owns it from here on and
    // deletes it with the model. Null is ignored.
    virtual void AddOption(std::unique_ptr<ImodelVarOption> option) = 0;
    // The first option, in vector order, that names itself by `key`; null when none.
    virtual ImodelVarOption* FindOption(const char* key) = 0;
    virtual ImodelSimulationOptions* GetSimulationOptions() = 0;
    virtual ItoolModelSimPathOptions* GetModelSimPathOptions() = 0;
    virtual IfileManager* GetFileManager() = 0;
    // Creates the process manager and its flow "DEFAULT" on the first call.
    virtual IprocessManager* GetProcessManager() = 0;
    // The process manager (created if needed) as receiver of change messages.
    virtual QuorlaneStateMachine* GetStateMachine() = 0;
    virtual ItoolConstraintsManager& GetConstraintsManager() = 0;
    virtual IfileExtendedInfoManager* GetExtendedInfoManager() = 0;
    virtual ItimerManager* GetTimerManager() = 0;
    virtual ImodelTemplateManager* GetTemplateManager() = 0;
    virtual ItoolPallador* GetPalladorTool() = 0;
    virtual ItoolPhySynth* GetPhySynthTool() = 0;
    virtual ItoolSynthesis* GetSynthesisTool() = 0;
    // The core catalogue of the install folder, loaded by the constructor.
    virtual Ktwkspace::Catalog& GetCatalog() = 0;
    // The project's core workspace; null while none is open.
    virtual Ktwkspace::Workspace* GetWorkspace() = 0;
    virtual Ktwkspace::Workspace* GetCurrentWorkspace() = 0;
    // The block-design bus definitions; null for the wizard's instance.
    virtual Vybusdef::VyBusDefMgr* GetBusDefManager() = 0;

    // Named switches of the options database, each read once and cached.
    virtual bool IsDebugMsg() = 0;
    virtual bool IsDebugTimer() = 0;
    virtual bool IsDebugState() = 0;
    virtual bool IsTimerEnabled() = 0;
    virtual bool ImportFilesRightAway() = 0;
    virtual bool ParseCxfOnOpen() = 0;
    virtual bool IsRepositoryTimerDisabled() = 0;
    virtual bool SafeUpdateViews() = 0;
    virtual bool OpenAllCoreFilesInReadOnly() = 0;
    virtual bool UpdateAlwaysSendMessage() = 0;
    virtual bool IntegrateDremmet() = 0;
    virtual bool IsLinkingEnabled() = 0;
    virtual bool IsPackagerEnabled() = 0;
    virtual bool IsPackagerEnabledForUserIP() = 0;
    virtual bool IsPackagerEnabledFor(const VyIfaces::IComponent* component) = 0;
    virtual bool IsIncludeForSimulationEnabled() = 0;
    // Marks the first twelve switches for reading again; returns false.
    virtual bool ReloadBoolSettings() = 0;

    // The host object, not owned; null in batch and script use.
    virtual void SetHost(ImodelHost* host) = 0;
    virtual ImodelHost* GetHost() const = 0;

    // The scratch netlist world "temp": made by the first GetTempWorld,
    // deleted (with the cell libraries freed) by DeleteTempWorld only.
    virtual NdbWorld* GetTempWorld() = 0;
    virtual void DeleteTempWorld() = 0;
    // The world when it was made, else null; makes nothing.
    virtual NdbWorld* GetExistingTempWorld() = 0;

    virtual bool CanChangeFamily() = 0;
    virtual bool CanChangeAllFamilies() = 0;

    // Takes over the simulator path options (a change marks the project as
    // needing a save); `saved` tells whether the user's settings took them.
    virtual void SetModelSimPathOptions(const ItoolModelSimPathOptions& options, bool& saved) = 0;

    // Core-tool managers, owned by the model, in registration order.
    // Type 34 is looked up as 33; null when no manager has the type.
    virtual QuorlaneCoreToolManager* GetCoreToolManager(int coreType) = 0;
    // Appends the manager (nothing for null).
    virtual void AddCoreToolManager(std::unique_ptr<QuorlaneCoreToolManager> manager) = 0;
    // Takes the manager out of the list and hands it back; empty when the
    // list does not hold it.
    virtual std::unique_ptr<QuorlaneCoreToolManager> RemoveCoreToolManager(QuorlaneCoreToolManager* manager) = 0;
    virtual CoreToolManagerRange GetCoreToolManagers() const = 0;
    // Whether the cores of the type's manager are consistent with the
    // project, after it saved the workspace's time stamp: false without a
    // manager, true without asking when its tool is hidden.
    virtual bool CheckNewCores(int coreType) = 0;
    // Lets the type's manager refresh the project's cores, unless there is
    // none or its tool is hidden.
    virtual void RefreshCoreTool(int coreType) = 0;

    // The project's core workspace file "kiltora.aws" in its core folder;
    // empty while no project is open.
    virtual void GetWorkspaceFileName(ImodelFileName& out) = 0;
    // Deletes the current workspace and keeps `workspace` (may be null),
    // handing it the host's callback object.
    virtual void SetWorkspace(std::unique_ptr<Ktwkspace::Workspace> workspace) = 0;
    // Opens the project's core workspace, creating it when its file is
    // missing; a failure is reported and leaves no workspace.
    virtual void OpenWorkspace() = 0;

    // The design's libraries saved around a change of its units, nested.
    // The outermost save detaches the design flow's module and keeps the
    // root id and what a deep copy of every library would keep; the
    // matching outermost restore gives the units of the design the kept
    // data of the units of the same key (libraries paired by name, `byName`
    // and `params` as ImodelRestoreLibs takes them), whatever changed that
    // data in between, drops what it kept and, when the kept root's unit
    // still has a file, makes it the root again through set_root
    // (ImodelCommandServices::SetRoot). A restore without a save is ignored.
    virtual void SaveLibraries() = 0;
    // What a restore does besides, for a caller that asks.
    struct RestoreExtras {
        // Appended to: each unit that stands at a name of its library where
        // no unit stood before the change; it took no data, nor the states
        // the flow works out from its files.
        std::vector<ImodelModule*>* fresh = nullptr;
        // Without `byName`: a unit whose file no longer defines it gives its
        // data to the first unit its name has now, when that unit took none
        // of its own, as a save and an open of the project would.
        bool goneByName = false;
    };
    void RestoreLibraries(bool byName, const zorpaSaveRestoreParams& params)
    {
        RestoreLibraries(byName, params, RestoreExtras{});
    }
    virtual void RestoreLibraries(bool byName, const zorpaSaveRestoreParams& params, const RestoreExtras& extras) = 0;

    // Views and event delivery.
    virtual void RegisterView(IeventView* view) = 0;
    virtual void UnregisterView(IeventView* view) = 0;
    virtual void SendEvent(boost::shared_ptr<Ievent> event, bool allowDeferred) = 0;
    virtual void SendEvents(const IeventBatch& events, bool allowDeferred) = 0;
    virtual void SuspendViews() = 0;
    virtual void RestoreViews() = 0;

    // One process-wide empty list, for callers that need an empty range.
    virtual const std::vector<std::string>& GetEmptyList() = 0;

    // Nested drawing block: only the outermost block and unblock reach the views.
    virtual void BlockDrawing(bool block) = 0;

    // Holds back drawing of the process-wide model's views for its lifetime.
    class BlockGUIObject {
    public:
        BlockGUIObject() : m_model(&GetInstance()) { m_model->BlockDrawing(true); }
        ~BlockGUIObject()
        {
            if (IsAlive(m_model)) m_model->BlockDrawing(false);
        }
        BlockGUIObject(const BlockGUIObject&) = delete;
        BlockGUIObject& operator=(const BlockGUIObject&) = delete;

    private:
        Imodel* m_model;
    };

    // The process-wide model, built on first use.
    static Imodel& GetInstance();
    // True while `model` is a constructed instance that has not been
    // destroyed; safe to call at any time, also during static destruction.
    static bool IsAlive(const Imodel* model);

    // A second, complete model for the new-project wizard; the caller owns it.
    static std::unique_ptr<Imodel> CreateNewProjectWizardInstance();
    // Deletes the instance when not null and leaves the pointer null.
    static void DestroyNewProjectWizardInstance(std::unique_ptr<Imodel>& model);

    // Process-wide flags, shared by every instance; set through the reference.
    static bool& GetFileCreatedBySolvato();
    static bool& GetNotifyConstraintListChanged();
    static bool& GetUpdateIncorrectFiles();
    static bool& IsRunningTests();
    static bool& GetUpdateTree();
    static bool& GetUpdateProcessDisplay();
    static bool& GetIsReadingProject();
    static bool& GetDisplayReadingFileMessage();
    static bool& GetIsConvertingProject();
    static bool& GetIsStartingFromEmptyHierarchy();

    static bool IsInteractiveMode();
    static void SetIsInteractiveMode(bool interactive);

    // Each returns whether the display was blocked before the call.
    static bool BlockDesignHierarchyDisplay(bool block, bool unused);
    static bool BlockProcessDisplay(bool block, bool refresh);
    // The host's answer when there is a host, else true outside interactive mode.
    static bool IsRunningScript();

protected:
    Imodel() = default;
    Imodel(const Imodel&) = delete;
    Imodel& operator=(const Imodel&) = delete;
};
