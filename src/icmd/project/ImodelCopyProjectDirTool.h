// The copy tool of save_project_as: the host walks the project folder and
// asks it, folder by folder and file by file, whether and where to copy.
// The project file goes under its new name; the file filter keeps the
// chosen member files (with the core generator's and the schematic editor's
// folders whole, and the folder of each core description unless it holds
// the project folder: a description there brings the files it lists) and
// the outside tools' set-up files; the view filter keeps the chosen
// place-and-route view folders and excludes the others.
//
// Folders compare by path components, letter case and separators aside: a
// folder "impl1" holds nothing of a folder "impl10".
#pragma once

#include "icmd/project/IcmdSaveProjectAs.h"
#include "ifile/IfileManager.h"
#include "imodel/names/ImodelCopyDirTool.h"
#include "imodel/names/ImodelFileName.h"

#include <string>
#include <unordered_set>
#include <vector>

class ImodelCopyProjectDirTool : public ImodelCopyDirTool {
public:
    ImodelCopyProjectDirTool(const char* sourceFolder, const char* targetFolder, const char* oldProjectFile,
                             const char* newProjectFile, IcmdSaveAsFileFilter files, IcmdSaveAsImplFilter views);

    bool NeedToCopyFolder(const ImodelFileName& folder, ImodelFileName& target) override;
    bool NeedToCopyFile(const ImodelFileName& file, ImodelFileName& target, bool& makeReadOnly) override;

    // Makes in the copy the folder of every view the view filter keeps that
    // the project lacks (its results cleaned away, say): the copy opens
    // with the views that have a folder. A folder that cannot be made is
    // reported.
    void MakeKeptViewFolders() const;

    // Whether `object` is `folder` or lies below it.
    static bool IsObjectInFolder(const ImodelFileName& object, const ImodelFileName& folder);
    // Whether the name `key` is `folder` or lies below it (names spelled
    // alike; a folder may end in a separator).
    static bool IsInFolder(const std::string& key, const std::string& folder);
    // The same for where the two really lie, symbolic links in either path
    // followed; `path` need not exist yet.
    static bool IsReallyInFolder(const std::string& path, const std::string& folder);

private:
    // The full name as spelled, with "/" for separators and without
    // trailing ones: equal for the same file or folder.
    static std::string Key(const ImodelFileName& name);
    void SelectFile(const ImodelFileName& fullName);
    void SelectProjectFile(const char* name, int kind);
    // The member files that a core description of `descriptions` (keys)
    // lists, out of `members`.
    void SelectFilesListedBy(const std::unordered_set<std::string>& descriptions,
                             const std::vector<IfileManager::Entry>& members);
    // The core workspace's designs kept in the project folder `source`.
    void SelectWorkspaceDesigns(const std::string& source);
    void AddWholeFolder(const ImodelFileName& folder);
    void SortViewFolders(const std::string& source, const std::string& target);
    // Whether the key of a folder equals or lies below a folder of the list.
    static bool InAnyOf(const std::string& key, const std::vector<std::string>& folders);

    std::string m_oldProjectFile;  // its key
    ImodelFileName m_newProjectFile;
    IcmdSaveAsFileFilter m_fileFilter;
    IcmdSaveAsImplFilter m_implFilter;
    std::unordered_set<std::string> m_selectedFiles;
    // Every folder that holds a selected file, at any depth.
    std::unordered_set<std::string> m_selectedFolders;
    std::vector<std::string> m_wholeFolders;
    std::vector<std::string> m_excludedFolders;
    std::unordered_set<std::string> m_viewFolders;
    // The folders in the copy of the views kept when only some are.
    std::vector<std::string> m_keptViewCopies;
    std::string m_palladorRoot;
};
