// edit_constraints and the registry of open constraint editors.
#include "icmd/design/IcmdOpenConstraintsEditor.h"

#include "icmd/IcmdDoCommand.h"
#include "ifile/IfileExtendedInfoManager.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/device/ImodelDevice.h"
#include "imodel/device/ImodelDeviceManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"
#include "iprocess/IprocessFileObject.h"

#include <foundation/AcmdParam.h>
#include <foundation/Sys.h>
#include <ktcore/ConstraintsEditorDesign.h>
#include <ktwkspace/VyComponent.h>
#include <ktwkspace/Workspace.h>
#include <vy/VyengineCore.h>
#include <zorpa/ZorpaModule.h>

#include <boost/make_shared.hpp>

#include <unordered_set>
#include <vector>

namespace {

// The core file type of an HDL source, for the editor's design.
constexpr int kHDLSourceFile = 1;

// The editor as the messages name it. The installed options leave its name
// unset: the messages must still say what cannot open the file.
std::string EditorName()
{
    std::string name;
    ImodelDefGetStr("IDE_CONSTRAINTS_EDITOR_NAME", name);
    return name.empty() ? std::string("Constraints Editor") : name;
}

Ktwkspace::Workspace* Workspace() { return Imodel::GetInstance().GetWorkspace(); }

// Fills an editor's design with the ports of an HDL unit; a unit of any
// other kind shows none.
class icmdLoadPortList : public zorpaModuleVisitor {
public:
    icmdLoadPortList(Brndesign::ConstraintsEditorDesign& design, const ImodelModule& module)
        : m_design(design), m_module(module)
    {
    }

    void VisitVHDL() override { Load(); }
    void VisitVerilog() override { Load(); }
    void VisitSchematic() override {}
    void VisitNetlist() override {}
    void VisitUnknown() override {}
    bool IsLoaded() const { return m_loaded; }

private:
    void Load()
    {
        m_loaded = m_design.InitFromSourceFile(m_module.GetComponentID(), m_module.GetFileName(), kHDLSourceFile);
    }

    Brndesign::ConstraintsEditorDesign& m_design;
    const ImodelModule& m_module;
    bool m_loaded = false;
};

bool LoadPorts(Brndesign::ConstraintsEditorDesign& design, ImodelModule* module)
{
    if (module == nullptr) return false;
    icmdLoadPortList visitor(design, *module);
    visitor.Visit(module->GetModuleType());
    return visitor.IsLoaded();
}

BrnDevice CurrentDevice() { return Imodel::GetInstance().GetDeviceManager()->GetDevice().GetAsBrnDevice(); }

}  // namespace

// --- the registry ---------------------------------------------------------------------

IcmdOpenConstraintsEditor::Collection::~Collection() { Forget(); }

void IcmdOpenConstraintsEditor::Collection::DoDelete(std::unique_ptr<VyIfaces::IComponent> component)
{
    m_components.erase(component.get());
}

void IcmdOpenConstraintsEditor::Collection::Add(VyIfaces::IComponent* component)
{
    if (component == nullptr) return;
    m_components.insert(component);
    component->SetDeleteHelper(this);
}

void IcmdOpenConstraintsEditor::Collection::Forget()
{
    for (VyIfaces::IComponent* component : m_components)
        if (component->GetDeleteHelper() == this) component->SetDeleteHelper(nullptr);
    m_components.clear();
}

IcmdOpenConstraintsEditor::Collection& IcmdOpenConstraintsEditor::GetCollection()
{
    static Collection collection;
    return collection;
}

std::set<VyIfaces::IComponent*>& IcmdOpenConstraintsEditor::GetComponents() { return GetCollection().GetComponents(); }

void IcmdOpenConstraintsEditor::Close() { GetCollection().Forget(); }

bool IcmdOpenConstraintsEditor::IsDependendingOfFilter::operator()(boost::shared_ptr<IfileObjectEx> candidate) const
{
    IfileExtendedInfoManager* info = Imodel::GetInstance().GetExtendedInfoManager();
    return candidate && m_file && info && UtlDoesFileExist(candidate->GetFullFileName().GetString()) &&
           UtlDoesFileExist(m_file->GetFullFileName().GetString()) && info->IsDependingOn(*candidate, *m_file, true);
}

// --- the command ----------------------------------------------------------------------

IcmdOpenConstraintsEditor::IcmdOpenConstraintsEditor()
    : IcmdBase(false), m_file(this, true, false, false, Imodel::GetInstance().IsLinkingEnabled()),
      m_module(this, false, false)
{
}

