// Bringing what a core's descriptions hold into the open project: its
// files, its libraries, the files of the unit it defines, and the unit of a
// core that no HDL file defines.
#include "ixml/IxmlSPIRITCoreParser.h"

#include "ixml/IxmlSPIRITCoreBatch.h"

#include "ievent/IeventClasses.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFunctions.h"
#include "imodel/cores/ImodelRepository.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelCommandServices.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/ImodelMessages.h"

#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <optional>
#include <string_view>

namespace {

// Whether the simulator parameters hold the switch "-L <library>" already.
bool HasLibrarySwitch(const std::string& params, const std::string& library)
{
    const std::string wanted = "-L " + library;
    for (std::size_t at = params.find(wanted); at != std::string::npos; at = params.find(wanted, at + 1)) {
        const bool startsWord = at == 0 || params[at - 1] == ' ';
        const std::size_t end = at + wanted.size();
        if (startsWord && (end == params.size() || params[end] == ' ')) return true;
    }
    return false;
}

bool IsPlaceAndRouteReserved(const IfileObjectEx& file)
{
    return file.IsUsedForTool(idePHYSYNTH, std::string(), true) || file.IsUsedForTool(idePALLADOR, std::string(), true);
}

ImodelModule* MakeUndefinedModule(const std::string& name, boost::shared_ptr<IfileObjectEx> file,
                                  const std::string& library, ImodelDesignManager::LibraryPtr designLibrary)
{
    if (!designLibrary) return nullptr;
    auto made = std::make_unique<ImodelModule>(name, file, zorpaMODULE_UNKNOWN, false, library, "", false);
    if (IxmlIsDebugMsg()) SysDebugPrintf("INFO: Creating dummy module: %s\n", name.c_str());
    const auto [module, inserted] = designLibrary->GetModules()->Insert(std::move(made));
    if (!inserted) return module;
    Imodel::GetInstance().SendEvent(boost::make_shared<IeventModuleAdded>(module), true);
    return module;
}

// The name of the unit an instance stands for, by the kind of instance.
std::string InstanceModuleName(const VyIfaces::ComponentInstance& instance)
{
    switch (instance.kind) {
    case 3:
        return instance.core.name;
    case 1:
        return instance.moduleName;
    case 2:
        return instance.referencedName;
    default:
        return std::string();
    }
}

}  // namespace

void IxmlSPIRITCoreParser::AddToModel(bool addCoreFile, std::set<ImodelModule*>* modules) const
{
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
    if (addCoreFile) files.AddOrUpdateFile(IfileObjectEx(GetCoreFile(), true), true);
    VyIfaces::IComponent* component = GetComponent();
    std::vector<std::pair<const SingleXMLContent*, VyIfaces::IComponent*>> contents;
    for (const SingleXMLContent& content : m_contents) {
        VyIfaces::IComponent* handed = nullptr;
        if (component != nullptr &&
            IfileObject(ImodelFileName(component->GetDefinitionFileName()), GetCoreFile().GetFileSpecificType(),
                        ImodelFMFull, true, true) == content.GetXMLFile())
            handed = component;
        contents.emplace_back(&content, handed);
    }
    AddContents(contents, modules);
}

void IxmlSPIRITCoreParser::SingleXMLContent::AddToModel(const IfileObject&, const IxmlSPIRITCoreParser& parser,
                                                        std::set<ImodelModule*>* modules,
                                                        VyIfaces::IComponent* component) const
{
    // The parser is the one that read the content: it gives the HDL kind.
    parser.AddContents({{this, component}}, modules);
}

