// The block-design tool manager as a core-tool manager: the workspace's
// device, its components and the unit each stands for, the tool's start and
// stop.
#include "itool/ItoolVeyrun.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelCommandServices.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelGetFullPathParam.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "ixml/IxmlSPIRITCoreParser.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>
#include <ktcore/DesignBase.h>
#include <ktwkspace/Catalog.h>
#include <ktwkspace/Workspace.h>
#include <ulv/SpiritReadCoreInfo.h>
#include <vy/VyBusDefMgr.h>

#include <map>
#include <optional>
#include <stdexcept>

namespace {

Ktwkspace::Workspace* Workspace() { return Imodel::GetInstance().GetCurrentWorkspace(); }

// A setting read with its default placed first: 1 is on.
bool SettingOr(const char* name, bool fallback)
{
    int value = fallback ? 1 : 0;
    DefGetBoolFL(name, &value, __FILE__, __LINE__);
    return value == 1;
}

// Says why the workspace refused the core description `file`, where the
// refusal can be told apart from here; the workspace itself only leaves a
// debug line, and a refused import_files would otherwise give no reason.
void TellRefusedCore(const IfileObject& file, Ktwkspace::Workspace& workspace, bool always)
{
    // A description that cannot be read is told by the reader (INVALID_CORE).
    if (!IxmlSPIRITCoreReader(file, "Component", nullptr, false).IsCoreValid()) return;
    const std::string name = file.GetFullFileName().GetString();
    const SpiritCoreDescription description(name);
    if (description.IsRead()) {
        const std::string& core = description.GetCore().name;
        if (core.empty()) {
            ImodelDisplayCORE_WITHOUT_NAME_MSG(name.c_str());
            return;
        }
        // The workspace's own writer is asked: it refuses a line break or
        // another control character in any value it keeps.
        Ktwkspace::WorkspaceSettings settings;
        settings.components.push_back(Ktwkspace::KtwkspaceRecordOfCore(description, name));
        try {
            Ktwkspace::KtwkspaceFormatWorkspace(settings);
        } catch (const std::invalid_argument&) {
            ImodelDisplayCORE_NOT_STORABLE_MSG(name.c_str());
            return;
        }
        // Without a new reading every time, a core stays with the
        // description that brought it.
        const VyIfaces::IComponent* held = workspace.FindComponent(settings.components.front().id);
        if (!always && held != nullptr && !ImodelIsSameFileName(held->GetDefinitionFileName(), name)) {
            ImodelDisplayCORE_DEFINED_ELSEWHERE_MSG(name.c_str(), core.c_str(), held->GetDefinitionFileName().c_str());
            return;
        }
    }
    ImodelDisplayCORE_NOT_TAKEN_MSG(name.c_str(), workspace.GetFileName().c_str());
}

IIDEObject* HostIDEObject()
{
    ImodelHost* host = Imodel::GetInstance().GetHost();
    return host ? host->GetIIDEObject() : nullptr;
}

// The identity a core file stands for: its title read as an identity text.
VyIfaces::ComponentID IdentityOfFile(const IfileObject& file)
{
    return VyIfaces::ComponentID::FromString(file.GetFileTitleNoExt());
}

const Brndesign::DesignBase* DesignOf(const VyIfaces::IComponent* component)
{
    return component ? dynamic_cast<const Brndesign::DesignBase*>(component->GetDesignObject()) : nullptr;
}

// The project folder kind of a component kind; nothing for kinds whose
// files the project does not keep.
std::optional<zorpaFileManagerTypes> FolderKindOf(VyIfaces::IComponent::VyModuleType type)
{
    using Type = VyIfaces::IComponent;
    switch (type) {
    case Type::Kiltora:
        return zorpaFT_GROUP_KILTORA;
    case Type::Dremmet:
    case Type::IP:
        return zorpaFT_GROUP_DREMMET;
    case Type::HDL:
    case Type::Block:
    case Type::Schematic:
    case Type::SynplifyDSP:
        return zorpaFT_GROUP_COMPONENT_2;
    case Type::Veyrun:
    case Type::UserIP:
    case Type::SpiritDesign:
        return zorpaFT_GROUP_COMPONENT;
    default:
        return std::nullopt;
    }
}

// A library name is one folder below "component": never a path of its own.
bool CanNameFolder(const std::string& library)
{
    return !library.empty() && library != "." && library != ".." && library.find_first_of("/\\") == std::string::npos;
}

}  // namespace

