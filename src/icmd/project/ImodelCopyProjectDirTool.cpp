#include "src/icmd/project/ImodelCopyProjectDirTool.h"

#include "ifile/IfileManager.h"
#include "ifile/IfileManagerFilterParent.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelFileTypes.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"
#include "imodel/views/ImodelRevisionManager.h"
#include "itool/ItoolVeyrun.h"

#include <foundation/Sys.h>
#include <ktwkspace/Workspace.h>

#include <algorithm>
#include <string_view>

namespace {

// The member files of the views that the view filter keeps: every file
// with all views, the files of no view or of the current one with the
// current view, the files of no view without views.
class FilterImplFiles : public IfileManagerFilterParent {
public:
    explicit FilterImplFiles(IcmdSaveAsImplFilter views) : m_views(views) {}
    bool operator()(boost::shared_ptr<IfileObjectEx> file) const override
    {
        if (!file) return false;
        switch (m_views) {
        case IcmdSaveAsCurrentImpl:
            return file->IsInCurRev();
        case IcmdSaveAsNoImpls:
            return !file->IsRevSpecific();
        default:
            return true;
        }
    }

private:
    IcmdSaveAsImplFilter m_views;
};

// The key of the folder that holds the file or folder of `key`; empty for
// a name without a parent.
std::string ParentKey(const std::string& key)
{
    const std::size_t slash = key.rfind('/');
    if (slash == std::string::npos || slash == 0) return std::string();
    return key.substr(0, slash);
}

}  // namespace

std::string ImodelCopyProjectDirTool::Key(const ImodelFileName& name)
{
    // The copy walks a disk where names differing in letter case are other
    // files: the project file's own name must not take "ALU.prj" beside
    // "alu.prj" for itself, nor a member name a file it does not name.
    std::string key = name.GetString();
    const ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
    const std::string_view token = ImodelProjectToken;
    if (design && !design->GetProjectFolder().empty() && key.starts_with(token))
        key.replace(0, token.size(), design->GetProjectFolder().GetString());
    std::replace(key.begin(), key.end(), '\\', '/');
    // A folder named with a trailing separator is the same folder.
    ImodelSetValidSeparator(key, true);
    return key;
}

bool ImodelCopyProjectDirTool::IsObjectInFolder(const ImodelFileName& object, const ImodelFileName& folder)
{
    const std::string key = Key(folder);
    return !key.empty() && IsInFolder(Key(object), key);
}

bool ImodelCopyProjectDirTool::IsInFolder(const std::string& key, const std::string& folder)
{
    if (folder.empty() || key.size() < folder.size() || key.compare(0, folder.size(), folder) != 0) return false;
    return key.size() == folder.size() || key[folder.size()] == '/' || folder.back() == '/';
}

namespace {

// The real path of `path`, links resolved, also when its last parts do not
// exist yet: the real path of the deepest folder that exists, then the rest.
std::string RealPathOf(const std::string& path)
{
    std::string existing = path;
    std::string rest;
    while (!existing.empty()) {
        const std::string real = SysGetRealPath(existing);
        if (!real.empty()) return real == "/" ? (rest.empty() ? real : rest) : real + rest;
        const std::size_t slash = existing.rfind('/');
        if (slash == std::string::npos) break;
        rest = existing.substr(slash) + rest;
        existing = slash == 0 ? std::string("/") : existing.substr(0, slash);
    }
    return path;
}

}  // namespace

bool ImodelCopyProjectDirTool::IsReallyInFolder(const std::string& path, const std::string& folder)
{
    return !folder.empty() && IsInFolder(RealPathOf(path), RealPathOf(folder));
}

bool ImodelCopyProjectDirTool::InAnyOf(const std::string& key, const std::vector<std::string>& folders)
{
    return std::any_of(folders.begin(), folders.end(),
                       [&key](const std::string& folder) { return IsInFolder(key, folder); });
}

