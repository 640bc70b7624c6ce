// How the process manager routes each change message: which unit it
// concerns, and whether it is routed while a project file is read (only
// UpdateFileDependentStates and ComponentChanged are).
#include "src/iprocess/iprocessManagerImpl.h"

#include "ievent/IeventAddressSet.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFilterParent.h"
#include "ifile/IfileManagerFunctions.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfilePredecessorObject.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelHierarchyFiles.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelContextImpl.h"
#include "imodel/views/ImodelToolStatesManager.h"
#include "iprocess/IprocessFileObject.h"
#include "iprocess/IprocessFlow.h"
#include "iprocess/IprocessListener.h"
#include "iprocess/IprocessToolObject.h"
#include "itool/ItoolConstraintsManager.h"
#include "itool/ItoolWithConstraints.h"
#include "src/iprocess/iprocessFlowImpl.h"
#include "src/iprocess/iprocessStateMachines.h"

#include <vy/IComponent.h>

#include <algorithm>
#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

using Entry = boost::shared_ptr<IfileObjectEx>;

namespace {

bool IsReading() { return Imodel::GetIsReadingProject(); }

// Carries a message to every unit of the design.
class FileModificationMessageFtor : public ImodelModifyModuleFtor {
public:
    FileModificationMessageFtor(iprocessManagerImpl& manager, QuorlaneStateMachineStringMessage kind, Entry file)
        : m_manager(manager), m_kind(kind), m_file(std::move(file))
    {
    }
    bool operator()(ImodelModule* module) const override
    {
        m_manager.Route(module, [this](IprocessFlow& flow) { flow.FileModificationMessage(m_kind, m_file); });
        return true;
    }

private:
    iprocessManagerImpl& m_manager;
    QuorlaneStateMachineStringMessage m_kind;
    Entry m_file;
};

class DeviceChangedMessageFtor : public ImodelModifyModuleFtor {
public:
    DeviceChangedMessageFtor(iprocessManagerImpl& manager, const std::vector<imodelDeviceMembers>& differences,
                             const ImodelDevice& device, ImodelFunctionType* tool)
        : m_manager(manager), m_differences(differences), m_device(device), m_tool(tool)
    {
    }
    bool operator()(ImodelModule* module) const override
    {
        m_manager.Route(module,
                        [this](IprocessFlow& flow) { flow.DeviceChangedMessage(m_differences, m_device, m_tool); });
        return true;
    }

private:
    iprocessManagerImpl& m_manager;
    const std::vector<imodelDeviceMembers>& m_differences;
    const ImodelDevice& m_device;
    ImodelFunctionType* m_tool;
};

class FunctionTypeMessageFtor : public ImodelModifyModuleFtor {
public:
    FunctionTypeMessageFtor(iprocessManagerImpl& manager, ImodelFunctionType tool) : m_manager(manager), m_tool(tool) {}
    bool operator()(ImodelModule* module) const override
    {
        m_manager.Route(module, [this, module](IprocessFlow& flow) {
            flow.FunctionTypeMessage(QuorlaneToolChangedForAllModules, m_tool, module);
        });
        return true;
    }

private:
    iprocessManagerImpl& m_manager;
    ImodelFunctionType m_tool;
};

// The key two file values share when they are equal, as the design's file
// index keys a unit's file: the stored name, "<project>" left as it stands.
std::string FileKey(const IfileObject& file)
{
    return ImodelFileNameKey(file.GetInternalFileName().GetString(), std::string());
}

iprocessFileKeys KeysOf(const std::deque<IfileObject>& files)
{
    iprocessFileKeys keys;
    for (const IfileObject& file : files) keys.Add(FileKey(file));
    return keys;
}

std::string TitleKey(const IfileObject& file)
{
    std::string title = file.GetFileTitleNoExt();
    ImodelMakeUpper(title);
    return title;
}

}  // namespace

