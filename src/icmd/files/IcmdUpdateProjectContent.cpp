// Changes to many project files at once: the project update after changes
// on disk and the whole-project forms of the link commands.
#include "icmd/files/IcmdUpdateProjectContent.h"

#include "icmd/files/IcmdAddFileToModel.h"
#include "icmd/files/IcmdCopyLocally.h"
#include "icmd/files/IcmdDeleteFilesFromModel.h"
#include "icmd/files/IcmdImportFiles.h"
#include "icmd/files/IcmdRemoveFilesFromProject.h"
#include "icmd/files/IcmdRetargetLink.h"
#include "icmd/files/IcmdUseSourceFile.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelSetAndRestoreModelFlagObject.h"
#include "imodel/names/imodelUtl.h"
#include "iprocess/QuorlaneStateMachine.h"
#include "itool/ItoolCoreTools.h"
#include "itool/QuorlaneCoreToolManager.h"

#include <foundation/Sys.h>
#include <zorpa/ZorpaModule.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <unordered_set>

namespace {

using Entry = boost::shared_ptr<IfileObjectEx>;

// A path with "/" between its components and none at its end (the root
// keeps its one).
std::string UniformFolder(std::string path)
{
    UtlSetUniversalValidSeparator(path);
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// The core files (of an active core tool) whose cores the source belongs
// to, up its chain of parents to each core file that has none: an open
// reads those sources through them. Empty for a source of no core.
std::vector<Entry> CoreFilesOf(IfileManager& files, const IfileObjectEx& source)
{
    std::vector<Entry> cores;
    if (!source.IsASourceFile() || !source.HasParentFile()) return cores;
    Imodel& model = Imodel::GetInstance();
    std::unordered_set<const IfileObjectEx*> visited;
    std::vector<Entry> pending;
    const auto parentsOf = [&](const IfileObjectEx& file) {
        for (const IfileObjectEx::ParentFile& parent : file.GetParentFileList())
            if (const Entry entry = files.GetFile(parent.first); entry && visited.insert(entry.get()).second)
                pending.push_back(entry);
    };
    parentsOf(source);
    while (!pending.empty()) {
        const Entry file = pending.back();
        pending.pop_back();
        if (file->HasParentFile()) {
            parentsOf(*file);
        } else if (ItoolIsMainCoreFile(file.get()) && ItoolGetActiveCoreTool(file->GetFileSpecificType(), model)) {
            cores.push_back(file);
        }
    }
    return cores;
}

}  // namespace

std::vector<std::pair<std::string, IfileObject>> IcmdCollectUsedDefinitions(IfileManager& files)
{
    std::vector<std::pair<std::string, IfileObject>> chosen;
    const IfileManager::ErrorGroupRange groups = files.GetErrorFileGroups();
    for (auto group = groups.first; group != groups.second; ++group) {
        if (!group->second) continue;
        for (const IfileErrorFile& member : *group->second)
            if (const Entry file = member.file.lock(); file && file->GetErrorFileType() == ImodelNoError)
                chosen.emplace_back(group->first, *file);
    }
    return chosen;
}

void IcmdUpdateProjectContent(const std::vector<Entry>& removed, const std::vector<Entry>& added,
                              const zorpaSaveRestoreParams& params)
{
    if (removed.empty() && added.empty()) return;
    Imodel& model = Imodel::GetInstance();
    // What each file would do to the whole design is done once for all, as
    // import_files does: one save of the libraries around every file (each
    // add_file and removal inside then only counts), the root set once
    // after the last one (the hierarchy display is blocked meanwhile), and
    // the flow told of every file in one message.
    ImodelDesignManager& design = *model.GetDesignManager();
    const VyIfaces::ComponentID root = design.GetRootId();
    // A core removed to be added anew brings its files back: what the units
    // gave them stays (see below for those that do not come back).
    std::unordered_set<const IfileObjectEx*> coresAdded;
    for (const Entry& file : added)
        if (file && ItoolIsMainCoreFile(file.get())) coresAdded.insert(file.get());
    std::optional<IcmdKeepLeavingFilesInUnitLists> keepCoreFiles;
    if (!coresAdded.empty() && std::any_of(removed.begin(), removed.end(), [&coresAdded](const Entry& file) {
            return coresAdded.contains(file.get());
        }))
        keepCoreFiles.emplace();
    model.SaveLibraries();
    const bool hierarchyWasBlocked = Imodel::BlockDesignHierarchyDisplay(true, true);
    const bool wasReading = Imodel::GetIsReadingProject();
    std::vector<std::pair<std::string, IfileObject>> chosen;
    if (!removed.empty()) {
        chosen = IcmdCollectUsedDefinitions(*model.GetFileManager());
        IcmdDoRemoveFiles(false, removed, false, false, false);
    }
    const auto add = [&model](const Entry& file) {
        if (model.IsDebugMsg()) SysDebugPrintf("TIMER: Found new file %s\n", file->GetFileTitleAndExt().c_str());
        return IcmdDoAddFileToModel(*file, true, true, false, nullptr, nullptr, true, nullptr, true, false, nullptr);
    };
    // A core's main file goes to its core tool, which a project being read
    // would pass by: it is added as it comes.
    std::deque<IfileObject> changed;
    for (const Entry& file : added)
        if (file && coresAdded.contains(file.get())) add(file);
    // A source of a core that is not taken whole again is read again with
    // its core, through the core file, as an open reads it: parsed alone it
    // would lose what the core gives its units (the unit the core stands
    // for, the core's component). Each core is read once.
    IfileManager& files = *model.GetFileManager();
    std::vector<Entry> coresToRead;
    std::unordered_set<const IfileObjectEx*> coreSources;
    std::unordered_set<const IfileObjectEx*> coresSeen;
    for (const Entry& file : added) {
        if (!file || ItoolIsMainCoreFile(file.get())) continue;
        const std::vector<Entry> cores = CoreFilesOf(files, *file);
        if (cores.empty()) continue;
        if (std::any_of(cores.begin(), cores.end(), [&](const Entry& core) { return coresAdded.contains(core.get()); }))
            continue;
        coreSources.insert(file.get());
        for (const Entry& core : cores)
            if (coresSeen.insert(core.get()).second) coresToRead.push_back(core);
    }
    {
        const ImodelSetAndRestoreModelFlagObject reading(Imodel::GetIsReadingProject(), true);
        for (const Entry& file : added) {
            if (!file || ItoolIsMainCoreFile(file.get())) continue;
            if (coreSources.count(file.get())) {
                if (const Entry entry = files.GetFile(*file)) changed.push_back(*entry);
                continue;
            }
            if (const Entry entry = add(file)) changed.push_back(*entry);
        }
    }
    for (const auto& [module, file] : chosen) IcmdDoUseDefinition(false, file, module, false, false);
    model.RestoreLibraries(true, params);
    // After the restore, which would give the units the core's read makes
    // the data of the units they replace: the core carries that over
    // itself, with what it gives them.
    for (const Entry& core : coresToRead)
        if (QuorlaneCoreToolManager* tool = ItoolGetActiveCoreTool(core->GetFileSpecificType(), model))
            tool->ReadCoreAgain(*core);
    // The files of a core that its new description no longer lists leave
    // the units' lists now.
    keepCoreFiles.reset();
    Imodel::BlockDesignHierarchyDisplay(hierarchyWasBlocked, true);
    if (!changed.empty() && !wasReading)
        model.GetStateMachine()->FilesModificationMessage(QuorlaneFilesChanged, changed);
    // The restore sets a root it kept again; a root that went, or none, is
    // chosen here.
    const bool rootKept = !root.IsDefault() && design.GetRootId() == root && design.GetRootModule() != nullptr;
    if (!hierarchyWasBlocked) IcmdUpdateDesignHierarchy(model, changed, !rootKept);
}

void IcmdDoRemoveUnusedFile(ImodelFunctionType tool, const char* profile, const std::deque<ImodelModule*>* modules,
                            const std::deque<IfileObjectEx>&)
{
    if (!modules) return;
    const std::string profileText = profile ? profile : "";
    // Depth first, each unit's sub-blocks before its own file; a unit met
    // again (a cyclic design) is not walked twice.
    std::vector<Entry> collected;
    std::unordered_set<const IfileObjectEx*> inCollection;
    std::unordered_set<const ImodelModule*> visited;
    struct Step {
        ImodelModule* module;
        bool childrenDone;
    };
    std::vector<Step> stack;
    for (auto at = modules->rbegin(); at != modules->rend(); ++at) stack.push_back({*at, false});
    while (!stack.empty()) {
        const Step step = stack.back();
        stack.pop_back();
        if (!step.module) continue;
        if (!step.childrenDone) {
            if (!visited.insert(step.module).second) continue;
            stack.push_back({step.module, true});
            if (const ImodelLinkList* children = step.module->GetSubBlocks())
                for (auto child = children->rbegin(); child != children->rend(); ++child)
                    if (!visited.count(*child)) stack.push_back({*child, false});
            continue;
        }
        const Entry file = step.module->GetModuleFile();
        if (file && !file->IsUsedForTool(tool, profileText, true) && inCollection.insert(file.get()).second)
            collected.push_back(file);
    }
    for (const Entry& file : collected) IcmdDoDeleteFileFromModel(file, false, true, false, nullptr);
}

bool IcmdDoRetargetAll(const std::string& from, const std::string& to, bool keep)
{
    const std::string oldFolder = UniformFolder(from);
    const std::string newFolder = UniformFolder(to);
    std::vector<Entry> files;
    Imodel::GetInstance().GetFileManager()->GetFiles(files, 0, nullptr);
    bool all = true;
    for (const Entry& file : files) {
        if (!file || file->IsLocalFile()) continue;
        std::string name = file->GetFullFileName().GetString();
        UtlSetUniversalValidSeparator(name);
        // The old folder as whole components: "/lib" holds "/lib/a.vhd",
        // not "/library/a.vhd".
        if (oldFolder.empty() || name.size() <= oldFolder.size() ||
            !ImodelIsSameStrNoCase(name.substr(0, oldFolder.size()), oldFolder) ||
            (oldFolder.back() != '/' && name[oldFolder.size()] != '/'))
            continue;
        std::string rest = name.substr(oldFolder.size());
        if (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
        const std::string target = newFolder + (!newFolder.empty() && newFolder.back() == '/' ? "" : "/") + rest;
        if (!IcmdDoRetarget(file, target, keep)) all = false;
    }
    return all;
}

bool IcmdDoUnlinkAll(bool keep)
{
    std::vector<Entry> files;
    Imodel::GetInstance().GetFileManager()->GetFiles(files, 0, nullptr);
    bool all = true;
    for (const Entry& file : files) {
        if (!file || file->IsLocalFile()) continue;
        IfileObject local = IcmdImportFiles::GetLocalFile(*file);
        if (UtlDoesFileExist(local.GetFullFileName().GetString()))
            local = IcmdCopyLocally::GetDefaultLocalFile(*file, true);
        if (!IcmdDoUnlink(file, local.GetFileTitleAndExt(), keep)) all = false;
    }
    return all;
}