IcmdOpenConstraintsEditor::~IcmdOpenConstraintsEditor() = default;

void IcmdOpenConstraintsEditor::SetParams(File file, ImodelModule* module)
{
    m_file.SetFileObject(std::move(file));
    if (module != nullptr) m_module.SetObject(module);
}

VyIfaces::ComponentID IcmdOpenConstraintsEditor::GetComponentID(const File& file)
{
    if (!file) return VyIfaces::ComponentID();
    return VyIfaces::ComponentID(file->GetFullFileName().GetString(), "", "");
}

AcmdEnum::Result IcmdOpenConstraintsEditor::checkParams()
{
    const AcmdEnum::Result result = IcmdBase::checkParams();
    const File file = m_file.GetObject();
    if (!file) {
        ImodelDisplayFILE_REQUIRED_MSG();
        return AcmdEnum::Failure;
    }
    // A new file is the editor's to make, but a folder or a device is no
    // constraint file at all.
    const std::string path = file->GetFullFileName().GetString();
    if (UtlDoesDiskObjectExist(path) && !UtlDoesFileExist(path)) {
        ImodelDisplayFILE_NOT_FOUND_MSG(path.c_str());
        return AcmdEnum::Failure;
    }
    // A file outside the project is looked at as the constraint file it
    // would be.
    const File tested = file->IsFileInProject()
                            ? file
                            : boost::make_shared<IfileObjectEx>(
                                  IfileObject(file->GetFullFileName(), zorpaFT_PDC, ImodelFMFull, true, true), false);
    if (!IsFileSupported(tested)) {
        ImodelDisplayCONSTRAINT_EDITOR_NO_SUPPORT_QRY(nullptr, MdbOK, EditorName().c_str(), file->GetExt().c_str());
        return AcmdEnum::Failure;
    }
    return result;
}

AcmdEnum::Result IcmdOpenConstraintsEditor::execDo()
{
    const File file = m_file.GetObject();
    if (!file) return AcmdEnum::Failure;
    ImodelModule* module = m_module.GetObject();
    if (DoActivate(file, module, true)) return AcmdEnum::Success;

    ImodelHost* host = Imodel::GetInstance().GetHost();
    const std::string editor = EditorName();
    if (host && host->IsFileOpenInEditor(file->GetFullFileName()) &&
        !ImodelUserCanBothOpenTextualAndGraphicalEditor()) {
        const MdbQuery_result answer = IcmdDoAskToClose(*file, "text editor", editor);
        if (answer == MdbCANCEL) return AcmdEnum::Failure;
        if (answer == MdbYES) {
            int closeAnswer = MdbYES;
            host->CloseFileInEditor(file, &closeAnswer, false);
        }
    }
    VyIfaces::IComponent* component = GetConstraintsIf(!file->IsFileInProject());
    if (component && component->Open()) return AcmdEnum::Success;
    ImodelDisplayEDITOR_NOT_OPENED_MSG(file->GetFileTitleAndExt().c_str(), editor.c_str());
    return AcmdEnum::Failure;
}

VyIfaces::IComponent* IcmdOpenConstraintsEditor::GetConstraintsIf(bool outside)
{
    const File file = m_file.GetObject();
    if (!file) return nullptr;
    VyIfaces::IComponent* blockDesign = file->GetTopParentComponent();
    if (blockDesign && blockDesign->GetModuleType() == VyIfaces::IComponent::Veyrun) return blockDesign;
    Ktwkspace::Workspace* workspace = Workspace();
    if (workspace == nullptr) return nullptr;

    const std::string data = file->GetFileLocation().GetString() + "/data";
    UtlValidateOrCreateFolder(data);
    auto design = std::make_unique<Brndesign::ConstraintsEditorDesign>(data + "/" + file->GetFileTitleAndExt() + ".ce",
                                                                       file->GetFullFileName().GetString(),
                                                                       GetComponentID(file), outside, CurrentDevice());
    if (!LoadPorts(*design, m_module.GetObject())) design->InitNoPortList();
    if (const ImodelModule* module = m_module.GetObject()) design->SetUnitID(module->GetComponentID());
    auto component = std::make_unique<Ktwkspace::VyComponent>(workspace, std::move(design), std::string());
    GetCollection().Add(component.get());
    return workspace->AdoptEditorComponent(std::move(component));
}

// --- the entry points -----------------------------------------------------------------

bool IcmdOpenConstraintsEditor::DoOpen(File file, ImodelModule* module)
{
    auto command = std::make_unique<IcmdOpenConstraintsEditor>();
    command->SetParams(std::move(file), module);
    return IcmdDoCommand(std::move(command), false);
}

