// The folder-copy description that the host's folder copy consults.
#include "imodel/names/ImodelCopyDirTool.h"

#include "imodel/names/imodelUtl.h"

#include <algorithm>

namespace {

// The last name component of a path; trailing separators are not part of it.
std::string LastName(std::string path)
{
    ImodelSetValidSeparator(path, true);
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The text after the last "." of a file's name; empty without one, or when
// the only dot starts the name.
std::string ExtensionOf(const std::string& title)
{
    const std::size_t dot = title.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? std::string() : title.substr(dot + 1);
}

std::string WithoutLeadingDot(const std::string& extension)
{
    return !extension.empty() && extension.front() == '.' ? extension.substr(1) : extension;
}

ImodelFileName InFolder(const ImodelFileName& folder, const std::string& name)
{
    std::string path = folder.GetString();
    ImodelSetValidSeparator(path, true);
    if (!path.empty() && path.back() != '/') path += '/';
    return ImodelFileName(path + name);
}

}  // namespace

ImodelCopyDirTool::ImodelCopyDirTool(const ImodelFileName& sourceFolder, const ImodelFileName& targetFolder,
                                     const std::string& filter)
    : m_sourceFolder(sourceFolder), m_targetFolder(targetFolder), m_filter(filter)
{
}

void ImodelCopyDirTool::ChangeFoldersForRecurseCall(const ImodelFileName& sourceFolder,
                                                    const ImodelFileName& targetFolder)
{
    m_sourceFolder = sourceFolder;
    m_targetFolder = targetFolder;
}

const std::string& ImodelCopyDirTool::GetFilter() const { return m_filter; }

const ImodelFileName& ImodelCopyDirTool::GetSourceFolder() const { return m_sourceFolder; }

const ImodelFileName& ImodelCopyDirTool::GetTargetFolder() const { return m_targetFolder; }

bool ImodelCopyDirTool::NeedToCopyFolder(const ImodelFileName& folder, ImodelFileName& target)
{
    target = InFolder(m_targetFolder, LastName(folder.GetString()));
    return true;
}

bool ImodelCopyDirTool::NeedToCopyFile(const ImodelFileName& file, ImodelFileName& target, bool& makeReadOnly)
{
    const std::string title = LastName(file.GetString());
    target = InFolder(m_targetFolder, title);
    const std::string extension = ExtensionOf(title);
    makeReadOnly = m_readOnly && (extension.empty() || !IsExempt(extension));
    return true;
}

void ImodelCopyDirTool::MakeCopiedFilesReadOnly(bool readOnly, std::vector<ImodelFileName>* exemptExtensions)
{
    m_readOnly = readOnly;
    if (exemptExtensions) m_exemptExtensions = *exemptExtensions;
}

bool ImodelCopyDirTool::IsExempt(const std::string& extension) const
{
    return std::any_of(m_exemptExtensions.begin(), m_exemptExtensions.end(), [&](const ImodelFileName& exempt) {
        return ImodelIsSameStrNoCase(WithoutLeadingDot(exempt.GetString()), extension);
    });
}