// The workspace hears only the events it acts on: the units' change events,
// sent per link while files are scanned, are left out while no other view hears them.
ItoolVeyrun::ItoolVeyrun(Imodel* model)
    : IeventView(model, IeventHeardBy<ItoolVeyrun>()), m_model(model ? model : &Imodel::GetInstance())
{
}

ItoolVeyrun::~ItoolVeyrun() = default;

std::string ItoolVeyrun::GetToolName() { return ImodelGetCoreToolString(); }

ItoolVeyrun* ItoolVeyrun::GetInstance()
{
    return dynamic_cast<ItoolVeyrun*>(Imodel::GetInstance().GetCoreToolManager(zorpaFT_OMBRIX_CXF));
}

ImodelFileName ItoolVeyrun::GetPathForComponent(const VyIfaces::ComponentID& id,
                                                VyIfaces::IComponent::VyModuleType type)
{
    const std::optional<zorpaFileManagerTypes> kind = FolderKindOf(type);
    const ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
    // Without a project the folder would land at the file system's root.
    if (!kind || design == nullptr || design->GetProjectFolder().empty()) return ImodelFileName();

    ImodelGetFullPathParam param;
    if (*kind == zorpaFT_GROUP_COMPONENT || *kind == zorpaFT_GROUP_COMPONENT_2) {
        if (!CanNameFolder(id.library)) return ImodelFileName();
        param.SetComponent(id.library);
    }
    ImodelFileName folder;
    ImodelGetFullPathForFile(*kind, folder, param);
    std::string& text = folder.GetString();
    if (!text.empty() && text.back() == SysGetDirChar()) text.pop_back();
    ImodelValidateOrCreateDirectory(folder);
    return folder;
}

bool ItoolVeyrun::UpdateDataBase()
{
    Imodel& model = Imodel::GetInstance();
    Ktwkspace::Workspace* workspace = model.GetWorkspace();
    if (workspace == nullptr) return true;
    const ImodelDevice& device = model.GetDeviceManager()->GetDevice();
    const std::string& family = device.GetFamily();
    const bool accepted = workspace->setProductFamily(family);
    workspace->setPackage(device.GetPackageInternalName());
    workspace->setTargetDevice(device.GetDieInternalName());
    if (Vybusdef::VyBusDefMgr* busDefinitions = model.GetBusDefManager()) busDefinitions->Load(family);
    model.GetCatalog().setCatalog(family);
    return accepted;
}

bool ItoolVeyrun::OpenCore(const IfileObject& file) { return OpenCore(IdentityOfFile(file), "", ""); }

bool ItoolVeyrun::OpenCore(const VyIfaces::ComponentID& id, const std::string&, const std::string&)
{
    Ktwkspace::Workspace* workspace = Workspace();
    return workspace != nullptr && workspace->OpenComponent(id);
}

bool ItoolVeyrun::ImportCore(const IfileObject& file, ImodelFileName& newName)
{
    m_lastImported = file.GetFullFileName();
    Imodel& model = Imodel::GetInstance();
    Ktwkspace::Workspace* workspace = model.GetWorkspace();
    if (workspace == nullptr) return false;
    // Read again by default: the description may have changed since.
    const bool always = ImodelIsSwitchOn("IDE_ALWAYS_REIMPORT_CORE");
    // Which description defined each component before: one that this file
    // takes over leaves its former description behind.
    std::map<const VyIfaces::IComponent*, std::string> definedBefore;
    for (const auto& [id, component] : workspace->GetComponentCollection())
        if (component) definedBefore.emplace(component, component->GetDefinitionFileName());
    std::string imported;
    const bool done =
        workspace->SafeimportCore(m_lastImported.GetString(), model.GetCatalog().GetCatalogIf(), imported, always);
    newName = ImodelFileName(imported);
    if (!done) {
        TellRefusedCore(file, *workspace, always);
        return done;
    }
    for (VyIfaces::IComponent* component : FindComponentsFromDefFile(file)) {
        const auto before = definedBefore.find(component);
        if (before == definedBefore.end() || before->second.empty() ||
            ImodelFileName(before->second) == file.GetFullFileName())
            continue;
        LeaveFormerDescription(component, before->second);
    }
    return done;
}

