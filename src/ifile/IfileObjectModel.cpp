#include "src/ifile/IfileObjectModel.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>

#include <utility>

namespace {

const std::size_t kTokenLength = std::char_traits<char>::length(ImodelProjectToken);

}  // namespace

const ImodelFileName& ifileProjectFolder()
{
    static const ImodelFileName none;
    ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
    return design ? design->GetProjectFolder() : none;
}

std::uint64_t ifileProjectFolderStamp()
{
    ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
    return design ? design->GetProjectFolderStamp() : 0;
}

IfileManager* ifileFileManager() { return Imodel::GetInstance().GetFileManager(); }

bool ifileStartsWithProjectToken(std::string_view name) { return name.starts_with(ImodelProjectToken); }

std::string_view ifileStripProjectToken(std::string_view name)
{
    std::size_t start = std::min(kTokenLength, name.size());
    if (start < name.size() && ifileIsSeparator(name[start])) ++start;
    return name.substr(start);
}

std::string_view ifileTitleOf(std::string_view name)
{
    const std::size_t separator = name.find_last_of("/\\");
    return separator == std::string_view::npos || separator == 0 ? name : name.substr(separator + 1);
}

std::string ifileJoinProjectFolder(const std::string& folder, std::string_view relative)
{
    std::string full;
    full.reserve(folder.size() + 1 + relative.size());
    full = folder;
    if (full.empty() || !ifileIsSeparator(full.back())) full += SysGetDirChar();
    return full += relative;
}

bool ifileIsJoinOf(std::string_view full, std::string_view folder, std::string_view relative)
{
    const bool separator = folder.empty() || !ifileIsSeparator(folder.back());
    return full.size() == folder.size() + (separator ? 1 : 0) + relative.size() && full.starts_with(folder) &&
           (!separator || full[folder.size()] == SysGetDirChar()) && full.ends_with(relative);
}

ifileSameFileIndex::ifileSameFileIndex() : m_folder(ifileProjectFolder().GetString()) {}

std::uint64_t ifileSameFileIndex::Hash(const IfileObject& file) const
{
    return ImodelFileNameKeyHash(file.GetInternalFileName().GetString(), m_folder);
}

void ifileSameFileIndex::Add(const IfileObject& file, std::ptrdiff_t position)
{
    m_table.Insert(Hash(file), static_cast<std::size_t>(position));
}

namespace {

// Whether a segment of the name is ".", ".." or empty (a separator doubled
// past the start, where "//" may begin a network name): a dot begins a
// segment and only dots follow it up to the next separator (".hidden.vhd"
// holds none).
bool HoldsDotOrEmptySegment(std::string_view name)
{
    if (name.find("//", 1) != std::string_view::npos) return true;
    for (std::size_t dot = name.find('.'); dot != std::string_view::npos; dot = name.find('.', dot + 1)) {
        if (dot != 0 && name[dot - 1] != '/') continue;
        std::size_t end = dot + 1;
        if (end < name.size() && name[end] == '.') ++end;
        if (end == name.size() || name[end] == '/') return true;
    }
    return false;
}

}  // namespace

void ifileResolveDotSegments(std::string& name)
{
    if (!HoldsDotOrEmptySegment(name)) return;
    if (!ifileStartsWithProjectToken(name)) {
        std::string resolved = UtlResolveDots(name);
        if (!resolved.empty()) name = std::move(resolved);
        return;
    }
    const std::string relative = UtlResolveDots(UtlTrimLeft(ifileStripProjectToken(name), "/"));
    if (relative.empty()) return;  // the folder itself: no file to name
    const ImodelFileName& folder = ifileProjectFolder();
    if (!ifileClimbsOut(relative) || folder.empty()) {
        name = ifileJoinProjectFolder(ImodelProjectToken, relative);
        return;
    }
    // Out of the folder, and perhaps back into it ("<project>/../p/a.v").
    const std::string full = UtlResolveDots(ifileJoinProjectFolder(folder.GetString(), relative));
    ImodelFileName inside;
    name = ImodelGetRelativeFileName(full, inside, true, zorpaFT_UNKNOWN)
               ? ifileJoinProjectFolder(ImodelProjectToken, inside.GetString())
               : full;
}

bool ifileClimbsOut(std::string_view relative)
{
    if (relative.find("..") == std::string_view::npos) return false;
    const std::string resolved = UtlResolveDots(UtlTrimLeft(relative, "/\\"));
    return resolved == ".." || resolved.starts_with("../");
}