template <class Send>
void iprocessManagerImpl::Route(ImodelModule* module, const Send& send)
{
    IprocessFlow* flow = GetFlowForModule(module);
    if (!flow) return;
    const auto outer =
        std::find_if(m_routes.rbegin(), m_routes.rend(), [flow](const auto& route) { return route.first == flow; });
    const bool nested = outer != m_routes.rend();
    ImodelModule* outerModule = nested ? outer->second : nullptr;
    IprocessFlowObject* outerObject = outerModule ? outerModule->GetMessageObject() : nullptr;
    m_routes.emplace_back(flow, module);
    flow->AttachModule(module);
    send(*flow);
    flow->DetachModule();
    m_routes.pop_back();
    if (!nested) return;
    flow->AttachModule(outerModule);
    if (outerModule) outerModule->SetMessageObject(outerObject);
}

void iprocessManagerImpl::FileModificationMessage(QuorlaneStateMachineStringMessage kind, Entry file)
{
    RouteDeferred();
    if (!file || IsReading() || kind < QuorlaneFileChanged || kind > QuorlaneConstraintFileChanged) return;
    if (kind == QuorlaneConstraintFileChanged) {
        RouteConstraintFileChange(file);
        return;
    }
    if (kind == QuorlanePackageFileChanged) {
        ImodelApplyToAllModules(FileModificationMessageFtor(*this, kind, file));
        return;
    }
    ImodelModule* module = IprocessGetModulePtr(file.get());
    IprocessFlow* flow = GetFlowForModule(module);
    if (!flow) return;
    IprocessFileObject* node = flow->GetFileObject(file->GetFileSpecificType());
    const bool optional = node && node->IsOptionalConstraintFile();
    // The file itself is current: it is what changed.
    if (kind == QuorlaneFileChanged) file->SetFileState(imodelFileUpToDate);
    Route(module, [&](IprocessFlow& target) { target.FileModificationMessage(kind, file); });
    // The file left the project: no view of any unit keeps a result for it,
    // whether the file belongs to a unit or not (the unit's machines above
    // reset only what the tool made or the file in use; a result left would
    // be written for a file the project no longer holds).
    if (kind == QuorlaneFileRemoved) ImodelContextToolStatesManager::FileLeftProject(*file);
    if (kind == QuorlaneFileRemoved && optional)
        Imodel::GetInstance().GetConstraintsManager().OptionalConstraintFileChanged(*file, node, 1, module);
}

std::optional<std::unordered_set<ImodelModule*>> iprocessManagerImpl::UnitsConcernedByConstraintFile(const Entry& file)
{
    // One flow answers for every unit: the files a change reaches through
    // it are the same whichever unit hears it.
    if (IprocessParentStateMachine::PlainInvalidation() || m_flows.size() != 1) return std::nullopt;
    IprocessFlow& flow = *m_flows.front();
    // Files made from the constraint file itself (they lie in the nodes
    // that its own node feeds; most constraint files have no node): their
    // units are not known from the lists.
    if (IprocessFileObject* own = flow.GetFileObject(file->GetFileSpecificType())) {
        IprocessFileObject::Nodes fed;
        for (const IprocessFileToFileTransition* transition : own->GetOutputFileTransitions())
            fed.insert(fed.end(), transition->GetTosList().begin(), transition->GetTosList().end());
        for (const IprocessFileToToolTransition* transition : own->GetOutputToolTransitions())
            for (IprocessToolObject* tool : transition->GetTosList()) tool->GetOutputFiles(&fed);
        for (IprocessFileObject* node : fed) {
            std::vector<Entry> made;
            node->AddRelatedFilesUsing(file, false, false, made);
            if (!made.empty()) return std::nullopt;
        }
    }
    std::vector<ImodelModule*> naming;
    for (ItoolWithConstraints* tool : ItoolConstraintsManager::GetAllTools())
        if (!tool || !tool->GetUnitsNamingConstraintFile(*file, naming)) return std::nullopt;
    // A file that depends on the constraint file is one of a unit that
    // names it; the walk from any unit then takes the tool results of that
    // unit's views for such files, and a view's general result stands for
    // the files without one of their own: with any result held, every unit
    // hears the change.
    if (!naming.empty() && ImodelContextToolStatesManager::ResultsHeld() != 0) return std::nullopt;
    std::unordered_set<ImodelModule*> units(naming.begin(), naming.end());
    if (ImodelModule* owner = IprocessGetModulePtr(file.get())) units.insert(owner);
    return units;
}

