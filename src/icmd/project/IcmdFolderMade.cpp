#include "src/icmd/project/IcmdFolderMade.h"

#include <foundation/Sys.h>

IcmdFolderMade::IcmdFolderMade(const std::string& folder) : m_folder(folder)
{
    for (std::filesystem::path above = std::filesystem::path(folder).parent_path();
         above.has_relative_path() && !UtlDoesDiskObjectExist(above.string()); above = above.parent_path())
        m_madeAbove.push_back(above);
}

void IcmdFolderMade::Remove() const
{
    if (UtlDoesDiskObjectExist(m_folder)) SysRemoveFolderRecursively(m_folder);
    for (const std::filesystem::path& folder : m_madeAbove) SysRemoveEmptyFolder(folder.string());
}
