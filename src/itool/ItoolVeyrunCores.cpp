// Bringing the workspace's cores into the project: one core, every core
// again, the consistency check after the workspace changed, and the cores
// of an older project generation.
#include "itool/ItoolVeyrun.h"

#include "ievent/IeventClasses.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelRemoveModules.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelCommandServices.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/imodelUtl.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "ixml/IxmlSPIRITCoreBatch.h"
#include "ixml/IxmlSPIRITCoreParser.h"

#include <foundation/Sys.h>
#include <ktwkspace/Catalog.h>
#include <ktwkspace/Workspace.h>
#include <vy/IComponentVisitor.h>

#include <boost/make_shared.hpp>

#include <algorithm>
#include <set>

namespace {

// Gives a plain design file of an HDL or schematic component its type; any
// other kind of component has a file of its own kind, and a file of another
// extension is a mistake worth a debug line.
class SetFileTypeVisitor : public VyIfaces::IComponentVisitor {
public:
    explicit SetFileTypeVisitor(IfileObject& file) : m_file(file) {}

    void VisitKiltoraCore(VyIfaces::IComponent&) override { Invalid("Kiltora"); }
    void VisitDremmetCore(VyIfaces::IComponent&) override { Invalid("Dremmet"); }
    void VisitIPCore(VyIfaces::IComponent&) override { Invalid("IP core"); }
    void VisitHDLComponent(VyIfaces::IComponent&) override { Retype(zorpaFT_HDL); }
    void VisitUserIPCore(VyIfaces::IComponent&) override { Invalid("UserIP"); }
    void VisitBlock(VyIfaces::IComponent&) override { Invalid("Block"); }
    void VisitSynplifyDSPCore(VyIfaces::IComponent&) override { Invalid("Block"); }
    void VisitSchematic(VyIfaces::IComponent&) override { Retype(zorpaFT_SCH); }
    void VisitVeyrunDesign(VyIfaces::IComponent&) override { Invalid("Veyrun"); }
    void VisitSpiritDesign(VyIfaces::IComponent&) override { Invalid("SpiritDesign"); }

private:
    void Retype(zorpaFileManagerTypes type)
    {
        m_file = IfileObject(m_file.GetInternalFileName(), type, ImodelFMInternal, true, false);
    }
    void Invalid(const char* kind) const
    {
        if (Imodel::GetInstance().IsDebugMsg())
            SysDebugPrintf("Error: (internal) %s file has an invalid extension: %s\n", kind, m_file.GetExt().c_str());
    }

    IfileObject& m_file;
};

bool IsDescriptionExtension(const std::string& extension) { return extension == "cxf" || extension == "qvp"; }

void Notify(boost::shared_ptr<Ievent> event) { Imodel::GetInstance().SendEvent(std::move(event), true); }

// add_file, parsed; true when the file joined the project.
bool AddFile(const IfileObject& file)
{
    ImodelCommandServices* commands = ImodelCommandServices::Get();
    return commands && commands->AddFileToModel(IfileObjectEx(file, true), true, true, false, nullptr, nullptr, true,
                                                nullptr, true, false, nullptr) != nullptr;
}

}  // namespace

// A batch of components added one after the other (Refresh, the
// consistency check): they share one parser over the workspace file, so
// that file is read once for the batch.
class ItoolVeyrun::BatchScope {
public:
    explicit BatchScope(ItoolVeyrun& tool) : m_tool(tool), m_outer(tool.m_inBatch) { tool.m_inBatch = true; }
    // The parser goes first; the batch's own work is done as the batch goes.
    ~BatchScope()
    {
        if (m_outer) return;
        m_tool.m_inBatch = false;
        m_tool.m_batchParser.reset();
    }
    BatchScope(const BatchScope&) = delete;
    BatchScope& operator=(const BatchScope&) = delete;

private:
    const IxmlSPIRITCoreBatch m_batch;
    ItoolVeyrun& m_tool;
    bool m_outer;
};

IxmlSPIRITCoreParser* ItoolVeyrun::BatchParser(VyIfaces::IComponent* component, bool readOnly, bool localCopies)
{
    if (!m_inBatch || !m_batchParser) return nullptr;
    m_batchParser->SetComponentChoices(component, readOnly, localCopies);
    return m_batchParser.get();
}