void iprocessManagerImpl::RouteConstraintFileChange(const Entry& file)
{
    // Told to a unit that neither owns the file nor names it in a tool's
    // list, the change finds nothing to take: such units are passed by (a
    // project of many units imports a constraint file per unit).
    const std::optional<std::unordered_set<ImodelModule*>> units = UnitsConcernedByConstraintFile(file);
    if (!units) {
        ImodelApplyToAllModules(FileModificationMessageFtor(*this, QuorlaneConstraintFileChanged, file));
        return;
    }
    if (units->empty()) return;
    const FileModificationMessageFtor send(*this, QuorlaneConstraintFileChanged, file);
    // In the order every unit would hear it.
    ImodelApplyToAllModules([&](ImodelModule* module) {
        if (units->count(module)) send(module);
    });
}

void iprocessManagerImpl::FilesModificationMessage(QuorlaneStateMachineMultipleFilesMessages kind,
                                                   const std::deque<IfileObject>& files)
{
    if (files.empty() || IsReading()) return;
    if (m_deferrals == 0) {
        RouteSourceChange(kind, files, KeysOf(files));
        return;
    }
    if (m_deferred && m_deferred->kind != kind) RouteDeferred();
    if (!m_deferred) m_deferred.emplace(Deferred{kind, {}, {}});
    for (const IfileObject& file : files)
        if (m_deferred->keys.Add(FileKey(file))) m_deferred->files.push_back(file);
}

void iprocessManagerImpl::DeferSourceChanges(bool defer)
{
    if (defer) {
        ++m_deferrals;
        return;
    }
    if (m_deferrals > 0 && --m_deferrals == 0) RouteDeferred();
}

void iprocessManagerImpl::RouteDeferred()
{
    if (!m_deferred) return;
    const Deferred deferred = std::move(*m_deferred);
    m_deferred.reset();
    RouteSourceChange(deferred.kind, deferred.files, deferred.keys);
}

bool iprocessManagerImpl::BringsSourceChangesToRest() const
{
    if (IprocessParentStateMachine::PlainInvalidation() || ImodelContextToolStatesManager::ResultsHeld() != 0 ||
        m_flows.empty())
        return false;
    return std::all_of(m_flows.begin(), m_flows.end(), [](const std::unique_ptr<IprocessFlow>& flow) {
        const auto* own = dynamic_cast<const iprocessFlowImpl*>(flow.get());
        imodelSolvatoState rest = Pre_Synthesis;
        return own && own->BringsSourceChangesToRest(rest) && rest == Pre_Synthesis;
    });
}

bool iprocessManagerImpl::AreAllUnitsAtRest()
{
    // A context that has not made its views yet rests only for a unit that
    // a source change never reaches: one without a file of its own.
    return ImodelRevContextImpl::NotResting() == 0 && !ImodelContextImpl::AnyPendingOfUnitWithFile();
}

namespace {

bool IsInViewdraw(const IfileObject& file)
{
    ImodelFileName folder;
    return file.GetRelativeFolder(folder) && ImodelIsSameStrNoCase(folder.GetString(), "viewdraw");
}

// What a message's files are matched against: their keys, and the titles
// of its schematics (the HDL file made from a schematic lies in "viewdraw"
// under the schematic's title).
struct ListedFiles {
    ListedFiles(const std::deque<IfileObject>& files, const iprocessFileKeys& fileKeys) : keys(fileKeys)
    {
        for (const IfileObject& file : files)
            if (file.GetFileSpecificType() == zorpaFT_SCH) schematicTitles.insert(TitleKey(file));
        linksTell = LinksTellOf(files);
    }
    ListedFiles(const ListedFiles&) = delete;
    ListedFiles& operator=(const ListedFiles&) = delete;

