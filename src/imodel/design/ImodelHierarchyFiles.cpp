// The file collectors over a design-unit hierarchy, and the counts and
// tests over one.
#include "imodel/design/ImodelHierarchyFiles.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFunctions.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModuleTree.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "src/imodel/design/ImodelModuleNotify.h"

#include <algorithm>
#include <string>
#include <unordered_set>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;
using Entries = ImodelModule::FileEntries;
using FileValues = std::deque<IfileObject>;
using ModuleList = ImodelModule::ModuleList;
using Walked = std::unordered_set<const ImodelModule*>;

IfileManager* ProjectFiles()
{
    Imodel* model = ImodelAliveModel();
    return model ? model->GetFileManager() : nullptr;
}

// The text by which two file values are equal (the model's file-name key).
std::string FileKey(const IfileObject& file) { return ImodelFileNameKey(file.GetInternalFileName()); }

// A result of project files with the set of the files it holds.
class EntryList {
public:
    explicit EntryList(Entries& files) : m_files(files) { Reindex(); }
    EntryList(const EntryList&) = delete;
    EntryList& operator=(const EntryList&) = delete;

    bool Holds(const IfileObjectEx* file) const { return m_held.contains(file); }
    // Nothing for an empty entry or one the list holds.
    void Append(const Entry& file)
    {
        if (file && m_held.insert(file.get()).second) m_files.push_back(file);
    }
    void Remove(const IfileObjectEx* file)
    {
        if (m_held.erase(file) > 0) std::erase_if(m_files, [file](const Entry& entry) { return entry.get() == file; });
    }
    // Keeps, in order, the files that `keep` takes.
    template <class Keep>
    void KeepOnly(Keep keep)
    {
        std::erase_if(m_files, [&keep](const Entry& entry) { return !entry || !keep(*entry); });
        Reindex();
    }

private:
    void Reindex()
    {
        m_held.clear();
        for (const Entry& file : m_files) m_held.insert(file.get());
    }

    Entries& m_files;
    std::unordered_set<const IfileObjectEx*> m_held;
};

// A list of file values (may be absent) with the keys of the files it holds.
class ValueList {
public:
    explicit ValueList(FileValues* files) : m_files(files)
    {
        if (m_files != nullptr)
            for (const IfileObject& file : *m_files) m_keys.insert(FileKey(file));
    }
    ValueList(const ValueList&) = delete;
    ValueList& operator=(const ValueList&) = delete;

    bool IsGiven() const { return m_files != nullptr; }
    bool Holds(const IfileObject& file) const { return m_keys.contains(FileKey(file)); }
    void Append(const IfileObject& file)
    {
        if (m_files == nullptr) return;
        m_files->push_back(file);
        m_keys.insert(FileKey(file));
    }

private:
    FileValues* m_files;
    std::unordered_set<std::string> m_keys;
};

// --- the child files of a hierarchy ----------------------------------------------------------

// Files that stand in `orders` keep their order at the front; the others
// follow in name order.
void FrontByOrders(FileValues& files, FileValues& orders)
{
    const ValueList ordered(&orders);
    const auto rest = std::stable_partition(files.begin(), files.end(),
                                            [&ordered](const IfileObject& file) { return ordered.Holds(file); });
    std::stable_sort(rest, files.end());
}

class ChildFilesWalk {
public:
    ChildFilesWalk(ImodelGetChildsFtor& select, const ImodelFunctionType* tool, bool reorder)
        : m_select(select), m_tool(tool), m_reorder(reorder), m_project(ProjectFiles())
    {
    }