bool ItoolVeyrun::MyAddCoreToProject(const std::string& fileName, VyIfaces::IComponent* component, bool localCopies)
{
    if (fileName.empty()) {
        Notify(boost::make_shared<IeventFilePreParse>(boost::shared_ptr<IfileObjectEx>()));
        if (component == nullptr) return false;
        ImodelModule* module = nullptr;
        const VyIfaces::ComponentID& id = component->GetComponentID();
        const bool made = IxmlSPIRITCoreParser::CreateUndefinedModule({}, id.name, id.library, component, module);
        if (module != nullptr)
            Notify(boost::make_shared<IeventFileAndModulePostParse>(boost::shared_ptr<IfileObjectEx>(), module));
        return made;
    }
    IfileObject file(ImodelFileName(fileName), GetCoreType(), ImodelFMFull, false, true);
    if (!IsDescriptionExtension(file.GetExt()) && component != nullptr) {
        SetFileTypeVisitor retype(file);
        component->Accept(retype);
        if (file.GetFileSpecificType() != GetCoreType()) return AddFile(file);
    }
    return AddDescribedCore(file, component, localCopies);
}

bool ItoolVeyrun::AddDescribedCore(const IfileObject& file, VyIfaces::IComponent* component, bool localCopies)
{
    Imodel& model = Imodel::GetInstance();
    const auto entry = boost::make_shared<IfileObjectEx>(file, false);
    Notify(boost::make_shared<IeventFilePreParse>(entry));
    ImodelFileName workspaceFile;
    model.GetWorkspaceFileName(workspaceFile);
    bool readOnly = ImportCoreFilesInReadOnly();
    if (component != nullptr) {
        const VyIfaces::IComponent::VyModuleType type = component->GetModuleType();
        if (type == VyIfaces::IComponent::Dremmet || type == VyIfaces::IComponent::IP ||
            type == VyIfaces::IComponent::Block)
            readOnly = ImportARMCoreFilesInReadOnly();
    }

    // Within a batch the answer is the parse's: the rest of the work waits
    // for the batch to end.
    const auto result = std::make_shared<bool>(false);
    {
        const IxmlSPIRITCoreBatch batch;
        const auto modules = std::make_shared<std::set<ImodelModule*>>();
        if (file.GetExt() == "qvp") {
            IxmlSPIRITCoreParser parser(file, readOnly, "design", component, false, true, true);
            *result = parser.IsCoreValid();
            if (*result) parser.AddToModel(true, modules.get());
        } else {
            const IfileObject workspace(workspaceFile, GetCoreType(), ImodelFMFull, false, true);
            IxmlSPIRITCoreParser* parser = BatchParser(component, readOnly, localCopies);
            std::unique_ptr<IxmlSPIRITCoreParser> own;
            if (parser == nullptr) {
                own = std::make_unique<IxmlSPIRITCoreParser>(workspace, readOnly, GetXmlSPIRITNode(), component, true,
                                                             false, localCopies);
                parser = own.get();
                if (m_inBatch) m_batchParser = std::move(own);
            }
            *result = parser->ParseComponent(file, true, false, true, modules.get());
        }
        IxmlSPIRITCoreBatch::Current()->Defer([this, file, component, entry, modules, result] {
            CompleteCore(file, component, entry, *modules, *result);
        });
    }
    return *result;
}

void ItoolVeyrun::CompleteCore(const IfileObject& file, VyIfaces::IComponent* component,
                               const boost::shared_ptr<IfileObjectEx>& entry, const std::set<ImodelModule*>& modules,
                               bool& result)
{
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
    if (result) {
        // The description is the core's entry in the project: without it a
        // core added here (not through add_file) would be imported again at
        // every check and its unit would have no file.
        if (!files.GetFile(file)) files.AddOrUpdateFile(*entry, true);
        ImodelModule* only = modules.size() == 1 ? *modules.begin() : nullptr;
        if (modules.empty() || (only != nullptr && !only->GetModuleFile())) {
            VyIfaces::IComponent* defining = component ? component : FindSingleComponentFromDefFile(file);
            const std::string name = defining ? defining->GetComponentID().name : file.GetFileTitleNoExt();
            const std::string library = defining ? defining->GetComponentID().library : std::string();
            ImodelModule* module = only;
            result = IxmlSPIRITCoreParser::CreateUndefinedModule(files.GetFile(file), name, library, defining, module);
            if (module != nullptr) Notify(boost::make_shared<IeventFileAndModulePostParse>(entry, module));
        }
    }

    ImodelFileName folder;
    if (file.GetRelativeFolder(folder)) {
        // A description in the project folder itself has no folder to name.
        const std::string title = file.GetFileTitleNoExt() + ".gen";
        const std::string generated = folder.empty() ? title : folder.GetString() + SysGetDirChar() + title;
        IfileObjectEx sibling(IfileObject(ImodelFileName(generated), zorpaFT_GEN, ImodelFMRelative, false, true), true);
        if (!files.ContainsFile(sibling) && UtlDoesFileExist(sibling.GetFullFileName().GetString())) {
            sibling.AddParentFile(file);
            files.AddOrUpdateFile(sibling, true);
        }
    }
}