void ItoolVeyrun::LeaveFormerDescription(VyIfaces::IComponent* component, const std::string& former)
{
    // The core is to come in anew with its new description.
    m_reported.erase(component);
    const IfileObject formerFile(ImodelFileName(former), zorpaFT_OMBRIX_CXF, ImodelFMFull, false, true);
    if (!FindComponentsFromDefFile(formerFile).empty()) return;
    const boost::shared_ptr<IfileObjectEx> entry = Imodel::GetInstance().GetFileManager()->GetFile(formerFile);
    ImodelCommandServices* commands = ImodelCommandServices::Get();
    // The former description and its files leave the project; the
    // workspace, which holds the core with its new description, is not asked.
    if (entry && commands) commands->RemoveFiles({entry}, false, false, false);
}

bool ItoolVeyrun::RemoveCore(const IfileObjectEx& file, bool fromDisk)
{
    Ktwkspace::Workspace* workspace = Workspace();
    if (workspace == nullptr) return false;
    // Every component the description defines goes: one left behind would
    // bring the core back at the next open.
    const std::vector<VyIfaces::IComponent*> defined = FindComponentsFromDefFile(file);
    // The project takes the core out itself (delete_files, whose work this is).
    const auto remove = [this, workspace, fromDisk](const VyIfaces::IComponent* component) {
        const VyIfaces::ComponentID id = component->GetComponentID();
        m_removing.insert(component);
        workspace->RemoveComponent(id, fromDisk);
        m_removing.erase(component);
        // The workspace keeps what its file could not let go of.
        return workspace->FindComponent(id) == nullptr;
    };
    bool removed = true;
    for (const VyIfaces::IComponent* component : defined)
        if (!remove(component)) removed = false;
    if (!defined.empty()) return removed;
    // A component of the file's title that another file defines is that
    // file's core, not this one's.
    const VyIfaces::IComponent* named =
        workspace->FindComponent(VyIfaces::ComponentID(file.GetFileTitleNoExt(), "work", ""));
    if (named == nullptr || !named->GetDefinitionFileName().empty()) return true;
    return remove(named);
}

bool ItoolVeyrun::OnlyOneCorePerProject() { return SettingOr("IDE_SOC_ONE_CORE_PER_PROJECT", true); }

bool ItoolVeyrun::ImportCoreFilesInReadOnly() { return SettingOr("IDE_SOC_IMPORT_FILES_IN_READONLY", false); }

bool ItoolVeyrun::ImportARMCoreFilesInReadOnly() { return SettingOr("IDE_ARM_IMPORT_FILES_IN_READONLY", true); }

bool ItoolVeyrun::StartTool(bool skipAudit)
{
    Imodel& model = Imodel::GetInstance();
    if (model.GetWorkspace() == nullptr) model.OpenWorkspace();
    Ktwkspace::Workspace* workspace = model.GetWorkspace();
    if (workspace == nullptr) return false;
    if (!skipAudit) workspace->auditComponents(model.GetCatalog().GetCatalogIf());
    // The core libraries read these while they work for the project.
    DefSetFL("OMBXIII_IS_SUBPROJECT_SOLVATO", "T", __FILE__, __LINE__);
    DefSetFL("GEN_BEHV_MODULE", "T", __FILE__, __LINE__);
    DefSetFL("DESDIR", workspace->GetDesignFolder().c_str(), __FILE__, __LINE__);
    DefSetFL("OMBRIXU_OUTPUT_TYPE_PREF", workspace->GetOutputType().c_str(), __FILE__, __LINE__);
    return true;
}

bool ItoolVeyrun::StopTool()
{
    m_reported.clear();
    return true;
}

std::pair<bool, Brndesign::CoreStatus> ItoolVeyrun::GetCoreState(boost::shared_ptr<IfileObjectEx> file)
{
    Ktwkspace::Workspace* workspace = Workspace();
    if (workspace == nullptr || !file) return {false, Brndesign::CoreStatus()};
    const Brndesign::DesignBase* design = DesignOf(workspace->FindComponent(IdentityOfFile(*file)));
    if (design == nullptr) return {false, Brndesign::CoreStatus()};
    return {true, design->getStatus()};
}

std::pair<bool, VyIfaces::IComponent*> ItoolVeyrun::CreateNewVeyrun(const std::string& name)
{
    Ktwkspace::Workspace* workspace = Workspace();
    if (workspace == nullptr) return {false, nullptr};
    const Ktwkspace::Workspace::CreateResult made = workspace->CreateVeyrun(name);
    return {made.success && made.component != nullptr, made.component};
}

