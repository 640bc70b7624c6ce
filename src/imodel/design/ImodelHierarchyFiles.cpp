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
#include "src/imodel/design/imodelHierarchyWalk.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>

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

    // The unit's files, then (recursing) those of its sub-blocks, each unit
    // once; its own stack keeps a deep hierarchy off the call stack.
    void Walk(ImodelModule* module, ValueList& files, FileValues* cdbOrders)
    {
        std::vector<std::unique_ptr<Frame>> stack;
        Enter(module, files, cdbOrders, stack);
        while (!stack.empty()) {
            Frame& frame = *stack.back();
            if (frame.subBlocks != nullptr && frame.at != frame.subBlocks->end()) {
                ImodelModule* sub = *frame.at++;
                Enter(sub, frame.local, &frame.subOrders, stack);
                continue;
            }
            Leave(frame);
            stack.pop_back();
        }
    }

private:
    // What a unit of the walk collects while the units below it are walked.
    struct Frame {
        Frame(ImodelModule* source, ValueList& files, FileValues* cdbOrders)
            : source(source), files(files), cdbOrders(cdbOrders), local(&localFiles)
        {
        }
        ImodelModule* source;
        ValueList& files;
        FileValues* cdbOrders;
        FileValues localFiles;
        ValueList local;
        FileValues subOrders;
        const ImodelLinkList* subBlocks = nullptr;
        ImodelLinkList::const_iterator at;
    };

    void Enter(ImodelModule* module, ValueList& files, FileValues* cdbOrders,
               std::vector<std::unique_ptr<Frame>>& stack)
    {
        if (module == nullptr || !m_walked.insert(module).second) return;
        ImodelModule* source = module;
        if (module->GetAssociatedFileListConst().empty())
            if (ImodelModule* keyed = ImodelFindModule(module->GetComponentID())) source = keyed;
        m_select.SetCurModule(source);
        auto frame = std::make_unique<Frame>(source, files, cdbOrders);
        for (const IfileObject& file : source->GetAssociatedFileListConst())
            if (Takes(file)) frame->local.Append(file);
        if (m_select.IsRecursive() && module->GetSubBlocks() != nullptr) {
            frame->subBlocks = module->GetSubBlocks();
            frame->at = frame->subBlocks->begin();
        }
        stack.push_back(std::move(frame));
    }

    void Leave(Frame& frame)
    {
        FileValues& localFiles = frame.localFiles;
        if (m_reorder && localFiles.size() > 1) FrontByOrders(localFiles, frame.subOrders);
        std::erase_if(localFiles, [&frame](const IfileObject& file) { return frame.files.Holds(file); });
        if (m_reorder) {
            const FileValues& order = frame.source->GetCDBOrder();
            if (frame.cdbOrders != nullptr) frame.cdbOrders->insert(frame.cdbOrders->end(), order.begin(), order.end());
            std::stable_sort(localFiles.begin(), localFiles.end(), imodelSortFiles(order));
        }
        for (const IfileObject& file : localFiles) frame.files.Append(file);
    }

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

    // A unit's sub-modules first (they come before the modules that use
    // them), then its tool's own files, the packages its file uses and its
    // file. Each unit once; its own stack keeps a deep hierarchy off the
    // call stack.
    void Walk(ImodelModule* module)
    {
        std::vector<Frame> stack;
        Enter(module, stack);
        while (!stack.empty()) {
            Frame& frame = stack.back();
            switch (frame.stage) {
            case Frame::SubModules:
                if (frame.subBlocks != nullptr && frame.at != frame.subBlocks->end()) {
                    ImodelModule* sub = *frame.at++;
                    Enter(sub, stack);
                    break;
                }
                frame.hasToolFile = TakeToolFiles(*frame.module);
                frame.file = frame.module->GetModuleFile();
                if (!frame.file) {
                    stack.pop_back();
                    break;
                }
                // Each package its use clauses reach, walked once per call.
                frame.clauses.assign(frame.file->GetUsedPackages().first, frame.file->GetUsedPackages().second);
                frame.stage = Frame::Packages;
                break;
            case Frame::Packages:
                if (frame.clause < frame.clauses.size()) {
                    std::string clause = frame.clauses[frame.clause++];
                    if (ImodelModule* package = ImodelFindUsedPackage(frame.file, clause, m_packages))
                        Enter(package, stack);
                    break;
                }
                TakeOwnFile(frame);
                stack.pop_back();
                break;
            }
        }
    }