    void Walk(ImodelModule* module, ValueList& files, FileValues* cdbOrders)
    {
        if (module == nullptr || !m_walked.insert(module).second) return;
        ImodelModule* source = module;
        if (module->GetAssociatedFileListConst().empty())
            if (ImodelModule* keyed = ImodelFindModule(module->GetComponentID())) source = keyed;
        m_select.SetCurModule(source);

        FileValues localFiles;
        ValueList local(&localFiles);
        for (const IfileObject& file : source->GetAssociatedFileListConst())
            if (Takes(file)) local.Append(file);
        FileValues subOrders;
        if (m_select.IsRecursive() && module->GetSubBlocks() != nullptr)
            for (ImodelModule* sub : *module->GetSubBlocks()) Walk(sub, local, &subOrders);

        if (m_reorder && localFiles.size() > 1) FrontByOrders(localFiles, subOrders);
        std::erase_if(localFiles, [&files](const IfileObject& file) { return files.Holds(file); });
        if (m_reorder) {
            const FileValues& order = source->GetCDBOrder();
            if (cdbOrders != nullptr) cdbOrders->insert(cdbOrders->end(), order.begin(), order.end());
            std::stable_sort(localFiles.begin(), localFiles.end(), imodelSortFiles(order));
        }
        for (const IfileObject& file : localFiles) files.Append(file);
    }

private:
    // Selected, held by the project and, for a tool, used by it.
    bool Takes(const IfileObject& file) const
    {
        if (!m_select(file)) return false;
        const Entry entry = m_project ? m_project->GetFile(file) : nullptr;
        return entry && (m_tool == nullptr || entry->IsUsedForTool(*m_tool, "", true));
    }

    ImodelGetChildsFtor& m_select;
    const ImodelFunctionType* m_tool;
    bool m_reorder;
    IfileManager* m_project;
    Walked m_walked;
};

// --- the defining files in hierarchy order -----------------------------------------------------

class OriginalFilesWalk {
public:
    OriginalFilesWalk(EntryList& files, std::deque<std::string>& packages, const ImodelFunctionType* tool,
                      const zorpaFileManagerTypes* fileType, FileValues* includedFiles, bool notify)
        : m_files(files), m_packages(packages), m_tool(tool), m_fileType(fileType), m_included(includedFiles),
          m_notify(notify), m_project(ProjectFiles())
    {
    }

    void Walk(ImodelModule* module)
    {
        if (module == nullptr || !m_walked.insert(module).second) return;
        if (IsConstraintsEditor() && module->GetComponent() != nullptr &&
            module->GetComponent()->GetModuleType() != VyIfaces::IComponent::HDL)
            return;
        // Sub-modules before the modules that use them.
        if (!module->IsPackage() && module->GetSubBlocks() != nullptr)
            for (ImodelModule* sub : *module->GetSubBlocks()) Walk(sub);
        const bool hasToolFile = TakeToolFiles(*module);
        const Entry file = module->GetModuleFile();
        if (!file) return;
        WalkUsedPackages(file);
        // A file of the tool's own takes the place of one that serves synthesis alone.
        if (hasToolFile && !file->IsUsedByAllTools() && file->IsUsedForTool(ideSYNTHESIS, "", true)) return;
        if (m_fileType != nullptr && file->GetFileSpecificType() != *m_fileType) return;
        TakeDefiningFile(file);
    }

private:
    bool IsConstraintsEditor() const { return m_tool != nullptr && *m_tool == idePACKAGER; }

    // The HDL files attached to the unit for the tool alone; whether any.
    bool TakeToolFiles(ImodelModule& module)
    {
        if (m_tool == nullptr || IsConstraintsEditor() || m_project == nullptr) return false;
        FileValues attached;
        ImodelIsFileOfType hdl(zorpaFT_HDL, false);
        ImodelGetChildAssociatedFiles2(&module, hdl, attached, nullptr, nullptr, false);
        bool found = false;
        for (const IfileObject& value : attached) {
            const Entry file = m_project->GetFile(value);
            if (!file || file->IsUsedByAllTools() || !file->IsUsedForTool(*m_tool, "", true)) continue;
            found = true;
            if (m_notify) ImodelWarnIfFileModified(file);
            m_files.Append(file);
        }
        return found;
    }

    // Each package its use clauses reach, walked once per call.
    void WalkUsedPackages(const Entry& file)
    {
        const auto [first, last] = file->GetUsedPackages();
        const std::deque<std::string> clauses(first, last);
        for (std::string clause : clauses)
            if (ImodelModule* package = ImodelFindUsedPackage(file, clause, m_packages)) Walk(package);
    }