    const iprocessFileKeys& keys;
    std::unordered_set<std::string> schematicTitles;
    // Whether the units whose sources the files may be can be told from
    // the design's links (CandidateModules). Looked into once: a change is
    // collected for the units the files define and then for those above.
    bool linksTell = false;

private:
    bool LinksTellOf(const std::deque<IfileObject>& files) const
    {
        if (!schematicTitles.empty() || ImodelAllowUserToCustomizeSourceFileList()) return false;
        IfileManager* project = Imodel::GetInstance().GetFileManager();
        if (!project) return false;
        // The project's entries are looked up only when some value is
        // marked encrypted: after a checkout that changed every file, a
        // lookup each costs more than the rest of this test.
        const bool anyEncrypted = IfileObjectEx::AnyFileIsEncrypted();
        return std::none_of(files.begin(), files.end(), [project, anyEncrypted](const IfileObject& file) {
            if (IsInViewdraw(file)) return true;
            if (!anyEncrypted) return false;
            const Entry entry = project->GetFile(file);
            return entry && entry->IsEncryptedFile();
        });
    }
};

// Units met, each once, in the order they came. The sets here hold every
// unit above a changed file, the whole design when every file changed on
// disk: one array rather than a block per unit.
using UnitsMet = IeventAddressSet<ImodelModule*>;

// Whether the unit's synthesis sources hold a listed file (for kind 1, a
// unit whose own file is listed is not).
bool IsConcerned(ImodelModule* module, QuorlaneStateMachineMultipleFilesMessages kind, const ListedFiles& listed)
{
    const Entry own = module->GetModuleFile();
    if (!own) return false;
    if (kind == QuorlaneFilesRemoved && listed.keys.Contains(FileKey(*own))) return false;
    ImodelModule::FileEntries hdl;
    ImodelGetHdlFileNames(hdl, module, ideSYNTHESIS, nullptr, false);
    return std::any_of(hdl.begin(), hdl.end(), [&](const Entry& file) {
        if (!file) return false;
        if (listed.keys.Contains(FileKey(*file))) return true;
        ImodelFileName folder;
        return !listed.schematicTitles.empty() && file->GetRelativeFolder(folder) && folder.GetString() == "viewdraw" &&
               listed.schematicTitles.count(TitleKey(*file));
    });
}

// The units the listed files define, in the order of the keys, then of the
// libraries.
std::vector<ImodelModule*> UnitsOfListedFiles(const ListedFiles& listed, const ImodelDesignManager& design)
{
    std::vector<ImodelModule*> units;
    for (const std::string& key : listed.keys) {
        const auto [first, last] = design.GetLibraries();
        for (auto library = first; library != last; ++library)
            if (*library && (*library)->GetModules()) (*library)->GetModules()->AppendUnitsOfFileKey(key, units);
    }
    return units;
}

// The units whose synthesis sources may hold a listed file: the units the
// files define (`defined`) and, with `above`, every unit above them,
// through the parents' links (a unit's sources are those of the units
// below it). None when a package stands among them: its users are not
// linked to it.
std::optional<UnitsMet> CandidateModules(const std::vector<ImodelModule*>& defined, bool above)
{
    std::vector<ImodelModule*> pending(defined);
    UnitsMet candidates;
    while (!pending.empty()) {
        ImodelModule* module = pending.back();
        pending.pop_back();
        if (!module || !candidates.Add(module)) continue;
        if (module->IsPackage()) return std::nullopt;
        if (!above) continue;
        if (const ImodelLinkList* parents = module->GetParentsList())
            pending.insert(pending.end(), parents->begin(), parents->end());
    }
    return candidates;
}

// What the synthesis sources of a unit above a listed file are known to
// hold without collecting them all: a listed file that defines a unit
// below it through the links, where no package stands between, is among
// its sources when the collection keeps that file whoever asks: an HDL
// file used for synthesis that no project file includes (an included file
// is compiled through the files that include it), unless the unit asked
// leaves the file out as a package. The units below which such a file lies
// are known to be concerned; the others are asked the long way.
class KnownConcerned {
public:
    // `defined`: the units of the listed files (UnitsOfListedFiles);
    // `candidates`: every unit above them, through the links.
    KnownConcerned(const ListedFiles& listed, const std::vector<ImodelModule*>& defined, const UnitsMet& candidates)
        : m_listed(listed), m_defined(defined), m_candidates(candidates)
    {
    }