bool ItoolVeyrun::AddCoreToProject(const IfileObject& coreFile)
{
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
    ImodelCommandServices* commands = ImodelCommandServices::Get();
    if (const boost::shared_ptr<IfileObjectEx> entry = files.GetFile(coreFile); entry && commands)
        commands->RemoveFiles({entry}, false, false, false);
    VyIfaces::IComponent* component = FindSingleComponentFromDefFile(coreFile);
    if (Imodel::GetInstance().IsDebugMsg())
        SysDebugPrintf("Adding core %s%s\n", coreFile.GetFullFileName().c_str(),
                       component ? " of its workspace component" : " without a workspace component");
    return MyAddCoreToProject(coreFile.GetFullFileName().GetString(), component, true);
}

bool ItoolVeyrun::ReadCoreAgain(const IfileObject& coreFile)
{
    Imodel& model = Imodel::GetInstance();
    const boost::shared_ptr<IfileObjectEx> entry = model.GetFileManager()->GetFile(coreFile);
    if (!entry) return false;
    // The units keep their data and the root its place, as an open gives
    // them back from the project file.
    model.SaveLibraries();
    // An open reads the core's sources before it makes a unit for the core:
    // the unit the description stood for goes, so that a source that
    // defines it now is no duplicate, and one that no longer does leaves
    // the description's unit made again.
    const auto kept = boost::make_shared<ImodelModule::UnitSet>();
    ImodelRemoveModulesOfFile(entry, kept, false, false, false, nullptr, nullptr);
    bool read = false;
    {
        // As a project read: the files keep their marks and the units their
        // lists (test benches, constraints), which the project holds already.
        const ImodelSetAndRestoreModelFlagObject reading(Imodel::GetIsReadingProject(), true);
        read = MyAddCoreToProject(entry->GetFullFileName().GetString(), FindSingleComponentFromDefFile(*entry), false);
    }
    // The restore gives a unit of the core the lists of the unit it
    // replaces; the files the core associates with it stay too.
    ImodelDesignManager& design = *model.GetDesignManager();
    const auto unitNamed = [&design](const ImodelModule& unit) {
        return ImodelFindModuleInLib(design.FindLibraryByName(unit.GetDefinedInLibrary()), unit.GetName(),
                                     zorpaMODULE_UNKNOWN, std::string());
    };
    std::vector<ImodelModule::FileList> associated;
    for (const ImodelModule* unit : *kept) {
        const ImodelModule* now = unitNamed(*unit);
        associated.push_back(now ? now->GetAssociatedFileListConst() : ImodelModule::FileList());
    }
    model.RestoreLibraries(true, zorpaSaveRestoreParams{false, true, false});
    auto files = associated.begin();
    for (const ImodelModule* unit : *kept) {
        const ImodelModule::FileList& own = *files++;
        ImodelModule* now = unitNamed(*unit);
        if (now == nullptr || own.empty()) continue;
        for (const IfileObject& file : own)
            if (std::find(now->GetAssociatedFileListConst().begin(), now->GetAssociatedFileListConst().end(), file) ==
                now->GetAssociatedFileListConst().end())
                now->GetAssociatedFileList().push_back(file);
    }
    // A unit the description stands for while its source is away (a link
    // that broke) takes the data kept when the source's unit went, as an
    // open gives it that unit's data from the project file.
    const VyIfaces::IComponent* component = FindSingleComponentFromDefFile(*entry);
    const std::string name = component ? component->GetComponentID().name : entry->GetFileTitleNoExt();
    const std::string library = component ? component->GetComponentID().library : std::string();
    ImodelModule* described = ImodelFindModuleInLib(design.FindLibraryByName(library.empty() ? "work" : library), name,
                                                    zorpaMODULE_UNKNOWN, std::string());
    const bool tookKept =
        described != nullptr && described->GetModuleFile() == entry && ImodelModule::TakeDeletedModuleInfo(described);
    // The states that hang on the unit's lists are worked out again, once
    // it holds them all, as an open of the saved project works them out;
    // also when the caller reads a link that came back as a project read,
    // which the flow would pass by.
    if (described != nullptr && !described->GetStimulusList().empty())
        if (QuorlaneStateMachine* flow = model.GetStateMachine()) {
            const ImodelSetAndRestoreModelFlagObject told(Imodel::GetIsReadingProject(), false);
            flow->UpdateFileDependentStatesForModule(described);
        }
    // The source's unit was the root: the description's takes its place.
    if (ImodelCommandServices* commands = ImodelCommandServices::Get();
        tookKept && commands && described->IsRoot() && design.GetRootModule() == nullptr)
        commands->SetRoot(described);
    return read;
}

