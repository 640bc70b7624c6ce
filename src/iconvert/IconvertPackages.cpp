#include "iconvert/IconvertPackages.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelFeatures.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>

#include <algorithm>

namespace {

ImodelFileName OldPackageFolder()
{
    return ImodelFileName(Imodel::GetInstance().GetDesignManager()->GetProjectFolder().GetString() + SysGetDirChar() +
                          "package");
}

}  // namespace

bool IconvertPackages::PreOpenConvert()
{
    ImodelFileName hdl;
    ImodelGetFullPathForFile(zorpaFT_HDL, hdl);
    ImodelSetValidSeparator(hdl, true);
    MoveAllFiles(OldPackageFolder(), hdl, std::string(ImodelGetPackageName(true)) + " File", zorpaFT_HDL, m_start,
                 m_end, "vhd");
    return true;
}

bool IconvertPackages::PostOpenConvert()
{
    const std::vector<CopiedFileType>& moves = GetMovedFiles();
    const bool allMoved =
        std::all_of(moves.begin(), moves.end(), [](const CopiedFileType& move) { return move.moved; });
    const ImodelFileName folder = OldPackageFolder();
    std::vector<std::string> left;
    // The folder the packages left is of no use once it is empty; anything
    // still in it keeps it.
    if (!moves.empty() && allMoved && Imodel::GetInstance().GetHost() && SysListFolder(folder, left) && left.empty())
        SysRemoveFolderRecursively(folder);
    return true;
}
