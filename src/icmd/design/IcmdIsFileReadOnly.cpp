// is_file_readonly: the read-only state of a file of the project or the disk.
#include "icmd/design/IcmdIsFileReadOnly.h"

#include "ifile/IfileManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"

#include <foundation/Sys.h>

IcmdIsFileReadOnly::IcmdIsFileReadOnly()
    : IcmdBase(false), m_file(this, true, false, false, Imodel::GetInstance().IsLinkingEnabled())
{
}

IcmdIsFileReadOnly::~IcmdIsFileReadOnly() = default;

AcmdEnum::Result IcmdIsFileReadOnly::execDo()
{
    const IcmdTCLFileArg::File file = m_file.GetObject();
    const std::string fullName = file->GetFullFileName().GetString();
    // A file the project does not hold and the disk does not have is
    // read-only nowhere: it is not there at all.
    if (!Imodel::GetInstance().GetFileManager()->ContainsFile(*file) && !UtlDoesDiskObjectExist(fullName)) {
        ImodelDisplayFILE_NOT_FOUND_MSG(fullName.c_str());
        return AcmdEnum::Failure;
    }
    const int state = file->GetReadOnlyState();
    SetResultMsg(std::to_string(state));
    SysDebugPrintf("is_file_readonly for %s is %d\n", file->GetFileTitleAndExt().c_str(), state);
    return AcmdEnum::Success;
}