private:
    struct Frame {
        enum Stage {
            SubModules,
            Packages
        };
        explicit Frame(ImodelModule* unit) : module(unit) {}
        ImodelModule* module;
        Stage stage = SubModules;
        const ImodelLinkList* subBlocks = nullptr;
        ImodelLinkList::const_iterator at;
        bool hasToolFile = false;
        Entry file;
        std::vector<std::string> clauses;
        std::size_t clause = 0;
    };

    void Enter(ImodelModule* module, std::vector<Frame>& stack)
    {
        if (module == nullptr || !m_walked.insert(module).second) return;
        if (IsConstraintsEditor() && module->GetComponent() != nullptr &&
            module->GetComponent()->GetModuleType() != VyIfaces::IComponent::HDL)
            return;
        Frame frame(module);
        if (!module->IsPackage() && module->GetSubBlocks() != nullptr) {
            frame.subBlocks = module->GetSubBlocks();
            frame.at = frame.subBlocks->begin();
        }
        stack.push_back(std::move(frame));
    }

    void TakeOwnFile(const Frame& frame)
    {
        const Entry& file = frame.file;
        // A file of the tool's own takes the place of one that serves synthesis alone.
        if (frame.hasToolFile && !file->IsUsedByAllTools() && file->IsUsedForTool(ideSYNTHESIS, "", true)) return;
        if (m_fileType != nullptr && file->GetFileSpecificType() != *m_fileType) return;
        TakeDefiningFile(file);
    }

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

// The HDL files of a unit for a tool. For simulation, the files of each
// unit that the unit names to include follow its own, collected the same
// way; a unit whose files are being collected already adds nothing again.
// The collection keeps its own stack of the units whose included units it
// goes through.
class HdlFilesWalk {
public:
    HdlFilesWalk(ImodelFunctionType tool, FileValues* includedFiles)
        : m_tool(tool), m_includedFiles(includedFiles), m_model(ImodelAliveModel()), m_project(ProjectFiles())
    {
    }

    void Collect(EntryList& files, ImodelModule* module, bool notify)
    {
        if (m_model == nullptr || m_project == nullptr) return;
        std::vector<std::unique_ptr<Frame>> stack;
        Enter(module, files, notify, stack);
        while (!stack.empty()) {
            Frame& frame = *stack.back();
            const std::vector<VyIfaces::ComponentID>& included =
                *std::as_const(*frame.module).GetSimulationModuleToIncludeList();
            if (frame.next < included.size()) {
                ImodelModule* other = ImodelFindModule(included[frame.next++]);
                if (other != nullptr && !m_including.contains(other)) {
                    auto theirs = std::make_unique<Frame>(other, &frame);
                    if (Begin(*theirs, true))
                        stack.push_back(std::move(theirs));
                    else
                        frame.Take(*theirs);
                }
                continue;
            }
            KeepFilesOfTool(frame.list, m_tool);
            AddPackages(frame.list, frame.module, m_tool);
            if (frame.into != nullptr) frame.into->Take(frame);
            stack.pop_back();
        }
    }

private:
    // A unit whose files are being collected: into the caller's list for the
    // unit asked for, into a list of its own for an included unit, whose
    // files then join those of the unit that includes it.
    struct Frame {
        Frame(ImodelModule* module, EntryList& list) : module(module), list(list) {}
        Frame(ImodelModule* module, Frame* into)
            : module(module), own(std::make_unique<Entries>()), ownList(std::in_place, *own), list(*ownList), into(into)
        {
        }
        void Take(const Frame& other)
        {
            for (const Entry& file : *other.own) list.Append(file);
        }

