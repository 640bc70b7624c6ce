// The block-design engine's calls back into the project, and the project's
// news passed on to the workspace.
#include "itool/ItoolVeyrun.h"

#include "ievent/IeventClasses.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFilterParent.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelCommandServices.h"
#include "imodel/model/ImodelFlowServices.h"
#include "imodel/views/ImodelContextImpl.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "itool/ItoolPallador.h"

#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>
#include <zorpa/ZorpaModule.h>

#include <boost/make_shared.hpp>

#include <deque>

namespace {

Imodel& Model() { return Imodel::GetInstance(); }

Ktwkspace::Workspace* Workspace() { return Model().GetCurrentWorkspace(); }

bool IsHDLComponent(const VyIfaces::IComponent* component)
{
    return component->GetModuleType() == VyIfaces::IComponent::HDL;
}

void Send(boost::shared_ptr<Ievent> event) { Model().SendEvent(std::move(event), true); }

// The project's core descriptions follow their components.
void UpdateCoreFiles() { Model().GetFileManager()->UpdateFiles(IfileManagerFilterSameFileType(zorpaFT_OMBRIX_CXF)); }

bool IsDebugMsg() { return Model().IsDebugMsg(); }

}  // namespace

void ItoolVeyrun::VYAddComponent(VyIfaces::IComponent* component)
{
    if (component == nullptr || Imodel::GetIsConvertingProject()) return;
    if (IsHDLComponent(component)) {
        Send(boost::make_shared<IeventComponentAdded>(component));
        return;
    }
    if (GetComponentFileObject(component)) {
        if (IsDebugMsg())
            SysDebugPrintf("ERROR: in VYAddComponent, %s is already in the project\n",
                           component->GetDefinitionFileName().c_str());
        return;
    }
    MyAddCoreToProject(component->GetDefinitionFileName(), component, true);
    Send(boost::make_shared<IeventComponentAdded>(component));
    UpdateCoreFiles();
}

void ItoolVeyrun::VYModifyComponent(VyIfaces::IComponent* component, bool reparse, InvalidateMessage message)
{
    if (component == nullptr) return;
    if (const boost::shared_ptr<IfileObjectEx> entry = GetComponentFileObject(component)) {
        if (ImodelTrackCXFChange(*entry)) {
            if (IsHDLComponent(component)) Send(boost::make_shared<IeventComponentModified>(component));
            return;
        }
        if (reparse) {
            const VyIfaces::ComponentID id = component->GetComponentID();
            if (ImodelCommandServices* commands = ImodelCommandServices::Get())
                commands->UpdateProjectContent({entry}, {entry}, zorpaSaveRestoreParams{true, false, true});
            UpdateCoreFiles();
            // The update may have replaced the component.
            Ktwkspace::Workspace* workspace = Workspace();
            component = workspace ? workspace->FindComponent(id) : nullptr;
            if (component == nullptr) return;
        }
        Send(boost::make_shared<IeventComponentModified>(component));
    }
    Model().GetStateMachine()->ComponentChanged(component, message);
}

void ItoolVeyrun::VYRemoveComponent(VyIfaces::IComponent* component)
{
    if (component == nullptr) return;
    if (m_removing.count(component) != 0) {
        // The project is taking the core out already: the views hear of it.
        Send(boost::make_shared<IeventComponentRemoved>(component));
        return;
    }
    if (IsHDLComponent(component)) {
        Send(boost::make_shared<IeventComponentRemoved>(component));
        if (ImodelModule* module = ImodelFindModule(component->GetComponentID())) module->UnreferenceComponent();
        return;
    }
    if (const boost::shared_ptr<IfileObjectEx> entry = GetComponentFileObject(component)) {
        if (ImodelCommandServices* commands = ImodelCommandServices::Get())
            commands->RemoveFiles({entry}, false, false, true);
        Send(boost::make_shared<IeventComponentRemoved>(component));
        UpdateCoreFiles();
        return;
    }
    if (IsDebugMsg())
        SysDebugPrintf("ERROR: in VYRemoveComponent, %s is not in the project\n",
                       component->GetDefinitionFileName().c_str());
}

void ItoolVeyrun::VYGetUsedPackages(const std::string& fileName,
                                    std::vector<std::pair<std::string, std::string>>& packages)
{
    packages.clear();
    const boost::shared_ptr<IfileObjectEx> entry =
        Model().GetFileManager()->GetFileFor(IfileObject::IsSameFileName(fileName.c_str(), ImodelFMFull), 0);
    if (!entry) return;
    std::deque<std::string> searched;
    const IfileObjectEx::PackageRange used = entry->GetUsedPackages();
    for (auto it = used.first; it != used.second; ++it) {
        // The lookup leaves the library's name in its argument: the pair
        // names the package found.
        std::string name = *it;
        ImodelModule* package = ImodelFindUsedPackage(entry, name, searched);
        if (package == nullptr) continue;
        if (const boost::shared_ptr<IfileObjectEx> file = package->GetModuleFile())
            packages.emplace_back(package->GetName(), file->GetFullFileName().GetString());
    }
}

