#include "icmd/design/IcmdIsFileReadOnly.h"

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdTCLFileArg.h"
#include "ifile/IfileManager.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"

#include <foundation/Sys.h>

namespace {

class IcmdIsFileReadOnly : public IcmdBase {
public:
    IcmdIsFileReadOnly() : IcmdBase(false), m_file(this, true, false, false, Imodel::GetInstance().IsLinkingEnabled())
    {
    }

    std::string GetName() const override { return "is_file_readonly"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdIsFileReadOnly>(); }

    AcmdEnum::Result execDo() override
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

private:
    IcmdTCLFileArg m_file;
};

}  // namespace

IcmdCommandFactory IcmdIsFileReadOnlyFactory() { return IcmdFactoryOf<IcmdIsFileReadOnly>(); }
