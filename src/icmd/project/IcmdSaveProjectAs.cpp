// save_project_as: the checks, the copy through the host with the copy
// tool, the close of the old project and the open of the copy.
#include "icmd/project/IcmdSaveProjectAs.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/files/IcmdUpdateProjectContent.h"
#include "icmd/project/IcmdCloseProject.h"
#include "icmd/project/IcmdOpenProject.h"
#include "icmd/project/IcmdSaveProject.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFilterParent.h"
#include "ifile/IfileObjectEx.h"
#include "ifile/IfileProjectOpening.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "src/icmd/project/IcmdFolderMade.h"
#include "src/icmd/project/IcmdProjectFileText.h"
#include "src/icmd/project/ImodelCopyProjectDirTool.h"

#include <foundation/AcmdManager.h>
#include <foundation/Sys.h>

#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

ImodelDesignManager& Design() { return *Imodel::GetInstance().GetDesignManager(); }

// The file manager keeps the flag: it is the first to read it.
bool& SkipMessageFlag() { return IfileSkipFileDoesNotExistMessage(); }

// The revision manager keeps the flag: it is the one to read it.
bool& IgnoreImplFlag() { return ImodelIgnoreViewThatDoesNotExist(); }

// Sets the two flags for the open of the copy and clears them again, also
// when the open fails.
class SaveAsFlags {
public:
    SaveAsFlags(bool skipMessages, bool ignoreViews)
    {
        SkipMessageFlag() = skipMessages;
        IgnoreImplFlag() = ignoreViews;
    }
    ~SaveAsFlags()
    {
        SkipMessageFlag() = false;
        IgnoreImplFlag() = false;
    }
    SaveAsFlags(const SaveAsFlags&) = delete;
    SaveAsFlags& operator=(const SaveAsFlags&) = delete;
};

class LinkedFiles : public IfileManagerFilterParent {
public:
    bool operator()(boost::shared_ptr<IfileObjectEx> file) const override { return file && !file->IsLocalFile(); }
};

// The names the files of the open project take in its copy, by the key of
// their name now (IfileNamesInCopy): a file named by its absolute name
// inside the project folder is named in the copy's folder, as the copy
// holds its own file there (or, left out by the filter, none, like the
// members named in the folder); a name in the project folder that climbs
// out of it is named by where it leads, and one that comes back in by the
// old folder's name is named in the copy's. Other names need no change.
std::unordered_map<std::string, std::string> NamesInCopy()
{
    std::unordered_map<std::string, std::string> names;
    IfileManager* manager = Imodel::GetInstance().GetFileManager();
    if (!manager) return names;
    std::vector<IfileManager::Entry> entries;
    manager->GetFiles(entries, 0, nullptr);
    const std::string_view token = ImodelProjectToken;
    for (const IfileManager::Entry& entry : entries) {
        if (!entry) continue;
        const std::string& stored = entry->GetInternalFileName().GetString();
        const std::string full = UtlResolveDots(entry->GetFullFileName().GetString());
        ImodelFileName relative;
        const bool inside =
            ImodelGetRelativeFileName(ImodelFileName(full), relative, true, entry->GetFileSpecificType());
        const bool named = stored.starts_with(token);
        // "<project>/../alu/hdl/x.vhd" comes back in through the old folder's name.
        const bool climbs = named && stored.find("..") != std::string::npos;
        if (inside && (!named || climbs))
            names[IfileNamesInCopy::Key(stored)] = std::string(token) + SysGetDirChar() + relative.GetString();
        else if (!inside && named)
            names[IfileNamesInCopy::Key(stored)] = full;
    }
    return names;
}

}  // namespace

IcmdSaveProjectAs::IcmdSaveProjectAs()
    : IcmdBase(false), location("location", this, AcmdValueType::Single(), true, "project location", std::string()),
      name("name", this, AcmdValueType::Single(), true, "project name", std::string(), true),
      replace_links("replace_links", this, AcmdValueType::Single(), false, false, "replace_links"),
      files("files", this, AcmdValueType::Single(), false, IcmdSaveAsAllFiles, false, "files"),
      pallador_views("pallador_views", this, AcmdValueType::Single(), false, IcmdSaveAsAllImpls, false,
                     "pallador views")
{
    location.SetMayNotExist(true);
    files.AddChoice(IcmdSaveAsAllFiles, "all", "");
    files.AddChoice(IcmdSaveAsProjectFiles, "project", "");
    files.AddChoice(IcmdSaveAsSourceFiles, "sources", "");
    files.AddChoice(IcmdSaveAsNoFiles, "none", "");
    pallador_views.AddChoice(IcmdSaveAsAllImpls, "all", "");
    pallador_views.AddChoice(IcmdSaveAsCurrentImpl, "current", "");
    pallador_views.AddChoice(IcmdSaveAsNoImpls, "none", "");
}

IcmdSaveProjectAs::~IcmdSaveProjectAs() = default;

void IcmdSaveProjectAs::SetParams(const std::string& folder, const std::string& projectName, bool replaceLinks)
{
    location.SetObject(folder);
    name.SetObject(projectName);
    replace_links.SetObject(replaceLinks);
}

void IcmdSaveProjectAs::GetFileFilterChoices(std::vector<std::pair<IcmdSaveAsFileFilter, std::string>>& out) const
{
    out.emplace_back(IcmdSaveAsAllFiles, "All");
    out.emplace_back(IcmdSaveAsProjectFiles, "Project files only");
    out.emplace_back(IcmdSaveAsSourceFiles, "Source files only");
    out.emplace_back(IcmdSaveAsNoFiles, "None (empty project)");
}