bool ItoolVeyrun::CreateNewKiltoraCore(const std::string& library, const std::string& name, const std::string& version)
{
    Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetWorkspace();
    if (workspace == nullptr) return false;
    return workspace->CreateCore(library, name, version, "newCore", true).success;
}

std::string ItoolVeyrun::GetCoreDescription(const std::string& library, const std::string& name,
                                            const std::string& version)
{
    return Imodel::GetInstance().GetCatalog().getCoreDescription(library, name, version);
}

// --- components and units --------------------------------------------------------------

ImodelModule* ItoolVeyrun::FindModule(VyIfaces::IComponent* component)
{
    return component ? ImodelFindModule(component->GetComponentID()) : nullptr;
}

std::vector<VyIfaces::IComponent*> ItoolVeyrun::FindComponentsFromDefFile(const IfileObject& file)
{
    std::vector<VyIfaces::IComponent*> found;
    const Ktwkspace::Workspace* workspace = Workspace();
    if (workspace == nullptr) return found;
    const ImodelFileName fullName = file.GetFullFileName();
    for (const auto& [id, component] : workspace->GetComponentCollection())
        if (component && ImodelFileName(component->GetDefinitionFileName()) == fullName) found.push_back(component);
    return found;
}

VyIfaces::IComponent* ItoolVeyrun::FindSingleComponentFromDefFile(const IfileObject& file)
{
    const std::vector<VyIfaces::IComponent*> found = FindComponentsFromDefFile(file);
    if (found.empty()) return nullptr;
    if (found.size() > 1 && Imodel::GetInstance().IsDebugMsg())
        SysDebugPrintf("Warning: Some components won't be handled there!!\n");
    return found.front();
}

std::string ItoolVeyrun::GetComponentFullFileName(const std::string& file)
{
    if (file.empty()) return file;
    return IfileObject(ImodelFileName(file), zorpaFT_OMBRIX_CXF, ImodelFMFull, true, true)
        .GetFullFileName()
        .GetString();
}

boost::shared_ptr<IfileObjectEx> ItoolVeyrun::GetComponentFileObject(VyIfaces::IComponent* component)
{
    if (component == nullptr) return {};
    const std::string name = component->GetDefinitionFileName();
    if (name.empty()) return {};
    return Imodel::GetInstance().GetFileManager()->GetFileFor(IfileObject::IsSameFileName(name.c_str(), ImodelFMFull),
                                                              0);
}

VyIfaces::IComponent* ItoolVeyrun::FindComponent(ImodelModule* module)
{
    const Ktwkspace::Workspace* workspace = Workspace();
    if (module == nullptr || workspace == nullptr) return nullptr;
    // Identities are the workspace's keys: one component at most has the
    // unit's, found at once.
    VyIfaces::IComponent* component = workspace->FindComponent(module->GetComponentID());
    const boost::shared_ptr<IfileObjectEx> moduleFile = component ? module->GetModuleFile() : nullptr;
    if (!moduleFile) return nullptr;
    const boost::shared_ptr<IfileObjectEx> topParent = moduleFile->GetSingleTopLevelParentFileObject();
    const ImodelFileName reference = (topParent ? topParent : moduleFile)->GetFullFileName();
    if (ImodelFileName(component->GetDefinitionFileName()) == reference) return component;
    const VyIfaces::IComponent::VyModuleType type = component->GetModuleType();
    if (type != VyIfaces::IComponent::HDL && type != VyIfaces::IComponent::Schematic) return nullptr;
    if (const Brndesign::DesignBase* design = DesignOf(component))
        for (const std::string& file : design->getFiles())
            if (ImodelFileName(file) == reference) return component;
    return nullptr;
}

bool ItoolVeyrun::IsNewDeviceCompatible(const ImodelDevice& device, void* parent,
                                        VyIfaces::IComponent::VyModuleType* skip)
{
    const Ktwkspace::Workspace* workspace = Workspace();
    if (workspace == nullptr) return true;
    IIDEObject* environment = HostIDEObject();
    const BrnDevice target = device.GetAsBrnDevice();
    for (const auto& [id, component] : workspace->GetComponentCollection()) {
        if (component == nullptr || (skip != nullptr && component->GetModuleType() == *skip)) continue;
        const Brndesign::DesignBase* design = DesignOf(component);
        if (design == nullptr || design->IsDeviceSupported(environment, target)) continue;
        ImodelDisplayINCOMPATIBLE_DEVICE_WITH_CORE_QRY(parent, MdbOK, component->GetComponentID().name.c_str());
        return false;
    }
    return true;
}
