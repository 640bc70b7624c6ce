#include "icmd/files/IcmdRetargetLink.h"

#include "icmd/IcmdDoCommand.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "src/icmd/files/IcmdMemberIdentities.h"

#include <foundation/AcmdManager.h>
#include <foundation/Sys.h>

#include <string>

IcmdRetargetLink::IcmdRetargetLink()
{
    m_target = std::make_unique<AcmdFileNameParam>("path", this, AcmdValueType::Single(), true, "new source path",
                                                   std::string());
}

AcmdEnum::Result IcmdRetargetLink::execDo()
{
    const boost::shared_ptr<IfileObjectEx> entry = m_file.GetObject();
    const std::string path = m_target ? m_target->GetObject() : std::string();
    if (!entry || path.empty()) return AcmdEnum::Success;
    const std::string full = AcmdGetFullPath(path, AcmdManager::GetInstance().GetCurrentFolder());
    if (!UtlDoesFileExist(full)) {
        ImodelDisplayFILE_NOT_FOUND_MSG(path.c_str());
        return AcmdEnum::Failure;
    }
    const IfileObject source(ImodelFileName(full), entry->GetFileSpecificType(), ImodelFMFull, true, true);
    // A name the project file could not hold was refused, with a message,
    // and left the source without a name: the link stays as it was.
    if (source.GetInternalFileName().empty()) return AcmdEnum::Failure;
    if (source == *entry) return AcmdEnum::Success;
    // Two entries of one name would be one file twice in the project.
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
    if (files.ContainsFile(source)) {
        ImodelDisplayLINK_SOURCE_IN_PROJECT_MSG(full.c_str(), entry->GetFullFileName().c_str());
        return AcmdEnum::Failure;
    }
    // So would two names of one file: a symbolic link to a member, or a
    // path through a linked folder. The link's own file under another name
    // is no other entry.
    if (const std::string member = IcmdMemberIdentities(&files).OtherNameOf(full, entry->GetFullFileName().GetString());
        !member.empty()) {
        ImodelDisplayFILE_IN_PROJECT_AS_MSG(full.c_str(), member.c_str());
        return AcmdEnum::Failure;
    }
    const IfileObjectEx oldEntry = *entry;
    entry->SetFileName(ImodelFileName(full), ImodelFMFull, true);
    bool changed = false;
    entry->StoreStatInfo(changed, true, true);
    return updateModel(oldEntry, entry, changed);
}

bool IcmdDoRetarget(boost::shared_ptr<IfileObjectEx> file, const std::string& target, bool keep)
{
    auto command = std::make_unique<IcmdRetargetLink>();
    command->SetOriginalFile(std::move(file));
    command->SetTarget(target);
    return IcmdDoCommand(std::move(command), keep);
}