    void TakeDefiningFile(const Entry& file)
    {
        // An included file is compiled through the files that include it.
        if (!IsConstraintsEditor()) {
            for (const IfileObject& included : file->GetIncludedFiles()) {
                if (const Entry entry = m_project ? m_project->GetFile(included) : nullptr) m_files.Remove(entry.get());
                if (m_included.IsGiven() && !m_included.Holds(included)) m_included.Append(included);
            }
        }
        if (m_included.IsGiven() && m_included.Holds(*file)) return;
        if (m_notify) ImodelWarnIfFileModified(file);
        m_files.Append(file);
    }

    EntryList& m_files;
    std::deque<std::string>& m_packages;
    const ImodelFunctionType* m_tool;
    const zorpaFileManagerTypes* m_fileType;
    ValueList m_included;
    bool m_notify;
    IfileManager* m_project;
    Walked m_walked;
};

// --- the HDL files of a tool -------------------------------------------------------------------

// The unit's customized list of the tool, when in use; whether it was.
bool TakeCustomizedList(EntryList& files, ImodelModule& module, ImodelFunctionType tool, bool notify)
{
    Entries customized;
    if (!ImodelAllowUserToCustomizeSourceFileList() || !module.UseCustomizedFileList(tool) ||
        !module.GetCustomizedFileList(tool, customized))
        return false;
    for (const Entry& file : customized) {
        if (!file) continue;
        if (notify) ImodelWarnIfFileModified(file);
        files.Append(file);
    }
    return true;
}

void TakeEncryptedFiles(EntryList& files, ImodelModule& module, IfileManager& project)
{
    FileValues attached;
    ImodelIsFileOfType hdl(zorpaFT_HDL, true);
    const ImodelFunctionType synthesis = ideSYNTHESIS;
    ImodelGetChildAssociatedFiles2(&module, hdl, attached, &synthesis, nullptr, false);
    for (const IfileObject& value : attached) {
        const Entry file = project.GetFile(value);
        if (file && file->IsEncryptedFile()) files.Append(file);
    }
}

// Keeps the HDL files whose package the unit uses for the tool; whether a
// schematic was dropped.
bool KeepUsedHdlFiles(EntryList& files, ImodelModule& module, ImodelFunctionType tool)
{
    bool droppedSchematic = false;
    files.KeepOnly([&](const IfileObjectEx& file) {
        if (file.GetFileSpecificType() == zorpaFT_HDL) return module.IsPackageUsed(tool, file);
        droppedSchematic = droppedSchematic || file.GetFileSpecificType() == zorpaFT_SCH;
        return false;
    });
    return droppedSchematic;
}

// The HDL file that the schematic editor writes for the unit, in its folder.
void TakeHdlOfSchematic(EntryList& files, const ImodelModule& module, bool notify)
{
    ImodelFileName name;
    ImodelGetFullPathForFile(ImodelFileName(module.GetName() + ".v"), zorpaFT_GROUP_VIEWDRAW, name);
    const ImodelDesignManager* design = ImodelAliveDesignManager();
    if (design != nullptr && design->IsDefaultVHDL()) name += "hd";
    const Entry file = IfileManagerGetRealObject(IfileObject(name, zorpaFT_HDL, ImodelFMFull, true, true), true);
    if (!file) return;
    if (!file->IsFileInProject()) file->SetFileState(imodelFileUpToDate);
    if (notify) ImodelWarnIfFileModified(file);
    files.Append(file);
}

// Keeps the files that the tool is given; the stimulus tool also takes the
// files of the host's synthesis profile.
void KeepFilesOfTool(EntryList& files, ImodelFunctionType tool)
{
    std::string profile;
    Imodel* model = ImodelAliveModel();
    if (ImodelHost* host = model ? model->GetHost() : nullptr)
        host->GetToolProfileName(profile, ideSYNTHESIS, "SYNPLIFY7_EXT");
    files.KeepOnly([&](const IfileObjectEx& file) {
        return file.IsUsedForTool(tool, "", true) ||
               (tool == ideSTIMULUS && file.IsUsedForTool(ideSYNTHESIS, profile, true));
    });
}

void AddPackages(EntryList& files, ImodelModule* module, ImodelFunctionType tool)
{
    IfileManager* project = ProjectFiles();
    if (module == nullptr || tool != ideSIMULATION || project == nullptr) return;
    Entries packages;
    project->GetFilesWith(packages);
    for (const Entry& file : packages)
        if (file && module->IsPackageUsed(ideSIMULATION, *file) && file->IsUsedForTool(ideSIMULATION, "", true))
            files.Append(file);
}