    bool IsConcerned(ImodelModule* module, QuorlaneStateMachineMultipleFilesMessages kind)
    {
        // A unit without sub-blocks is known the same way: it is in Above()
        // only as the unit of a listed file that its sources keep. Asking
        // it the long way costs a collection of its sources per file.
        const bool known = kind == QuorlaneFilesChanged && module->GetModuleFile() && Above().Contains(module) &&
                           (!ImodelAllowUserToOrganizePackages() || module->GetSynthesisPackageToIgnoreList()->empty());
        return known || ::IsConcerned(module, kind, m_listed);
    }

private:
    // The units above a listed file that the collection keeps, found on the
    // first question.
    const UnitsMet& Above()
    {
        if (m_found) return *m_found;
        m_found = &m_above;
        IfileManager* project = Imodel::GetInstance().GetFileManager();
        if (!project) return m_above;
        std::vector<ImodelModule*> pending;
        bool every = true;
        for (ImodelModule* module : m_defined) {
            const Entry own = module->GetModuleFile();
            if (own && own->GetFileSpecificType() == zorpaFT_HDL && own->IsUsedForTool(ideSYNTHESIS, "", true) &&
                !IsIncluded(*project, *own))
                pending.push_back(module);
            else
                every = false;
        }
        // From every unit of the listed files: the candidates themselves.
        if (every) return *(m_found = &m_candidates);
        while (!pending.empty()) {
            ImodelModule* module = pending.back();
            pending.pop_back();
            if (!module || !m_above.Add(module)) continue;
            if (const ImodelLinkList* parents = module->GetParentsList())
                pending.insert(pending.end(), parents->begin(), parents->end());
        }
        return m_above;
    }

    // Whether a project file includes the file; the included files of the
    // project are gathered once, on the first question.
    bool IsIncluded(IfileManager& project, const IfileObjectEx& file)
    {
        // Most projects include no file in another: no walk over the project.
        if (!IfileObjectEx::AnyFileIncludesFiles()) return false;
        if (!m_included) {
            m_included.emplace();
            std::vector<Entry> none;
            const Gather gather(*m_included);
            project.GetFiles(none, 0, &gather);
        }
        return m_included->contains(FileKey(file));
    }

    // A filter that takes note of the files each source includes and lets
    // none through: nothing is copied out of the project.
    class Gather : public IfileManagerFilterParent {
    public:
        explicit Gather(std::unordered_set<std::string>& keys) : m_keys(keys) {}
        bool operator()(boost::shared_ptr<IfileObjectEx> file) const override
        {
            if (file)
                for (const IfileObject& included : file->GetIncludedFiles()) m_keys.insert(FileKey(included));
            return false;
        }

    private:
        std::unordered_set<std::string>& m_keys;
    };

