// The block-design tool manager: the core-tool manager of core component
// descriptions (file type 33), the environment's side of the block-design
// engine (IDEVeyrunCallBack) and the one view inside the library, which
// passes library, parse and package news on to the core workspace. The
// project model makes one for itself and owns it. Below, the workspace is
// the model's current core workspace; without one nearly every operation
// does nothing and answers false or null.
#pragma once

#include "ievent/IeventView.h"
#include "imodel/names/ImodelFileName.h"
#include "itool/QuorlaneCoreToolManager.h"

#include <vy/ComponentID.h>
#include <vy/IComponent.h>
#include <vy/IDEVeyrunCallBack.h>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

class IfileObject;
class ImodelDevice;
class ImodelModule;
class IxmlSPIRITCoreParser;

class ItoolVeyrun : public QuorlaneCoreToolManager, public IDEVeyrunCallBack, public IeventView {
public:
    // Registers as a view of `model`.
    explicit ItoolVeyrun(Imodel* model);
    ~ItoolVeyrun() override;

    zorpaFileManagerTypes GetCoreType() override { return zorpaFT_OMBRIX_CXF; }
    ImodelFunctionType GetToolType() override { return ideOMBRIX; }
    // "Veyrun" when the block-design tool is enabled, else "Kiltora".
    std::string GetToolName() override;
    const char* GetXmlSPIRITNode() override { return "workspace"; }
    // Hands the current device to the workspace, the bus definitions and the
    // core catalogue; true without a workspace, else the workspace's answer
    // to the new family.
    bool UpdateDataBase() override;
    // The tool has no window of its own here.
    bool OpenTool() override { return false; }
    // Opens the component named by the file's title (name, name::library or
    // name::library::package; library "work" when none).
    bool OpenCore(const IfileObject& file) override;
    bool OpenCore(const VyIfaces::ComponentID& id, const std::string& unused1, const std::string& unused2);
    // Imports the core description into the workspace (again, when
    // IDE_ALWAYS_REIMPORT_CORE reads 1, the default); the file is kept as
    // the last one imported.
    bool ImportCore(const IfileObject& file, ImodelFileName& newName) override;
    // The workspace removes the component the file defines (one named after
    // the file in library "work" when none does): true when it is gone.
    bool RemoveCore(const IfileObjectEx& file, bool fromDisk) override;
    // The core file's core into the project: an entry of the project for
    // the file goes first (delete_files), then the core is read and added.
    bool AddCoreToProject(const IfileObject& coreFile) override;
    // The description's core read again as Refresh reads it, its own
    // placeholder unit gone first: a source of the core may define that
    // unit now. False when the project does not hold the description.
    bool ReadCoreAgain(const IfileObject& coreFile) override;
    // IDE_SOC_ONE_CORE_PER_PROJECT, default true.
    bool OnlyOneCorePerProject() override;
    // IDE_SOC_IMPORT_FILES_IN_READONLY, default false.
    bool ImportCoreFilesInReadOnly() override;
    // The cores of the folder "ombrix" of a project older than the core
    // workspace, unless its old workspace file is there (ConvertDataBase
    // converted it).
    bool ImportOldCores() override;
    // A project older than the core generator's workspace (before 7.0) gets
    // the folders "kiltora" and "simulation" and its old workspace
    // "ombrix/ombrix.aws" converted into the project's workspace; false when
    // a folder cannot be made.
    bool ConvertDataBase(int major, int minor) override;
    // The workspace keeps its own time stamp.
    void SaveNewWorkspaceTimeStamp() override {}
    // Every workspace component whose definition file the project lacks
    // (and that exists) is added to the project; a component met so is
    // reported once until the tool stops. Always true.
    bool CheckNewCoresCreated() override;
    // Adds every workspace component to the project again.
    void Refresh() override;
    // Opens the workspace when there is none (false when none can be
    // opened), audits its components unless `skipAudit`, and publishes the
    // workspace's settings for the core libraries.
    bool StartTool(bool skipAudit) override;
    // Forgets the components reported by the consistency check.
    bool StopTool() override;
    // The status of the design of the component named by the file's title.
    std::pair<bool, Brndesign::CoreStatus> GetCoreState(boost::shared_ptr<IfileObjectEx> file) override;

    // A new block design of that name: (success, component).
    virtual std::pair<bool, VyIfaces::IComponent*> CreateNewVeyrun(const std::string& name);
    // A new core of the catalogue's core of that library, name and version,
    // named "newCore" (made unique).
    virtual bool CreateNewKiltoraCore(const std::string& library, const std::string& name, const std::string& version);
    // The catalogue's description of that core; empty when none.
    virtual std::string GetCoreDescription(const std::string& library, const std::string& name,
                                           const std::string& version);

