// The description of a folder copy. The host performs the copy
// (ImodelHost::CopyFolder) and asks this object, at each folder and file,
// where it goes and whether the copy is made read-only.
#pragma once

#include "imodel/names/ImodelFileName.h"

#include <string>
#include <vector>

class ImodelCopyDirTool {
public:
    ImodelCopyDirTool(const ImodelFileName& sourceFolder, const ImodelFileName& targetFolder,
                      const std::string& filter);
    virtual ~ImodelCopyDirTool() = default;

    // Replaces both folders, for the copy of a sub-folder.
    virtual void ChangeFoldersForRecurseCall(const ImodelFileName& sourceFolder, const ImodelFileName& targetFolder);
    virtual const std::string& GetFilter() const;
    virtual const ImodelFileName& GetSourceFolder() const;
    virtual const ImodelFileName& GetTargetFolder() const;
    // A sub-folder goes to the target folder under its own last name; always true.
    virtual bool NeedToCopyFolder(const ImodelFileName& folder, ImodelFileName& target);
    // A file (its full name) goes to the target folder under its own name;
    // always true. `makeReadOnly` is set while copies are made read-only,
    // unless the file's extension is one of the exempt ones.
    virtual bool NeedToCopyFile(const ImodelFileName& file, ImodelFileName& target, bool& makeReadOnly);
    // Makes later copies read-only (or not); `exemptExtensions`, when given,
    // replaces the extensions (without the dot, case ignored) whose files
    // stay writable.
    virtual void MakeCopiedFilesReadOnly(bool readOnly, std::vector<ImodelFileName>* exemptExtensions);

private:
    bool IsExempt(const std::string& extension) const;

    ImodelFileName m_sourceFolder;
    ImodelFileName m_targetFolder;
    std::string m_filter;
    bool m_readOnly = false;
    std::vector<ImodelFileName> m_exemptExtensions;
};