// `including` holds the units whose files this call collects already: an
// include-for-simulation list that leads back to one of them adds nothing.
void CollectHdlFiles(EntryList& files, ImodelModule* module, ImodelFunctionType tool, FileValues* includedFiles,
                     bool notify, Walked& including)
{
    Imodel* model = ImodelAliveModel();
    IfileManager* project = ProjectFiles();
    if (module == nullptr || model == nullptr || project == nullptr) return;
    including.insert(module);
    if (TakeCustomizedList(files, *module, tool, notify)) return;
    if (tool == ideSYNTHESIS) TakeEncryptedFiles(files, *module, *project);
    std::deque<std::string> packages;
    OriginalFilesWalk(files, packages, tool == ideSYNTHESIS ? nullptr : &tool, nullptr, includedFiles, notify)
        .Walk(module);
    if (KeepUsedHdlFiles(files, *module, tool)) TakeHdlOfSchematic(files, *module, notify);
    if ((tool == ideSIMULATION || tool == ideSTIMULUS) && model->IsIncludeForSimulationEnabled()) {
        for (const VyIfaces::ComponentID& id : *module->GetSimulationModuleToIncludeList()) {
            ImodelModule* other = ImodelFindModule(id);
            if (other == nullptr || including.contains(other)) continue;
            Entries theirs;
            EntryList theirList(theirs);
            CollectHdlFiles(theirList, other, tool, includedFiles, true, including);
            for (const Entry& file : theirs) files.Append(file);
        }
    }
    KeepFilesOfTool(files, tool);
    AddPackages(files, module, tool);
}

// --- walks that look for a unit ----------------------------------------------------------------

// Whether a unit of the hierarchy, each looked at once, has a defining file
// that `test` takes.
template <class Test>
bool AnyFileInHierarchy(ImodelModule* module, Test test)
{
    Walked seen;
    std::vector<const ImodelModule*> pending{module};
    while (!pending.empty()) {
        const ImodelModule* unit = pending.back();
        pending.pop_back();
        if (unit == nullptr || !seen.insert(unit).second) continue;
        if (const Entry file = unit->GetModuleFile(); file && test(*file)) return true;
        if (const ModuleList* subBlocks = unit->GetSubBlocks())
            pending.insert(pending.end(), subBlocks->rbegin(), subBlocks->rend());
    }
    return false;
}

// Counts the units with a file along every path; `m_path` keeps a cycle
// from being entered again.
class FileCounter {
public:
    explicit FileCounter(int limit) : m_limit(limit) {}

    void CountList(const ModuleList& modules)
    {
        for (ImodelModule* module : modules) {
            if (module == nullptr || m_path.contains(module)) continue;
            if (module->GetModuleFile()) {
                ++m_count;
                if (m_limit != -1 && m_count >= m_limit) return;
            }
            if (const ModuleList* subBlocks = module->GetSubBlocks()) {
                m_path.insert(module);
                CountList(*subBlocks);
                m_path.erase(module);
            }
        }
    }
    int Count() const { return m_count; }

private:
    int m_limit;
    int m_count = 0;
    Walked m_path;
};

void FindTopLevel(const ImodelFileName& file, const ModuleList& modules, std::vector<std::string>& names, Walked& seen)
{
    for (ImodelModule* module : modules) {
        if (module == nullptr || !seen.insert(module).second) continue;
        if (module->GetModuleFile() && module->GetModuleFullFileName() == file)
            names.push_back(module->GetName());
        else if (const ModuleList* subBlocks = module->GetSubBlocks())
            FindTopLevel(file, *subBlocks, names, seen);
    }
}

}  // namespace

// --- collections ---------------------------------------------------------------------------------

void ImodelGetHdlFileNames(Entries& files, ImodelModule* module, ImodelFunctionType tool, FileValues* includedFiles,
                           bool notify)
{
    EntryList list(files);
    Walked including;
    CollectHdlFiles(list, module, tool, includedFiles, notify, including);
}