void IxmlSPIRITCoreParser::AddContents(
    const std::vector<std::pair<const SingleXMLContent*, VyIfaces::IComponent*>>& contents,
    std::set<ImodelModule*>* modules) const
{
    const bool reading = Imodel::GetIsReadingProject();
    const IxmlSPIRITCoreBatch batch;
    IxmlSPIRITCoreBatch& current = *IxmlSPIRITCoreBatch::Current();
    std::deque<IfileObject> sources;
    {
        // The flow hears of the sources once, when the batch ends.
        const ImodelSetAndRestoreModelFlagObject flowWaits(Imodel::GetIsReadingProject(), true);
        for (const auto& [content, component] : contents) content->AddFiles(component, reading, sources);
    }
    current.AddSources(sources);
    bool hdlKind = true;
    GetHDLType(hdlKind);
    std::vector<SingleXMLContent> kept;
    for (const auto& [content, component] : contents) kept.push_back(*content);
    current.Defer([kept = std::move(kept), hdlKind, reading, modules] {
        for (const SingleXMLContent& content : kept) content.AddModuleFiles(hdlKind, reading, modules);
    });
}

void IxmlSPIRITCoreParser::SingleXMLContent::AddFiles(VyIfaces::IComponent* component, bool reading,
                                                      std::deque<IfileObject>& sources) const
{
    Imodel& model = Imodel::GetInstance();
    IfileManager& files = *model.GetFileManager();
    ImodelDesignManager& design = *model.GetDesignManager();
    for (const Library& library : m_libraries)
        if (const Library added = design.AddLibrary(library, true))
            added->SetCompileOption(GetDefaultOptionForPrecompiledLibs());

    ImodelCommandServices* commands = ImodelCommandServices::Get();
    for (const IfileObjectEx& read : m_files) {
        // Read again with the project (a refresh), a file the project holds
        // keeps the read-only mark it has; one it does not hold takes the
        // reading's.
        const boost::shared_ptr<IfileObjectEx> held = reading ? files.GetFile(read) : nullptr;
        std::optional<IfileObjectEx> marked;
        if (held && held->IsIDEReadOnly() != read.IsIDEReadOnly()) {
            marked.emplace(read);
            marked->SetIDEReadOnly(held->IsIDEReadOnly());
        }
        const IfileObjectEx& file = marked ? *marked : read;
        const boost::shared_ptr<IfileObjectEx> entry = files.AddOrUpdateFile(file, true);
        if (!entry && !UtlDoesFileExist(file.GetFullFileName().GetString()))
            ImodelDisplaySPIRIT_FILE_NOT_FOUND_MSG(file.GetFullFileName().c_str(),
                                                   m_xmlFile.GetFileTitleAndExt().c_str());
        if (commands == nullptr) continue;
        if (file.GetFileSpecificType() == zorpaFT_HDL &&
            commands->AddFileToModel(file, false, true, false, nullptr, nullptr, true, component, true, false, nullptr))
            sources.push_back(file);
        if (reading) commands->CountProjectFile(file);
    }
}

void IxmlSPIRITCoreParser::SingleXMLContent::AddModuleFiles(bool hdlKind, bool reading,
                                                            std::set<ImodelModule*>* modules) const
{
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
    ImodelModule* module = ImodelFindModuleInAnyLib(m_componentName, std::string());
    if (module == nullptr) return;
    const boost::shared_ptr<IfileObjectEx> description = IfileGetCXFFileFromModuleFile(module);
    const boost::shared_ptr<IfileObjectEx> moduleFile = module->GetModuleFile();
    const bool describedHere = description && *description == m_xmlFile;
    if (moduleFile && !(*moduleFile == m_xmlFile) && !describedHere) {
        // The unit is defined both by an HDL file and by this description:
        // both stay, each marked.
        moduleFile->SetErrorFile(ImodelNoError, m_componentName);
        files.AddOrUpdateFile(*moduleFile, true);
        if (const boost::shared_ptr<IfileObjectEx> own = files.GetFile(m_xmlFile)) {
            own->SetErrorFile(ImodelModuleAlreadyDefined, m_componentName);
            files.AddOrUpdateFile(*own, true);
        }
    }
    if (!describedHere) return;
    if (modules) modules->insert(module);
    if (!hdlKind) {
        std::string params = module->GetVSimParams();
        const std::string before = params;
        for (const Library& library : m_libraries) {
            // A refresh adds the core again: each switch is kept once.
            if (HasLibrarySwitch(params, library->GetName())) continue;
            if (!params.empty()) params += ' ';
            params += "-L " + library->GetName();
        }
        if (params != before) module->SetVSimParams(params);
    }
    AssociateFiles(*module, reading);
}