ImodelCopyProjectDirTool::ImodelCopyProjectDirTool(const char* sourceFolder, const char* targetFolder,
                                                   const char* oldProjectFile, const char* newProjectFile,
                                                   IcmdSaveAsFileFilter files, IcmdSaveAsImplFilter views)
    : ImodelCopyDirTool(ImodelFileName(sourceFolder), ImodelFileName(targetFolder), "*"),
      m_oldProjectFile(Key(ImodelFileName(oldProjectFile))), m_newProjectFile(newProjectFile), m_fileFilter(files),
      m_implFilter(views)
{
    Imodel& model = Imodel::GetInstance();
    if (files == IcmdSaveAsProjectFiles || files == IcmdSaveAsSourceFiles) {
        std::vector<IfileManager::Entry> members;
        const FilterImplFiles ofTheViews(views);
        if (IfileManager* manager = model.GetFileManager()) manager->GetFiles(members, 0, &ofTheViews);
        const std::string project = UtlResolveDots(Key(ImodelFileName(sourceFolder)));
        // The core descriptions kept in the project folder itself, or in a
        // folder above it, by their keys.
        std::unordered_set<std::string> looseDescriptions;
        for (const IfileManager::Entry& member : members) {
            if (files == IcmdSaveAsProjectFiles || member->IsPreSynthFileType()) SelectFile(member->GetFullFileName());
            // A core description brings its whole folder, whatever the filter,
            // and the block-design component it defines its own file.
            if (member->GetFileSpecificType() == zorpaFT_OMBRIX_CXF) {
                // Whole, the folder of a description kept beside the project
                // file would be the whole project: such a description brings
                // itself and the files it lists instead.
                if (const std::string folder = UtlResolveDots(Key(member->GetFileLocation()));
                    !project.empty() && IsInFolder(project, folder)) {
                    SelectFile(member->GetFullFileName());
                    looseDescriptions.insert(UtlResolveDots(Key(member->GetFullFileName())));
                } else {
                    AddWholeFolder(member->GetFileLocation());
                }
                if (const VyIfaces::IComponent* component = ItoolVeyrun::FindSingleComponentFromDefFile(*member))
                    if (const std::string own = component->GetIXFFileName(); !own.empty())
                        SelectFile(ImodelFileName(own));
            }
        }
        if (!looseDescriptions.empty()) SelectFilesListedBy(looseDescriptions, members);
        SelectWorkspaceDesigns(sourceFolder);
        SelectProjectFile("kiltora.aws", zorpaFT_GROUP_KILTORA);
        ImodelFileName schematics;
        ImodelGetFullPathForFile(zorpaFT_GROUP_VIEWDRAW, schematics);
        AddWholeFolder(schematics);
    }
    if (files != IcmdSaveAsAllFiles) {
        SelectProjectFile("modelsim.ini", zorpaFT_SIM);
        SelectProjectFile("meminit.dat", zorpaFT_SIM);
        SelectProjectFile("viewdraw.ini", zorpaFT_GROUP_VIEWDRAW);
        SelectProjectFile("project.lst", zorpaFT_GROUP_VIEWDRAW_VF);
    }
    m_palladorRoot = Key(ImodelFileName(std::string(sourceFolder) + SysGetDirChar() + "pallador"));
    SortViewFolders(sourceFolder, targetFolder);
}

void ImodelCopyProjectDirTool::SelectFile(const ImodelFileName& fullName)
{
    // The walk meets "<project>/../alu/hdl/x.vhd" as ".../alu/hdl/x.vhd".
    const std::string key = UtlResolveDots(Key(fullName));
    if (!m_selectedFiles.insert(key).second) return;
    // Every folder above the file is entered by the copy; a folder met
    // before has its parents noted already.
    for (std::string folder = ParentKey(key); !folder.empty() && m_selectedFolders.insert(folder).second;
         folder = ParentKey(folder)) {}
}

void ImodelCopyProjectDirTool::SelectFilesListedBy(const std::unordered_set<std::string>& descriptions,
                                                   const std::vector<IfileManager::Entry>& members)
{
    // The project holds the files a description lists as its children,
    // whatever their kind, as a description's folder goes whole.
    for (const IfileManager::Entry& member : members)
        for (const IfileObjectEx::ParentFile& parent : member->GetParentFileList())
            if (descriptions.count(UtlResolveDots(Key(parent.first.GetFullFileName()))) != 0) {
                SelectFile(member->GetFullFileName());
                break;
            }
}

