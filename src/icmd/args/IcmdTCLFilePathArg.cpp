#include "icmd/args/IcmdTCLFilePathArg.h"

#include "icmd/args/IcmdTCLFileArg.h"

#include <foundation/AcmdMessages.h>

IcmdTCLFilePathArg::IcmdTCLFilePathArg(AcmdBase* owner, bool required)
    : AcmdFileNameParam("file", owner, AcmdValueType::Single(), required, "file", std::string())
{
    SetMayNotExist(false);
}

bool IcmdTCLFilePathArg::GetObjectFromString(const char* text, std::string& out, bool report, void* parentWindow)
{
    const std::string given = text ? text : "";
    out.clear();
    if (given.empty()) return true;
    const std::string path = IcmdGetFullPathFromTCLArgValue(given);
    if (path.empty()) {
        if (report) AcmdDisplayArgNotFoundErrorMessage(GetDisplayName(true), given);
        return false;
    }
    // The foundation's own check says that a file is missing, and which.
    return AcmdFileNameParam::GetObjectFromString(path.c_str(), out, report, parentWindow);
}

bool IcmdTCLFilePathArg::ExportParam() const { return IsRequired() || !GetObject().empty(); }
