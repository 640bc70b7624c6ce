#include "icmd/args/IcmdTCLFileArgSafeExport.h"

#include "imodel/model/Imodel.h"

IcmdTCLFileArgSafeExport::IcmdTCLFileArgSafeExport(AcmdBase* owner, bool required, bool inProject)
    : IcmdTCLFileArg(owner, required, false, inProject, Imodel::GetInstance().IsLinkingEnabled())
{
}

bool IcmdTCLFileArgSafeExport::ExportParam() const
{
    if (IsRequired()) return true;
    const IcmdTCLFileArg::File file = GetObject();
    return file && !file->GetFullFileName().empty();
}