        ImodelModule* module;
        std::unique_ptr<Entries> own;
        std::optional<EntryList> ownList;
        EntryList& list;
        Frame* into = nullptr;
        std::size_t next = 0;
    };

    void Enter(ImodelModule* module, EntryList& files, bool notify, std::vector<std::unique_ptr<Frame>>& stack)
    {
        if (module == nullptr) return;
        auto frame = std::make_unique<Frame>(module, files);
        if (Begin(*frame, notify)) stack.push_back(std::move(frame));
    }

    // The unit's own files; whether its included units and the tool's
    // filter are still to come (not for a customized list, which is all).
    bool Begin(Frame& frame, bool notify)
    {
        ImodelModule& module = *frame.module;
        EntryList& files = frame.list;
        m_including.insert(&module);
        if (TakeCustomizedList(files, module, m_tool, notify)) return false;
        if (m_tool == ideSYNTHESIS) TakeEncryptedFiles(files, module, *m_project);
        std::deque<std::string> packages;
        OriginalFilesWalk(files, packages, m_tool == ideSYNTHESIS ? nullptr : &m_tool, nullptr, m_includedFiles, notify)
            .Walk(&module);
        if (KeepUsedHdlFiles(files, module, m_tool)) TakeHdlOfSchematic(files, module, notify);
        if ((m_tool != ideSIMULATION && m_tool != ideSTIMULUS) || !m_model->IsIncludeForSimulationEnabled())
            frame.next = std::as_const(module).GetSimulationModuleToIncludeList()->size();
        return true;
    }

    ImodelFunctionType m_tool;
    FileValues* m_includedFiles;
    Imodel* m_model;
    IfileManager* m_project;
    Walked m_including;
};

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
        if (const ImodelLinkList* subBlocks = unit->GetSubBlocks())
            pending.insert(pending.end(), subBlocks->rbegin(), subBlocks->rend());
    }
    return false;
}

// Counts the units with a file as a walk along every path would, without
// going along every path. The walk goes through a list, counting each unit
// with a file when it meets it and then walking the unit's sub-blocks; with
// a limit, a list is left as soon as the count reaches it, and the lists
// above go on. So, from a count c:
// - while every unit with a file that the walk may still meet leaves the
//   count below the limit, a unit's sub-blocks add their whole count (the
//   sum over every place below it, worked out once per unit);
// - once the next unit with a file reaches the limit (c >= limit - 1), a
//   list adds the counts of its units without a file up to its first unit
//   with one, which adds 1 and ends the list (worked out once per unit too);
// - in between, the walk goes into the one list where the limit is reached.
// Counts saturate at the largest int.
class FileCounter {
public:
    FileCounter(const ImodelModule& top, int limit) : m_limit(limit), m_all(&top, HasFile)
    {
        const std::vector<const ImodelModule*>& units = m_all.Order().Units();
        m_untilFile.resize(units.size());
        for (std::size_t place = 0; place < units.size(); ++place) {
            std::uint64_t sum = 0;
            if (const ImodelLinkList* subs = units[place]->GetSubBlocks()) {
                for (const ImodelModule* sub : *subs) {
                    const std::size_t at = m_all.Order().PlaceOf(sub);
                    if (at >= place) continue;
                    if (sub->GetModuleFile()) {
                        sum = imodelHierarchyWalk::Add(sum, 1);
                        break;
                    }
                    sum = imodelHierarchyWalk::Add(sum, m_untilFile[at]);
                }
            }
            m_untilFile[place] = sum;
        }
    }

