#include "icmd/files/IcmdPublishFile.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/files/IcmdCopyLocally.h"
#include "icmd/files/IcmdCreateLink.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "src/icmd/project/ImodelCopyProjectDirTool.h"

#include <foundation/AcmdManager.h>
#include <foundation/Sys.h>

namespace {

// A link can be made of a file of the project folder that belongs to no
// other file (a core's files stay with the core) and of a kind create_links
// takes.
bool CanCreateLinkFromFile(const IfileObjectEx& file)
{
    if (!file.IsLocalFile() || file.HasParentFile()) return false;
    const IcmdCreateLink link(&Imodel::GetInstance());
    return link.IsSupportedType(file.GetFileSpecificType());
}

// Whether `place` lies in the project folder, links in either path followed.
bool IsInProjectFolder(const std::string& place)
{
    const ImodelDesignManager* design = Imodel::GetInstance().GetDesignManager();
    const std::string project = design ? design->GetProjectFolder().GetString() : std::string();
    return ImodelCopyProjectDirTool::IsReallyInFolder(place, project);
}

}  // namespace

IcmdPublishFile::IcmdPublishFile()
{
    m_target =
        std::make_unique<AcmdFileNameParam>("path", this, AcmdValueType::Single(), true, "link path", std::string());
}

AcmdEnum::Result IcmdPublishFile::execDo()
{
    const std::string path = m_target ? m_target->GetObject() : std::string();
    const boost::shared_ptr<IfileObjectEx> entry = m_file.GetObject();
    if (!path.empty() && entry && !IcmdCopyLocally::IsValidTargetName(path, nullptr, *entry, false))
        return AcmdEnum::Failure;
    if (!entry || path.empty()) return AcmdEnum::Success;
    const std::string full = entry->GetFullFileName().GetString();
    if (!UtlDoesFileExist(full) || !CanCreateLinkFromFile(*entry)) {
        ImodelDisplayFILE_MUST_BE_LOCAL_AND_USER_MSG(full.c_str());
        return AcmdEnum::Failure;
    }
    const std::string place = AcmdGetFullPath(path, AcmdManager::GetInstance().GetCurrentFolder());
    // A place in the project folder is no link: the entry would become a
    // project file of another folder, or one stored as a link that is not.
    if (IsInProjectFolder(place)) {
        ImodelDisplayLINK_PLACE_IN_PROJECT_MSG(place.c_str(), full.c_str());
        return AcmdEnum::Failure;
    }
    const IfileObject target(ImodelFileName(place), entry->GetFileSpecificType(), ImodelFMFull, false, true);
    return doChangeLink(entry, target);
}

bool IcmdDoPublishFile(boost::shared_ptr<IfileObjectEx> file, const std::string& target, bool keep)
{
    auto command = std::make_unique<IcmdPublishFile>();
    command->SetOriginalFile(std::move(file));
    command->SetTarget(target);
    return IcmdDoCommand(std::move(command), keep);
}