void ImodelGetOriginalFileNames(Entries& files, ImodelModule* module, const ImodelFunctionType* tool,
                                const zorpaFileManagerTypes* fileType, FileValues* includedFiles, bool notify)
{
    std::deque<std::string> visited;
    ImodelGetOriginalFileNamesRec(files, visited, module, tool, fileType, includedFiles, notify);
}

void ImodelGetOriginalFileNamesRec(Entries& files, std::deque<std::string>& visited, ImodelModule* module,
                                   const ImodelFunctionType* tool, const zorpaFileManagerTypes* fileType,
                                   FileValues* includedFiles, bool notify)
{
    EntryList list(files);
    OriginalFilesWalk(list, visited, tool, fileType, includedFiles, notify).Walk(module);
}

void ImodelGetChildAssociatedFiles2(ImodelModule* module, ImodelGetChildsFtor& select, FileValues& files,
                                    const ImodelFunctionType* tool, FileValues* cdbOrders, bool reorder)
{
    ValueList list(&files);
    ChildFilesWalk(select, tool, reorder).Walk(module, list, cdbOrders);
}

void ImodelGetChildAssociatedFiles(ImodelModule* module, zorpaFileManagerTypes fileType, FileValues& files,
                                   const ImodelFunctionType* tool, bool recurse, FileValues* cdbOrders)
{
    ImodelIsFileOfType select(fileType, recurse);
    ImodelGetChildAssociatedFiles2(module, select, files, tool, cdbOrders, fileType == zorpaFT_ARM_DB);
}

bool ImodelHasManyCDBFiles(ImodelModule* module)
{
    FileValues files;
    ImodelIsFileOfType select(zorpaFT_ARM_DB, true);
    ImodelGetChildAssociatedFiles2(module, select, files, nullptr, nullptr, true);
    return files.size() > 1;
}

void ImodelModule::GetAllPackagesUsed(FileEntries& files)
{
    ImodelGetOriginalFileNames(files, this, nullptr, nullptr, nullptr, true);
    std::erase_if(files, [](const Entry& file) { return !file || !file->HasPackage(); });
}

bool ImodelHasPackageFiles(ImodelModule* module)
{
    if (module == nullptr) return false;
    Entries files;
    module->GetAllPackagesUsed(files);
    return !files.empty();
}

void ImodelAddPackages(ImodelModule* module, ImodelFunctionType tool, Entries& files)
{
    EntryList list(files);
    AddPackages(list, module, tool);
}

// --- counts and tests ----------------------------------------------------------------------------

int ImodelCountFiles(ImodelModule* module, int limit)
{
    if (module == nullptr) return 0;
    FileCounter counter(limit);
    counter.CountList({module});
    return counter.Count();
}

bool ImodelHasCoreSubBlocks(ImodelModule* module, zorpaFileManagerTypes fileType)
{
    return AnyFileInHierarchy(
        module, [fileType](const IfileObjectEx& file) { return file.HasParentFileOfType(fileType, true); });
}

bool ImodelIsUsedInHierarchy(const IfileObject& file, ImodelModule* module)
{
    const ImodelFileName name = file.GetFullFileName();
    return AnyFileInHierarchy(module, [&name](const IfileObjectEx& own) { return own.GetFullFileName() == name; });
}

bool ImodelIsTopLevelModuleOfFile(const boost::shared_ptr<IfileObjectEx>& file, ImodelModule* module)
{
    return module != nullptr && ImodelIsTopLevelModuleOfFileRec(file, module->GetParentsList());
}

void ImodelFindTopLevelModules(const ImodelFileName& file, std::deque<ImodelModule*>* modules,
                               std::vector<std::string>* names)
{
    if (modules == nullptr || names == nullptr) return;
    Walked seen;
    FindTopLevel(file, *modules, *names, seen);
}

void ImodelWarnIfFileModified(const boost::shared_ptr<IfileObjectEx>& file)
{
    Imodel* model = ImodelAliveModel();
    ImodelHost* host = model ? model->GetHost() : nullptr;
    if (host == nullptr || !file) return;
    const ImodelFileName name = file->GetFullFileName();
    if (host->IsFileModifiedInEditor(name)) ImodelDisplayUSING_MODIFIED_FILE_MSG(name.c_str());
}