void ImodelCopyProjectDirTool::SelectWorkspaceDesigns(const std::string& source)
{
    // The block designs of new_file and create_design are no members of
    // the project, yet the copied workspace file lists them: each whose
    // file lies in the project goes with its folder, as a member core
    // description does, or the copy lists designs it does not hold.
    const Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetWorkspace();
    if (!workspace) return;
    const std::string project = Key(ImodelFileName(source));
    const auto inProject = [&project](const std::string& key) {
        return !key.empty() && key.size() > project.size() && IsInFolder(key, project);
    };
    for (const auto& [id, component] : workspace->GetComponentCollection()) {
        if (!component) continue;
        const std::string definition = Key(ImodelFileName(component->GetDefinitionFileName()));
        if (!inProject(definition)) continue;
        // A design kept in the project folder itself brings its own files,
        // not the whole project.
        if (const std::string folder = ParentKey(definition); inProject(folder))
            AddWholeFolder(ImodelFileName(folder));
        else
            SelectFile(ImodelFileName(definition));
        if (const std::string own = Key(ImodelFileName(component->GetIXFFileName())); inProject(own))
            SelectFile(ImodelFileName(own));
    }
}

void ImodelCopyProjectDirTool::SelectProjectFile(const char* name, int kind)
{
    ImodelFileName full;
    ImodelGetFullPathForFile(ImodelFileName(name), kind, full);
    SelectFile(full);
}

void ImodelCopyProjectDirTool::AddWholeFolder(const ImodelFileName& folder)
{
    const std::string key = Key(folder);
    if (!key.empty() && std::find(m_wholeFolders.begin(), m_wholeFolders.end(), key) == m_wholeFolders.end())
        m_wholeFolders.push_back(key);
}

void ImodelCopyProjectDirTool::SortViewFolders(const std::string& source, const std::string& target)
{
    const std::string sourceKey = Key(ImodelFileName(source));
    const std::string targetKey = Key(ImodelFileName(target));
    ImodelRevisionManager* revisions = Imodel::GetInstance().GetRevisionManager();
    if (!revisions) return;
    std::vector<std::string> names;
    revisions->GetRevisionNames(&names);
    for (const std::string& view : names) {
        ImodelFileName folder;
        ImodelGetFullPathForFile(zorpaFT_GROUP_PALLADOR, folder,
                                 ImodelGetFullPathParam(revisions->GetRevisionNumber(view)));
        const std::string key = Key(folder);
        const bool keep = m_implFilter == IcmdSaveAsAllImpls ||
                          (m_implFilter == IcmdSaveAsCurrentImpl && revisions->IsCurrentRevision(view));
        if (keep) {
            m_viewFolders.insert(key);
            if (m_implFilter != IcmdSaveAsAllImpls && key.size() > sourceKey.size() && IsInFolder(key, sourceKey)) {
                const std::string below = key.substr(sourceKey.size());
                m_keptViewCopies.push_back(targetKey + (below.front() == '/' ? "" : "/") + below);
            }
        } else {
            m_excludedFolders.push_back(key);
        }
    }
}

void ImodelCopyProjectDirTool::MakeKeptViewFolders() const
{
    for (const std::string& folder : m_keptViewCopies)
        if (!ImodelValidateOrCreateDirectory(ImodelFileName(folder)))
            ImodelDisplayUNABLE_TO_CREATE_DIR_MSG(folder.c_str());
}

bool ImodelCopyProjectDirTool::NeedToCopyFolder(const ImodelFileName& folder, ImodelFileName& target)
{
    const std::string key = Key(folder);
    if (std::find(m_excludedFolders.begin(), m_excludedFolders.end(), key) != m_excludedFolders.end()) return false;
    const bool candidate = m_fileFilter == IcmdSaveAsAllFiles || m_selectedFolders.count(key) != 0 ||
                           (!m_palladorRoot.empty() && key == m_palladorRoot) || m_viewFolders.count(key) != 0 ||
                           InAnyOf(key, m_wholeFolders) ||
                           std::any_of(m_wholeFolders.begin(), m_wholeFolders.end(),
                                       [&key](const std::string& whole) { return IsInFolder(whole, key); });
    return candidate && ImodelCopyDirTool::NeedToCopyFolder(folder, target);
}

bool ImodelCopyProjectDirTool::NeedToCopyFile(const ImodelFileName& file, ImodelFileName& target, bool& makeReadOnly)
{
    const std::string key = Key(file);
    if (key == m_oldProjectFile) {
        target = m_newProjectFile;
        makeReadOnly = false;
        return true;
    }
    const std::string folder = ParentKey(key);
    if (m_fileFilter != IcmdSaveAsAllFiles && m_selectedFiles.count(key) == 0 && !InAnyOf(folder, m_wholeFolders))
        return false;
    if (InAnyOf(folder, m_excludedFolders)) return false;
    return ImodelCopyDirTool::NeedToCopyFile(file, target, makeReadOnly);
}