void IxmlSPIRITCoreParser::SingleXMLContent::AssociateFiles(ImodelModule& module, bool reading) const
{
    for (const IfileObjectEx& file : m_files) {
        switch (file.GetFileSpecificType()) {
        case zorpaFT_PDC:
            if (!file.IsUsedByAllTools() && IsPlaceAndRouteReserved(file)) module.AddAssociatedFile(file);
            continue;
        case zorpaFT_SDC:
            if (file.IsUsedByAllTools() || !file.IsUsedForTool(ideSYNTHESIS, std::string(), true)) continue;
            if (!reading) module.AddSynthesisConstraintFile(file);
            module.AddAssociatedFile(file);
            continue;
        case zorpaFT_HDL:
            if (file.IsEncryptedFile()) module.AddAssociatedFile(file);
            continue;
        case zorpaFT_TB_HDL:
            if (!reading) {
                ImodelModule::FileList stimulus;
                if (ImodelIsVaultEnabled()) stimulus = module.GetStimulusList();
                stimulus.push_back(file);
                module.SetNewStimulusList(stimulus, nullptr);
            }
            continue;
        case zorpaFT_ARM_DB:
        case zorpaFT_ARM_LIB:
        case zorpaFT_SIM:
            module.AddAssociatedFile(file);
            continue;
        default:
            if (file.IsBFMFile()) module.AddAssociatedFile(file);
            continue;
        }
    }
    for (const IfileObjectEx& file : m_runDoFiles) module.AddAssociatedFile(file);
}

bool IxmlSPIRITCoreParser::CreateUndefinedModule(boost::shared_ptr<IfileObjectEx> file, const std::string& name,
                                                 const std::string& libraryName, VyIfaces::IComponent* component,
                                                 ImodelModule*& module)
{
    const std::string library = libraryName.empty() ? std::string("work") : libraryName;
    ImodelDesignManager& design = *Imodel::GetInstance().GetDesignManager();
    ImodelDesignManager::LibraryPtr designLibrary = design.FindLibraryByName(library);
    ImodelModule* toComplete = module;
    if (toComplete == nullptr && designLibrary) {
        toComplete = ImodelFindModuleInLib(designLibrary, name, zorpaMODULE_UNKNOWN, std::string());
        if (toComplete != nullptr && toComplete->GetModuleFile()) return false;
    }
    if (toComplete == nullptr) {
        if (!designLibrary) designLibrary = design.AddLibrary(library, true);
        module = MakeUndefinedModule(name, file, library, designLibrary);
    } else {
        toComplete->SetModuleFileName(file ? file->GetFullFileName().GetString() : std::string(), nullptr, false);
        toComplete->SetDefinedInLibrary(library);
        module = toComplete;
        Imodel::GetInstance().SendEvent(boost::make_shared<IeventModuleModified>(toComplete), true);
    }
    if (module == nullptr || component == nullptr) return true;

    for (const VyIfaces::ComponentInstance& instance : component->GetInstances()) {
        const std::string subName = InstanceModuleName(instance);
        if (subName.empty()) continue;
        ImodelModule* sub = ImodelFindModuleInAnyLib(subName, std::string());
        if (sub == nullptr) {
            const std::string subLibrary = instance.library.empty() ? std::string("work") : instance.library;
            ImodelDesignManager::LibraryPtr home = design.FindLibraryByName(subLibrary);
            if (!home) home = design.AddLibrary(subLibrary, true);
            sub = MakeUndefinedModule(subName, nullptr, subLibrary, home);
        }
        if (sub == nullptr) continue;
        const std::deque<ImodelModule*> below{sub};
        if (sub == module || ImodelIsLoop(module, &below)) {
            if (IxmlIsDebugMsg()) SysDebugPrintf("ERROR: %s is instantiating itself\n", sub->GetName().c_str());
            continue;
        }
        module->AddSubBlock(sub, true);
    }
    return true;
}