    const ListedFiles& m_listed;
    const std::vector<ImodelModule*>& m_defined;
    const UnitsMet& m_candidates;
    UnitsMet m_above;
    const UnitsMet* m_found = nullptr;
    std::optional<std::unordered_set<std::string>> m_included;
};

// Appends the units of `wanted` that `units` holds, in the set's order.
// When they are many of the set's units (a change low in a deep design
// concerns most units above it), walking the set in order costs less than
// sorting them; either gives the same list.
void InSetOrder(const UnitsMet& wanted, const ImodelModule::UnitSet& units, std::vector<ImodelModule*>& out)
{
    if (wanted.Added() * 8 >= units.size()) {
        for (ImodelModule* module : units)
            if (wanted.Contains(module)) out.push_back(module);
        return;
    }
    const std::size_t start = out.size();
    wanted.ForEach([&](ImodelModule* module) {
        if (units.contains(module)) out.push_back(module);
    });
    std::sort(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(),
              [](const ImodelModule* x, const ImodelModule* y) {
                  const std::strong_ordering order = x->GetUnitOrder() <=> y->GetUnitOrder();
                  return order < 0 || (order == 0 && x->GetUnitSerial() < y->GetUnitSerial());
              });
}

// The units concerned, asking every unit in library and set order.
std::vector<ImodelModule*> CollectByWalk(QuorlaneStateMachineMultipleFilesMessages kind, const ListedFiles& listed)
{
    std::vector<ImodelModule*> collected;
    std::unordered_set<const ImodelModule*> taken;
    ImodelApplyToAllModules([&](ImodelModule* module) {
        if (IsConcerned(module, kind, listed) && taken.insert(module).second) collected.push_back(module);
    });
    return collected;
}

// The units concerned among those the files define and, with `above`,
// those above them; none when the links cannot tell.
std::optional<std::vector<ImodelModule*>> CollectConcerned(QuorlaneStateMachineMultipleFilesMessages kind,
                                                           const ListedFiles& listed, bool above)
{
    // When the links cannot tell, the sources of a unit may come from
    // elsewhere (a schematic's HDL file, a customized list, an encrypted
    // file attached to a unit).
    const ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
    if (!design || !listed.linksTell) return std::nullopt;
    // Looked up once for both questions: after a checkout that changed
    // every file, these are lookups of the whole design.
    const std::vector<ImodelModule*> defined = UnitsOfListedFiles(listed, *design);
    const std::optional<UnitsMet> candidates = CandidateModules(defined, above);
    if (!candidates) return std::nullopt;
    // The candidates in library and set order, as the walk over every unit
    // would meet them; each unit stands in the set of its own library
    // alone, so none comes twice.
    std::vector<ImodelModule*> ordered;
    const auto [first, last] = design->GetLibraries();
    for (auto library = first; library != last; ++library) {
        if (!*library || !(*library)->GetModules()) continue;
        InSetOrder(*candidates, *(*library)->GetModules(), ordered);
    }
    // Whether a unit the files define is concerned does not depend on the
    // units above it: the candidates without them answer the same for it.
    KnownConcerned known(listed, defined, *candidates);
    std::vector<ImodelModule*> collected;
    for (ImodelModule* module : ordered)
        if (known.IsConcerned(module, kind)) collected.push_back(module);
    return collected;
}

// ... every unit concerned, by the links where they tell it, else by a walk.
std::vector<ImodelModule*> CollectConcerned(QuorlaneStateMachineMultipleFilesMessages kind, const ListedFiles& listed)
{
    if (std::optional<std::vector<ImodelModule*>> concerned = CollectConcerned(kind, listed, true))
        return std::move(*concerned);
    return CollectByWalk(kind, listed);
}

}  // namespace

void iprocessManagerImpl::RouteSourceChange(QuorlaneStateMachineMultipleFilesMessages kind,
                                            const std::deque<IfileObject>& files, const iprocessFileKeys& keys)
{
    const unsigned whole = ImodelStartLongProcess("Processing state because source changed");
    if (kind == QuorlaneFilesChanged || kind == QuorlaneFilesRemoved) {
        const unsigned collecting = ImodelStartLongProcess("Getting modules concerned");
        // While no unit has a result, a unit the change reaches only comes
        // to rest (ImodelRevContextImpl::Rests). A design filled file by
        // file is so: when the units the files define were the last ones
        // not at rest, the units above them, every earlier unit in a chain,
        // are not looked for. Both collections match against one list.
        const ListedFiles listed(files, keys);
        bool rested = false;
        if (BringsSourceChangesToRest()) {
            if (const std::optional<std::vector<ImodelModule*>> defined = CollectConcerned(kind, listed, false)) {
                for (ImodelModule* module : *defined)
                    Route(module, [&](IprocessFlow& flow) { flow.FilesModificationMessage(kind, files); });
                rested = AreAllUnitsAtRest();
            }
        }
        const std::vector<ImodelModule*> modules =
            rested ? std::vector<ImodelModule*>() : CollectConcerned(kind, listed);
        ImodelEndLongProcess(collecting);
        for (ImodelModule* module : modules)
            Route(module, [&](IprocessFlow& flow) { flow.FilesModificationMessage(kind, files); });
    }
    ImodelEndLongProcess(whole);
}