void ItoolVeyrun::Refresh()
{
    Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetCurrentWorkspace();
    if (workspace == nullptr) return;
    const BatchScope batch(*this);
    // A copy: adding a core may change the workspace's collection.
    std::vector<VyIfaces::IComponent*> components;
    for (const auto& [id, component] : workspace->GetComponentCollection()) components.push_back(component);
    for (VyIfaces::IComponent* component : components)
        if (component) MyAddCoreToProject(component->GetDefinitionFileName(), component, false);
}

bool ItoolVeyrun::CheckNewCoresCreated()
{
    Imodel& model = Imodel::GetInstance();
    Ktwkspace::Workspace* workspace = model.GetCurrentWorkspace();
    if (workspace == nullptr) return true;
    IfileManager& files = *model.GetFileManager();
    const bool reading = Imodel::GetIsReadingProject();
    // Whether the component's core is to come into the project now.
    const auto toAdd = [&](VyIfaces::IComponent* component) {
        if (component == nullptr) return false;
        const std::string definition = component->GetDefinitionFileName();
        if (!definition.empty() && files.HasFileNamed(definition, ImodelFMFull, 0)) return false;
        if (definition.empty() && !reading) return false;
        if (reading && definition.size() > 3 && definition.compare(definition.size() - 3, 3, "cxf") != 0 &&
            component->GetModuleType() != VyIfaces::IComponent::Dremmet)
            return false;
        if (!definition.empty() && !UtlDoesFileExist(definition)) return false;
        return definition.empty() || (model.ParseCxfOnOpen() && reading) || m_reported.count(component) == 0;
    };
    // A copy: adding a core may change the workspace's collection.
    std::vector<VyIfaces::IComponent*> components;
    for (const auto& [id, component] : workspace->GetComponentCollection())
        if (toAdd(component)) components.push_back(component);
    // The file watcher asks after every pass: with nothing new the libraries
    // are not saved and restored for nothing.
    if (components.empty()) return true;
    const BatchScope batch(*this);
    for (VyIfaces::IComponent* component : components) {
        if (!toAdd(component)) continue;
        const std::string definition = component->GetDefinitionFileName();
        bool warned = false;
        if (!definition.empty() && !(model.ParseCxfOnOpen() && reading)) {
            m_reported.insert(component);
            if (model.IsDebugMsg()) {
                SysDebugPrintf("Warning: %s is in workspace but not in IDE project A call to VYAddComponent is "
                               "missing\n",
                               definition.c_str());
                SysDebugPrintf("Importing component...\n");
            }
            warned = true;
        }
        MyAddCoreToProject(definition, component, false);
        if (warned && model.IsDebugMsg()) SysDebugPrintf("Done.\n");
    }
    return true;
}

// --- the cores of an older project generation ------------------------------------------

void ItoolVeyrun::GetOldOmbrixWSName(ImodelFileName& out)
{
    ImodelGetFullPathForFile(ImodelFileName(std::string("ombrix") + "." + "aws"), zorpaFT_GROUP_OMBRIX, out);
}

bool ItoolVeyrun::ImportAllCores(const ImodelFileName& folder)
{
    Imodel& model = Imodel::GetInstance();
    Ktwkspace::Workspace* workspace = model.GetWorkspace();
    if (workspace == nullptr) return false;
    try {
        workspace->importDirCores(folder.GetString(), model.GetCatalog().GetCatalogIf(), false);
    } catch (const Ktwkspace::WSImport_except& error) {
        if (model.IsDebugMsg()) SysDebugPrintf("Error: %s\n", error.what());
        return false;
    }
    return true;
}

bool ItoolVeyrun::ImportOldCores()
{
    ImodelFileName oldWorkspace;
    GetOldOmbrixWSName(oldWorkspace);
    if (UtlDoesFileExist(oldWorkspace.GetString())) return true;
    ImodelFileName folder;
    ImodelGetFullPathForFile(zorpaFT_GROUP_OMBRIX, folder, ImodelGetFullPathParam());
    ImodelSetValidSeparator(folder, true);
    if (!UtlDoesPathExist(folder.GetString())) return true;
    const bool imported = ImportAllCores(folder);
    if (Imodel::GetInstance().IsDebugMsg()) SysDebugPrintf("Imported old cores from %s\n", folder.c_str());
    return imported;
}