void IcmdSaveProjectAs::GetImplFilterChoices(std::vector<std::pair<IcmdSaveAsImplFilter, std::string>>& out) const
{
    const ImodelRevisionManager* revisions = Imodel::GetInstance().GetRevisionManager();
    out.emplace_back(IcmdSaveAsAllImpls, "All");
    out.emplace_back(IcmdSaveAsCurrentImpl,
                     "Current view only (" + (revisions ? revisions->GetCurrentRevisionName() : std::string()) + ")");
    out.emplace_back(IcmdSaveAsNoImpls, "None");
}

bool IcmdSaveProjectAs::SkipFileDoesNotExistMessage() { return SkipMessageFlag(); }

bool IcmdSaveProjectAs::IgnoreImplThatDoesNotExist() { return IgnoreImplFlag(); }

std::string IcmdSaveProjectAs::TargetFolder() const
{
    return AcmdGetFullPath(location.GetObject(), AcmdManager::GetInstance().GetCurrentFolder());
}

AcmdEnum::Result IcmdSaveProjectAs::checkParams()
{
    const AcmdEnum::Result result = IcmdBase::checkParams();
    const std::string target = TargetFolder();
    if (UtlDoesDiskObjectExist(target)) {
        ImodelDisplayFOLDER_ALREADY_EXIST_MSG(target.c_str());
        return AcmdEnum::Failure;
    }
    const std::string projectName = name.GetObject();
    if (!IcmdIsValidProjectName(projectName)) {
        ImodelDisplayINVALID_PROJECT_NAME_MSG(projectName.c_str());
        return AcmdEnum::Failure;
    }
    if (!IcmdIsValidProjectLocation(target)) {
        ImodelDisplayINVALID_PROJECT_LOCATION_MSG(target.c_str());
        return AcmdEnum::Failure;
    }
    // A copy inside the project would be copied into itself.
    const std::string project = Design().GetProjectFolder().GetString();
    if (ImodelCopyProjectDirTool::IsReallyInFolder(target, project)) {
        ImodelDisplaySAVE_AS_INSIDE_PROJECT_MSG(target.c_str(), project.c_str());
        return AcmdEnum::Failure;
    }
    return result;
}

AcmdEnum::Result IcmdSaveProjectAs::execDo()
{
    Imodel& model = Imodel::GetInstance();
    const std::string target = TargetFolder();
    ImodelHost* host = model.GetHost();
    if (!host) {
        ImodelDisplaySAVE_AS_NO_COPY_MSG(target.c_str());
        return AcmdEnum::Failure;
    }
    ImodelDesignManager& design = Design();
    const std::string projectFolder = design.GetProjectFolder().GetString();
    const std::string oldProjectFile = design.GetProjectFileName().GetString();
    const std::string newProjectFile = target + SysGetDirChar() + name.GetObject() + ".prj";
    const IcmdSaveAsFileFilter fileFilter = files.GetObject();
    const IcmdSaveAsImplFilter implFilter = pallador_views.GetObject();
    // The tool takes its lists from the project while it is still open.
    ImodelCopyProjectDirTool tool(projectFolder.c_str(), target.c_str(), oldProjectFile.c_str(), newProjectFile.c_str(),
                                  fileFilter, implFilter);
    std::unordered_map<std::string, std::string> names = NamesInCopy();
    const bool renamed = !names.empty();
    const IcmdFolderMade made(target);
    if (!IcmdDoCloseProject(false, false)) return AcmdEnum::Failure;
    if (!host->CopyFolder(tool, true)) {
        // A half copy is of no use, and its folder would refuse the next try.
        made.Remove();
        IcmdDoOpenProject(oldProjectFile.c_str(), false, false);
        return AcmdEnum::Failure;
    }
    tool.MakeKeptViewFolders();
    bool opened = false;
    {
        const SaveAsFlags flags(fileFilter != IcmdSaveAsAllFiles || implFilter != IcmdSaveAsAllImpls,
                                implFilter != IcmdSaveAsAllImpls);
        const IfileNamesInCopy inCopy(std::move(names));
        opened = IcmdDoOpenProject(newProjectFile.c_str(), false, fileFilter == IcmdSaveAsNoFiles);
    }
    // The copied project file still gives the old names: written again, the
    // copy opens later as it opened now. A write that fails said why.
    const bool written = !opened || !renamed || IcmdDoSaveProject(false, nullptr);
    if (opened && replace_links.GetObject()) {
        // Each link becomes a copy in the new project; one that could not be
        // copied said why and stays a link, and the user hears how many did.
        IcmdDoUnlinkAll(false);
        std::vector<IfileManager::Entry> links;
        const LinkedFiles linked;
        model.GetFileManager()->GetFiles(links, 0, &linked);
        if (!links.empty()) ImodelDisplaySAVE_AS_LINKS_NOT_REPLACED_MSG(static_cast<int>(links.size()));
    }
    ImodelDisplayCLOSE_TOOL_QRY(nullptr, MdbOK);
    return opened && written ? AcmdEnum::Success : AcmdEnum::Failure;
}

bool IcmdDoSaveProjectAs(bool keep, const std::string& location, const std::string& name, bool replaceLinks,
                         IcmdSaveAsFileFilter files, IcmdSaveAsImplFilter views)
{
    auto command = std::make_unique<IcmdSaveProjectAs>();
    command->SetParams(location, name, replaceLinks);
    command->SetFilesFilter(files);
    command->SetPalladorImplFilter(views);
    return IcmdDoCommand(std::move(command), keep);
}