std::vector<ImodelModule*> iprocessManagerImpl::CollectModulesForFiles(QuorlaneStateMachineMultipleFilesMessages kind,
                                                                       const std::deque<IfileObject>& files) const
{
    const iprocessFileKeys keys = KeysOf(files);
    return CollectConcerned(kind, ListedFiles(files, keys));
}

std::optional<std::vector<ImodelModule*>>
iprocessManagerImpl::CollectModulesForFiles(QuorlaneStateMachineMultipleFilesMessages kind,
                                            const std::deque<IfileObject>& files, bool above) const
{
    const iprocessFileKeys keys = KeysOf(files);
    return CollectConcerned(kind, ListedFiles(files, keys), above);
}

std::vector<ImodelModule*>
iprocessManagerImpl::CollectModulesForFilesByWalk(QuorlaneStateMachineMultipleFilesMessages kind,
                                                  const std::deque<IfileObject>& files) const
{
    const iprocessFileKeys keys = KeysOf(files);
    return CollectByWalk(kind, ListedFiles(files, keys));
}

void iprocessManagerImpl::UsedFileChanged(ImodelModule* module, ImodelRevContextImpl* revision,
                                          zorpaFileManagerTypes type)
{
    RouteDeferred();
    if (!module || !revision || IsReading()) return;
    Route(module, [&](IprocessFlow& flow) { flow.UsedFileChanged(module, revision, type); });
}

void iprocessManagerImpl::InputFileListChanged(Entry file, ImodelFunctionType tool)
{
    RouteDeferred();
    if (m_listener) m_listener->InputFileListChanged(file, tool);
    if (!file || IsReading()) return;
    const IfilePredecessorObject* record = file->GetPredecessorObject();
    if (!record) return;
    Route(record->GetModulePtr(), [&](IprocessFlow& flow) { flow.InputFileListChanged(file, tool); });
}

void iprocessManagerImpl::CDBOrderChanged(ImodelModule* module)
{
    RouteDeferred();
    if (!module || IsReading()) return;
    Route(module, [&](IprocessFlow& flow) { flow.CDBOrderChanged(module); });
}

void iprocessManagerImpl::DeviceChangedMessage(const std::vector<imodelDeviceMembers>& differences,
                                               const ImodelDevice& device, ImodelFunctionType* tool)
{
    RouteDeferred();
    if (IsReading()) return;
    ImodelApplyToAllModules(DeviceChangedMessageFtor(*this, differences, device, tool));
}

void iprocessManagerImpl::FunctionTypeMessage(QuorlaneStateMachineTypeMessage kind, ImodelFunctionType tool,
                                              ImodelModule* module)
{
    RouteDeferred();
    if (IsReading()) return;
    if (kind == QuorlaneToolChangedForAllModules) {
        ImodelApplyToAllModules(FunctionTypeMessageFtor(*this, tool));
        return;
    }
    if (kind != QuorlaneToolChangedForModule) return;
    ImodelModule* target = module ? module : m_attachedModule;
    if (!target) return;
    Route(target, [&](IprocessFlow& flow) { flow.FunctionTypeMessage(QuorlaneToolChangedForModule, tool, module); });
}

void iprocessManagerImpl::ForceToolStateMessage(imodelToolState state, ImodelFunctionType tool, ImodelModule* module,
                                                Entry file)
{
    RouteDeferred();
    if (!module || IsReading()) return;
    Route(module, [&](IprocessFlow& flow) { flow.ForceToolStateMessage(state, tool, module, file); });
}

void iprocessManagerImpl::Ide_pldFileDetected(KemletContentIf* content, Entry file)
{
    RouteDeferred();
    if (m_listener) m_listener->Ide_pldFileDetected(content, file);
    // The unit of the description is the unit its derived-file record names.
    ImodelModule* module = IprocessGetModulePtr(file.get());
    if (!module || !content || IsReading()) return;
    Route(module, [&](IprocessFlow& flow) { flow.Ide_pldFileDetected(content, file); });
}

void iprocessManagerImpl::UpdateFileDependentStates()
{
    RouteDeferred();
    ImodelApplyToAllModules(
        [this](ImodelModule* module) { Route(module, [](IprocessFlow& flow) { flow.UpdateFileDependentStates(); }); });
}

