#include "icmd/files/IcmdCopyLocally.h"

#include "icmd/IcmdDoCommand.h"
#include "icmd/files/IcmdImportFiles.h"
#include "ifile/IfileManager.h"
#include "ifile/IfileObjectEx.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"
#include "imodel/names/imodelUtl.h"

#include <foundation/Sys.h>

IcmdCopyLocally::IcmdCopyLocally()
{
    m_target = std::make_unique<AcmdStringParam>("local", this, AcmdValueType::Single(), false, "local file name",
                                                 std::string(), false);
}

bool IcmdCopyLocally::IsValidTargetName(const std::string& name, void* parent, const IfileObject& file,
                                        bool localOnly)
{
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && !ImodelIsSameStrNoCase(name.substr(dot + 1), file.GetExt())) {
        ImodelDisplayINVALID_EXTENSION_QRY(parent, MdbOK, file.GetExt().c_str());
        return false;
    }
    // A name without a dot is a name too: it passes the same tests.
    const bool bare = name.find_first_of("/\\") == std::string::npos;
    if (ImodelIsValidPathName(name) && (!localOnly || bare)) return true;
    ImodelDisplayINVALID_NAME_CHAR_QRY(parent, MdbOK, name.c_str(), "file");
    return false;
}

IfileObject IcmdCopyLocally::GetDefaultLocalFile(const IfileObject& file, bool checkDisk)
{
    IfileManager& files = *Imodel::GetInstance().GetFileManager();
    IfileObject candidate = IcmdImportFiles::GetLocalFile(file);
    const auto taken = [&](const IfileObject& place) {
        return (checkDisk && UtlDoesFileExist(place.GetFullFileName().GetString())) || files.ContainsFile(place);
    };
    for (int number = 1; taken(candidate); ++number) {
        const std::string name = file.GetFileTitleNoExt() + "_" + std::to_string(number) + "." + candidate.GetExt();
        candidate = IfileObject(ImodelFileName(name), file.GetFileSpecificType(), ImodelFMShort, false, true);
    }
    return candidate;
}

AcmdEnum::Result IcmdCopyLocally::execDo()
{
    const std::string local = m_target ? m_target->GetObject() : std::string();
    const boost::shared_ptr<IfileObjectEx> entry = m_file.GetObject();
    if (!local.empty() && entry && !IsValidTargetName(local, nullptr, *entry, true)) return AcmdEnum::Failure;
    if (!entry) return AcmdEnum::Success;
    // Its own place may hold a file on disk that the project does not know:
    // that one is not overwritten either.
    const IfileObject target =
        local.empty() ? GetDefaultLocalFile(*entry, true)
                      : IfileObject(ImodelFileName(local), entry->GetFileSpecificType(), ImodelFMShort, false, true);
    if (local.empty() && target.GetFileTitleAndExt() != entry->GetFileTitleAndExt())
        ImodelDisplayRENAMED_LOCAL_MSG(entry->GetFileTitleAndExt().c_str(), target.GetFileTitleAndExt().c_str());
    return doChangeLink(entry, target);
}

bool IcmdDoUnlink(boost::shared_ptr<IfileObjectEx> file, const std::string& target, bool keep)
{
    auto command = std::make_unique<IcmdCopyLocally>();
    command->SetOriginalFile(std::move(file));
    command->SetTarget(target);
    return IcmdDoCommand(std::move(command), keep);
}