bool IcmdOpenConstraintsEditor::DoActivate(File file, ImodelModule* module, bool warn)
{
    Ktwkspace::Workspace* workspace = Workspace();
    if (workspace == nullptr || !workspace->ActivateComponent(GetComponentID(file))) return false;
    if (module == nullptr || !warn) return true;
    const VyIfaces::IComponent* active = workspace->GetActiveVeyrun();
    const VyengineCore* engine = active ? active->GetEngine() : nullptr;
    if (engine && engine->GetDesignName() != module->GetName()) {
        const std::string title = file->GetFileTitleAndExt();
        ImodelDisplaySAME_PDC_DIFF_MODULE_WARN_QRY(nullptr, MdbOK, title.c_str(), engine->GetDesignName().c_str(),
                                                   module->GetName().c_str(), title.c_str());
    }
    return true;
}

bool IcmdOpenConstraintsEditor::IsOpened(File file)
{
    const Ktwkspace::Workspace* workspace = Workspace();
    return workspace != nullptr && workspace->IsComponentOpen(GetComponentID(file));
}

bool IcmdOpenConstraintsEditor::DoOpenFile(File file)
{
    if (!file) return false;
    Imodel& model = Imodel::GetInstance();
    // The units whose place-and-route database lists the file, in the order
    // they are found.
    std::vector<ImodelModule*> candidates;
    std::unordered_set<ImodelModule*> known;
    const auto add = [&](ImodelModule* unit) {
        if (unit != nullptr && known.insert(unit).second) candidates.push_back(unit);
    };
    std::vector<File> databases;
    const IsDependendingOfFilter dependsOnFile(file);
    model.GetFileManager()->GetFilesOfSpecificType(zorpaFT_ADB, databases, 1, &dependsOnFile);
    for (const File& database : databases)
        if (const IfilePredecessorObject* predecessor = database ? database->GetPredecessorObject() : nullptr)
            add(predecessor->GetModulePtr());
    IfileExtendedInfoManager* info = model.GetExtendedInfoManager();
    const ImodelDesignManager::LibraryRange libraries = model.GetDesignManager()->GetLibraries();
    for (auto library = libraries.first; library != libraries.second; ++library) {
        if (!*library) continue;
        for (ImodelModule* unit : *(*library)->GetModules()) {
            if (unit == nullptr || known.count(unit) != 0) continue;
            const File database = IprocessGetCurrentFile(unit, zorpaFT_ADB, true, false);
            if (database && info && info->IsDependingOn(*database, *file, true)) add(unit);
        }
    }

    ImodelModule* chosen = candidates.size() == 1 ? candidates.front() : nullptr;
    if (candidates.size() > 1) {
        AcmdEnumParam<ImodelModule*> choice("module", nullptr, AcmdValueType::Single(), false,
                                            model.GetDesignManager()->GetRootModule(), false, "module to load");
        for (ImodelModule* unit : candidates) {
            std::string label = unit->GetName();
            if (unit->GetDefinedInLibrary() != "work") label += " [" + unit->GetDefinedInLibrary() + "]";
            choice.AddChoice(unit, label.c_str(), label.c_str());
        }
        ImodelHost* host = model.GetHost();
        if (host && !host->ChooseParamValue(&choice, "File associated to many modules")) return false;
        chosen = choice.GetObjects().empty() ? choice.GetDefault() : choice.GetObjects().front();
    }
    return DoOpen(file, chosen);
}

bool IcmdOpenConstraintsEditor::IsFileSupported(zorpaFileManagerTypes type)
{
    return ImodelIsConstraintEditorSupported() && type == zorpaFT_PDC;
}

bool IcmdOpenConstraintsEditor::IsFileSupported(File file)
{
    return file && IsFileSupported(file->GetFileSpecificType());
}

bool IcmdOpenConstraintsEditor::CanLoadPorts(ImodelModule* module)
{
    if (module == nullptr) return false;
    Brndesign::ConstraintsEditorDesign design(std::string(), std::string(), VyIfaces::ComponentID(), false,
                                              BrnDevice());
    return LoadPorts(design, module);
}

MdbQuery_result IcmdDoAskToClose(const IfileObject& file, const std::string& openIn, const std::string& toOpenIn)
{
    return ImodelDisplayFILE_ALREADY_OPENED_QRY(nullptr, MdbYES, file.GetFileTitleAndExt().c_str(), openIn.c_str(),
                                                toOpenIn.c_str());
}