    // --- the block-design engine's calls ------------------------------------------------
    void VYModifyComponent(VyIfaces::IComponent* component, bool reparse, InvalidateMessage message) override;
    void VYAddComponent(VyIfaces::IComponent* component) override;
    void VYRemoveComponent(VyIfaces::IComponent* component) override;
    void VYGetUsedPackages(const std::string& fileName,
                           std::vector<std::pair<std::string, std::string>>& packages) override;
    void NewConstraintFileAdded(const std::string& fileName, const VyIfaces::ComponentID& id) override;

    // --- what the workspace hears of the project ----------------------------------------
    using IeventView::UpdateView;
    void UpdateView(const IeventLibraryAdded& event) override;
    void UpdateView(const IeventLibraryRemoved& event) override;
    void UpdateView(const IeventFilePreParse& event) override;
    void UpdateView(const IeventFileAndModulePostParse& event) override;

    // The core file handed to ImportCore last; empty before.
    const ImodelFileName& GetLastImportedCore() const { return m_lastImported; }

    // The process-wide model's manager of core type 33; null when none.
    static ItoolVeyrun* GetInstance();
    // The unit of the component's identity; null for null.
    static ImodelModule* FindModule(VyIfaces::IComponent* component);
    // The workspace's components whose definition file is the file, in the
    // workspace's order.
    static std::vector<VyIfaces::IComponent*> FindComponentsFromDefFile(const IfileObject& file);
    // The first of those; null when none.
    static VyIfaces::IComponent* FindSingleComponentFromDefFile(const IfileObject& file);
    // A component's file (definition or IXF file) as the project names it:
    // the full name of a core file (type 33) wherever it lies; empty for
    // an empty name.
    static std::string GetComponentFullFileName(const std::string& file);
    // The project's entry of the component's definition file; empty when none.
    static boost::shared_ptr<IfileObjectEx> GetComponentFileObject(VyIfaces::IComponent* component);
    // The component of a unit: of the unit's identity, defined by the file
    // the unit comes from (the single top-level parent of its file, or the
    // file itself), or, for an HDL or schematic component, holding that
    // file among its design files. Null when none.
    static VyIfaces::IComponent* FindComponent(ImodelModule* module);
    // The project folder for the files of a component of that kind, made
    // when missing: "kiltora", "dremmet", or "component/<library>". Empty
    // for other kinds, while no project is open, or for a library that
    // cannot name a folder.
    static ImodelFileName GetPathForComponent(const VyIfaces::ComponentID& id, VyIfaces::IComponent::VyModuleType type);
    // Whether every workspace component (but those of the kind `skip`
    // points to) accepts the device; at the first that refuses the user is
    // told (INCOMPATIBLE_DEVICE_WITH_CORE) and the answer is false.
    static bool IsNewDeviceCompatible(const ImodelDevice& device, void* parent,
                                      VyIfaces::IComponent::VyModuleType* skip);

private:
    // Brings one core into the project: its description (`fileName`, empty
    // for a component without one) read and added, a unit made when the
    // description defines none, the ".gen" file beside it attached.
    // `localCopies` goes to the parser.
    bool MyAddCoreToProject(const std::string& fileName, VyIfaces::IComponent* component, bool localCopies);
    bool AddDescribedCore(const IfileObject& file, VyIfaces::IComponent* component, bool localCopies);
    // The component is defined by another description than `former` now:
    // `former`, when it defines no other component, leaves the project with
    // its files, and the consistency check takes the core in anew.
    void LeaveFormerDescription(VyIfaces::IComponent* component, const std::string& former);
    // What follows the adding of a core's files, once its batch ends: the
    // description's entry, the unit made when the core defines none, the
    // ".gen" file beside the description. `result` is the parse's answer,
    // and the undefined unit's when one was made.
    void CompleteCore(const IfileObject& file, VyIfaces::IComponent* component,
                      const boost::shared_ptr<IfileObjectEx>& entry, const std::set<ImodelModule*>& modules,
                      bool& result);
    bool ImportAllCores(const ImodelFileName& folder);
    static void GetOldOmbrixWSName(ImodelFileName& out);
    bool ImportARMCoreFilesInReadOnly();
    // The parser over the workspace file that a batch of components shares
    // (see BatchScope in the source); null outside a batch.
    IxmlSPIRITCoreParser* BatchParser(VyIfaces::IComponent* component, bool readOnly, bool localCopies);

    class BatchScope;

    // The model the manager belongs to (the wizard's has no workspace).
    Imodel* m_model;
    ImodelFileName m_lastImported;
    std::set<VyIfaces::IComponent*> m_reported;
    // The components RemoveCore is taking out of the workspace: the
    // engine's word of their removal is the echo of the project's own.
    std::set<const VyIfaces::IComponent*> m_removing;
    bool m_inBatch = false;
    std::unique_ptr<IxmlSPIRITCoreParser> m_batchParser;
};