void ItoolVeyrun::NewConstraintFileAdded(const std::string& fileName, const VyIfaces::ComponentID& id)
{
    Imodel& model = Model();
    IfileManager& files = *model.GetFileManager();
    // The watcher takes in what the constraint folders hold now, by its
    // own rules (the family's constraint kinds, files it is to pass over,
    // files it knows already).
    ImodelScanFilesOfGroup(zorpaFT_GROUP_CONSTRAINT);
    const IfileObject file(ImodelFileName(fileName), IfileObject::GetSafeFileType(zorpaFT_GROUP_CONSTRAINT, fileName),
                           ImodelFMFull, false, true);
    const boost::shared_ptr<IfileObjectEx> entry = files.GetFile(file);
    ImodelModule* module = ImodelFindModule(id);
    if (module == nullptr || !entry) {
        if (module == nullptr && IsDebugMsg()) SysDebugPrintf("Error: Invalid module: %s\n", id.ToString().c_str());
        if (!entry && IsDebugMsg()) SysDebugPrintf("Error: Invalid file: %s\n", fileName.c_str());
        return;
    }
    if (entry->GetFileSpecificType() != zorpaFT_PDC) return;

    entry->ResetUseForToolList();
    entry->SetUseForTool(IfileObjectEx::type_Filter(idePALLADOR, std::string()));
    entry->SetUsedByAllTools(false);
    module->AddAssociatedFile(*entry);
    if (IsDebugMsg())
        SysDebugPrintf("Associated %s to %s\n", entry->GetFileTitleAndExt().c_str(), module->GetName().c_str());

    std::vector<boost::shared_ptr<IfileObjectEx>> databases;
    files.GetFilesOfSpecificType(zorpaFT_ADB, databases, 0, nullptr);
    std::erase_if(databases, [module](const boost::shared_ptr<IfileObjectEx>& database) {
        return !IfileManagerFilterIsRelatedToModule(module)(database);
    });
    if (const boost::shared_ptr<IfileObjectEx> current = IprocessGetCurrentFile(module, zorpaFT_ADB, true, false))
        if (!files.GetFile(*current)) databases.push_back(current);
    ImodelContextImpl* context = module->GetContext();
    for (const boost::shared_ptr<IfileObjectEx>& database : databases) {
        ImodelRevContextImpl* revision = context ? context->GetCurRevContext() : nullptr;
        ImodelModule* owner = nullptr;
        ImodelRevContextImpl* own = nullptr;
        if (files.GetFile(*database) && database->GetModuleAndContext(owner, own) && own != nullptr) revision = own;
        model.GetPalladorTool()->RefreshFileList(database->GetFullFileName(), module, revision, true);
    }
}

// --- the workspace hears of the project --------------------------------------------------

void ItoolVeyrun::UpdateView(const IeventLibraryAdded& event)
{
    if (Ktwkspace::Workspace* workspace = m_model->GetCurrentWorkspace()) workspace->LibraryAdded(event.GetLibrary());
}

void ItoolVeyrun::UpdateView(const IeventLibraryRemoved& event)
{
    if (Ktwkspace::Workspace* workspace = m_model->GetCurrentWorkspace()) workspace->LibraryRemoved(event.GetLibrary());
}

void ItoolVeyrun::UpdateView(const IeventFilePreParse& event)
{
    Ktwkspace::Workspace* workspace = m_model->GetCurrentWorkspace();
    if (workspace == nullptr) return;
    for (const boost::shared_ptr<IfileObjectEx>& file : event.GetFiles())
        if (file) workspace->FileAboutToBeParsed(file->GetFullFileName().GetString());
}

void ItoolVeyrun::UpdateView(const IeventFileAndModulePostParse& event)
{
    Ktwkspace::Workspace* workspace = m_model->GetCurrentWorkspace();
    if (workspace == nullptr) return;
    for (const boost::shared_ptr<IfileObjectEx>& file : event.GetFiles()) {
        if (!file) continue;
        for (const ImodelModule* module : event.GetLiveModules())
            if (module != nullptr && module->IsPackage())
                workspace->PackageDeclared(module->GetName(), file->GetLibraryName(),
                                           file->GetFullFileName().GetString());
    }
}
