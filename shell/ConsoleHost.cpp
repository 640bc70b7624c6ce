#include "ConsoleHost.h"

#include "ConsoleIpMgrCallback.h"
#include "ievent/IeventClasses.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelCopyDirTool.h"
#include "imodel/names/ImodelMessages.h"

#include <foundation/Sys.h>

#include <boost/make_shared.hpp>

#include <string>
#include <type_traits>
#include <vector>

namespace {

// Copies the files and sub-folders of the tool's source folder to where the
// tool says, the sub-folders one level at a time. `root`, the qualified
// target of the whole copy, is never entered: a copy into a folder below
// its source does not copy itself again and again.
bool CopyFolderLevel(ImodelCopyDirTool& tool, const std::string& root)
{
    const std::string source = tool.GetSourceFolder().GetString();
    const std::string target = tool.GetTargetFolder().GetString();
    const std::string filter = tool.GetFilter().empty() ? "*" : tool.GetFilter();
    std::vector<std::string> names;
    if (!SysListFolder(source, names)) {
        ImodelDisplayUNABLE_TO_COPY_MSG(source.c_str(), target.c_str());
        return false;
    }
    if (!UtlValidateOrCreateFolder(target)) {
        ImodelDisplayUNABLE_TO_CREATE_DIR_MSG(target.c_str());
        return false;
    }
    for (const std::string& name : names) {
        const std::string path = source + SysGetDirChar() + name;
        SysStatInfo info;
        if (SysPathStat(path, &info) != 0) continue;  // a link to nothing: nothing to copy
        if (SysIsDirectory(info)) {
            ImodelFileName folderTarget;
            if (SysGetQualifiedPath(path) == root || !tool.NeedToCopyFolder(path, folderTarget)) continue;
            tool.ChangeFoldersForRecurseCall(path, folderTarget);
            const bool copied = CopyFolderLevel(tool, root);
            tool.ChangeFoldersForRecurseCall(source, target);
            if (!copied) return false;
        } else if (WcmMatch(filter.c_str(), name.c_str())) {
            ImodelFileName fileTarget;
            bool readOnly = false;
            if (!tool.NeedToCopyFile(path, fileTarget, readOnly)) continue;
            if (SysCopy(path, fileTarget) != 0 || (readOnly && SysSetReadOnlyAttr(fileTarget, true) != 0)) {
                ImodelDisplayUNABLE_TO_COPY_MSG(path.c_str(), fileTarget.c_str());
                return false;
            }
        }
    }
    return true;
}

}  // namespace

ConsoleHost::ConsoleHost() : m_ipCallback(boost::make_shared<ConsoleIpMgrCallback>()) {}

ConsoleHost::~ConsoleHost()
{
    Imodel& model = Imodel::GetInstance();
    if (Imodel::IsAlive(&model) && model.GetHost() == this) model.SetHost(nullptr);
}

ConsoleHost& ConsoleHost::GetInstance()
{
    static ConsoleHost host;
    return host;
}

boost::shared_ptr<IIpMgrCallback> ConsoleHost::GetIpMgrCallback() { return m_ipCallback; }

// Copies the tool's source folder to its target, asking the tool about each
// folder before entering it and about each file the filter lets through.
// The first folder or file that cannot be read, made or copied is reported
// and ends the copy with false.
bool ConsoleHost::CopyFolder(ImodelCopyDirTool& tool, bool)
{
    return CopyFolderLevel(tool, SysGetQualifiedPath(tool.GetTargetFolder()));
}

// Folder listings fill project-file values, which come with the
// project-files work; until then nothing is listed.
namespace {

// The entries of a folder whose names match the pattern's last component
// (wildcards, case ignored), in name order: files, and folders when asked.
template <class File>
void ListMatching(const ImodelFileName& pattern, zorpaFileManagerTypes type, std::deque<File>& files,
                  std::vector<std::string>* names, bool includeFolders)
{
    std::string text = pattern.GetString();
    UtlSetValidSeparator(text);
    const std::size_t slash = text.rfind(SysGetDirChar());
    const std::string folder = slash == std::string::npos ? std::string(".") : text.substr(0, slash);
    const std::string wildcard = slash == std::string::npos ? text : text.substr(slash + 1);
    std::vector<std::string> entries;
    if (!SysListFolder(folder.empty() ? std::string(1, SysGetDirChar()) : folder, entries)) return;
    for (const std::string& name : entries) {
        if (!WcmMatch(wildcard.c_str(), name.c_str())) continue;
        const std::string path = folder + SysGetDirChar() + name;
        SysStatInfo info;
        if (SysPathStat(path, &info) != 0) continue;
        if (SysIsDirectory(info) && !includeFolders) continue;
        IfileObject file(path, type, ImodelFMFull, true, true);
        if constexpr (std::is_same_v<File, IfileObject>) {
            files.push_back(std::move(file));
        } else {
            files.push_back(IfileObjectEx(file, false));
        }
        if (names) names->push_back(name);
    }
}

}  // namespace

void ConsoleHost::ListFolder(const ImodelFileName& pattern, int, zorpaFileManagerTypes type,
                             std::deque<IfileObject>& files, std::vector<std::string>* names, bool includeFolders)
{
    ListMatching(pattern, type, files, names, includeFolders);
}

void ConsoleHost::ListFolder(const ImodelFileName& pattern, int, zorpaFileManagerTypes type,
                             std::deque<IfileObjectEx>& files, std::vector<std::string>* names, bool includeFolders)
{
    ListMatching(pattern, type, files, names, includeFolders);
}

// The shell keeps no tool profiles: no profile is current.
void ConsoleHost::GetToolProfileName(std::string& name, ImodelFunctionType, const std::string&) { name.clear(); }

void ConsoleHost::GetToolProfileOption(std::string& text, ImodelFunctionType, const std::string&) { text.clear(); }

// A terminal has no event loop to defer to: the views hear of the batch now.
void ConsoleHost::DispatchEvents(const IeventBatch& events)
{
    Imodel& model = Imodel::GetInstance();
    if (Imodel::IsAlive(&model)) model.SendEvents(events, false);
}

// LaunchesProcesses is false: the library starts programs itself and never
// asks this host to.
bool ConsoleHost::LaunchProcess(const std::string&, const std::string&, bool, std::string*) { return false; }

// The scan of the watched folders comes with the file-detection work; until
// then there is nothing to hand back to the watcher.
void ConsoleHost::ScanFiles(bool, ItimerManager*) {}

// Nobody is asked at a terminal: the parameter keeps its value.
bool ConsoleHost::ChooseParamValue(AcmdParam*, const std::string&) { return false; }

// The conversion of projects written by older versions comes with the
// conversion work of open_project; until then this host cannot convert, and
// an open that needs a conversion fails.
void ConsoleHost::PrepareConversion(IcmdReadWriteProject*, std::vector<IThreadCommand*>&, bool& hostHandlesPackages)
{
    hostHandlesPackages = false;
}

bool ConsoleHost::ConvertProject(std::vector<IThreadCommand*>&, std::vector<Iconvert*>&, bool) { return false; }

// The question is asked only when no script runs, and the shell always runs
// one; should it be asked, the open stops.
bool ConsoleHost::AskConvertProject(IcmdOpenProject*) { return false; }

// Queued add-file commands come with the add-file work, which makes the
// first of them; none can reach this host before.
void ConsoleHost::QueueCommand(IcmdAddFileToModel*) {}

void ConsoleHost::ProjectClosedView::UpdateView(const IeventProjectClosed&)
{
    m_host.m_profiles.Clear();
    m_host.m_openedFiles.clear();
}