void iprocessManagerImpl::UpdateFileDependentStatesForModule(ImodelModule* module)
{
    RouteDeferred();
    if (!module || IsReading()) return;
    Route(module, [&](IprocessFlow& flow) { flow.UpdateFileDependentStatesForModule(module); });
}

void iprocessManagerImpl::ComponentChanged(VyIfaces::IComponent* component, IDEVeyrunCallBack::InvalidateMessage kind)
{
    RouteDeferred();
    if (!component || kind == IDEVeyrunCallBack::InvalidateNothing) return;
    ImodelModule* module = ImodelFindModule(component->GetComponentID());
    if (!module) return;
    ImodelModule::ModuleSet related;
    module->GetAllRelatedModules(related, -1, -1);
    const std::vector<ImodelModule*> modules(related.begin(), related.end());
    for (ImodelModule* each : modules) Route(each, [&](IprocessFlow& flow) { flow.ComponentChanged(component, kind); });
}

// --- constraint lists ------------------------------------------------------------------------------

void iprocessManagerImpl::ConstraintListChanged(ImodelModule* module, std::uint32_t value, ImodelFunctionType tool)
{
    RouteDeferred();
    if (m_listener) m_listener->ConstraintListChanged(module, value, tool);
    if (!Imodel::GetNotifyConstraintListChanged()) return;
    if (m_attachedModule == module) {
        NotifyNetlistsOfConstraintChange(tool, module);
        return;
    }
    const bool wasBlocked = Imodel::BlockProcessDisplay(true, true);
    ImodelModule* former = m_attachedModule;
    AttachModule(module);
    NotifyNetlistsOfConstraintChange(tool, module);
    AttachModule(former);
    Imodel::BlockProcessDisplay(wasBlocked, true);
}

void iprocessManagerImpl::NotifyNetlistsOfConstraintChange(ImodelFunctionType tool, ImodelModule* module)
{
    if (!module || IsReading() || tool != idePHYSYNTH) return;
    IprocessFlow* flow = GetFlowForModule(module);
    IprocessFileObject* netlists = flow ? flow->GetFileObject(zorpaFT_SYN_EDN) : nullptr;
    if (!netlists) return;
    // A copy: the message may change the node's files.
    for (const Entry& file : netlists->GetKnownFilesOfModule(module)) InputFileListChanged(file, idePHYSYNTH);
}

// --- files of a unit for a tool --------------------------------------------------------------------

void iprocessManagerImpl::GetHdlFilesOfModule(ImodelFunctionType tool, imodelSolvatoState state,
                                              std::vector<Entry>& out, ImodelModule* module,
                                              std::deque<IfileObject>* extra)
{
    if (!module || (tool != ideSIMULATION && tool != ideSTIMULUS)) return;
    IprocessFlow* flow = GetFlowForModule(module);
    IprocessToolObject* node = flow ? flow->GetToolObject(tool) : nullptr;
    ImodelContextImpl* context = module->GetContext();
    if (!node || !node->IsObjectUsed(module, context)) return;
    IprocessFileObject::Nodes inputs;
    if (!node->GetDefaultInputFilesForState(state, &inputs, module, context, true)) return;
    bool hdlSeen = false;
    for (IprocessFileObject* input : inputs) {
        if (!input->IsObjectUsed(module, context)) continue;
        if (input->GetFileType() != zorpaFT_HDL) {
            ImodelAddPackages(module, tool, out);
            if (Entry file = input->GetFileManagerObject(module, context, true, false, true)) out.push_back(file);
        } else {
            ImodelGetHdlFileNames(out, module, tool, extra, true);
            hdlSeen = true;
        }
    }
    if (!hdlSeen) return;
    std::deque<IfileObject> associated;
    ImodelGetChildAssociatedFiles(module, zorpaFT_HDL, associated, &tool, true, nullptr);
    if (associated.empty()) return;
    std::vector<Entry> entries;
    IfileManagerGetRealObjects(associated, entries, false);
    out.insert(out.end(), entries.begin(), entries.end());
}