    int Count(const ImodelModule& top) const
    {
        if (m_limit == -1) return Clamped(m_all.Of(&top));
        std::uint64_t count = 0;
        if (top.GetModuleFile() && ++count >= Limit()) return Clamped(count);
        // The lists the walk is in, innermost last.
        std::vector<std::pair<const ImodelModule*, ImodelLinkList::const_iterator>> stack;
        Below(&top, count, stack);
        while (!stack.empty()) {
            auto& [unit, at] = stack.back();
            if (at == unit->GetSubBlocks()->end()) {
                stack.pop_back();
                continue;
            }
            const ImodelModule* sub = *at++;
            if (!m_all.Order().Follows(unit, sub)) continue;
            if (sub->GetModuleFile() && ++count >= Limit()) {
                stack.pop_back();
                continue;
            }
            Below(sub, count, stack);
        }
        return Clamped(count);
    }

private:
    static std::uint64_t HasFile(const ImodelModule& module) { return module.GetModuleFile() ? 1 : 0; }

    // The limit as the count compares with it; below 1 the first unit with
    // a file ends every list.
    std::uint64_t Limit() const { return m_limit < 1 ? 1 : static_cast<std::uint64_t>(m_limit); }

    // Adds the sub-blocks of `unit` to `count`, at once where it can, or
    // opens the list for the walk.
    void Below(const ImodelModule* unit, std::uint64_t& count,
               std::vector<std::pair<const ImodelModule*, ImodelLinkList::const_iterator>>& stack) const
    {
        const ImodelLinkList* subs = unit->GetSubBlocks();
        if (subs == nullptr) return;
        const std::size_t place = m_all.Order().PlaceOf(unit);
        if (count + 1 >= Limit()) {
            count = imodelHierarchyWalk::Add(count, m_untilFile[place]);
            return;
        }
        const std::uint64_t below = m_all.Of(unit) - HasFile(*unit);
        if (imodelHierarchyWalk::Add(count, below) < Limit()) {
            count += below;
            return;
        }
        stack.emplace_back(unit, subs->begin());
    }

    static int Clamped(std::uint64_t count)
    {
        return count > static_cast<std::uint64_t>(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                                                   : static_cast<int>(count);
    }

    int m_limit;
    imodelHierarchyWalk::SizeMap m_all;
    // Per unit: what a walk of its sub-blocks adds once the next unit with a
    // file reaches the limit.
    std::vector<std::uint64_t> m_untilFile;
};

// The names of the units defined by the file, not looking below such a
// unit; each unit looked at once.
void FindTopLevel(const ImodelFileName& file, const ModuleList& modules, std::vector<std::string>& names)
{
    Walked seen;
    // The units whose sub-blocks are to be looked at next, or null.
    const auto look = [&](ImodelModule* module) -> const ImodelLinkList* {
        if (module == nullptr || !seen.insert(module).second) return nullptr;
        if (!module->GetModuleFile() || !(module->GetModuleFullFileName() == file)) return module->GetSubBlocks();
        names.push_back(module->GetName());
        return nullptr;
    };
    std::vector<std::pair<const ImodelLinkList*, ImodelLinkList::const_iterator>> stack;
    for (ImodelModule* top : modules) {
        if (const ImodelLinkList* below = look(top)) stack.emplace_back(below, below->begin());
        while (!stack.empty()) {
            auto& [list, at] = stack.back();
            if (at == list->end()) {
                stack.pop_back();
                continue;
            }
            if (const ImodelLinkList* below = look(*at++)) stack.emplace_back(below, below->begin());
        }
    }
}

}  // namespace

// --- collections ---------------------------------------------------------------------------------

void ImodelGetHdlFileNames(Entries& files, ImodelModule* module, ImodelFunctionType tool, FileValues* includedFiles,
                           bool notify)
{
    EntryList list(files);
    HdlFilesWalk(tool, includedFiles).Collect(list, module, notify);
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
    return FileCounter(*module, limit).Count(*module);
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
    FindTopLevel(file, *modules, *names);
}

void ImodelWarnIfFileModified(const boost::shared_ptr<IfileObjectEx>& file)
{
    Imodel* model = ImodelAliveModel();
    ImodelHost* host = model ? model->GetHost() : nullptr;
    if (host == nullptr || !file) return;
    const ImodelFileName name = file->GetFullFileName();
    if (host->IsFileModifiedInEditor(name)) ImodelDisplayUSING_MODIFIED_FILE_MSG(name.c_str());
}
