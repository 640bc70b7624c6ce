#include "icmd/args/IcmdTCLModuleArg.h"

#include "icmd/args/IcmdComponentIDText.h"
#include "icmd/project/IcmdSaveProjectAs.h"
#include "imodel/design/ImodelFindModule.h"
#include "imodel/design/ImodelModule.h"

IcmdTCLModuleArg::IcmdTCLModuleArg(AcmdBase* owner, bool required, bool list)
    : IcmdParam<ImodelModule*>("module", owner, AcmdValueType(list, list), required, nullptr, true, "module")
{
}

std::string IcmdTCLModuleArg::GetTypeDescription() const
{
    return "a module name (library may be specified: \"name::library\")";
}

bool IcmdTCLModuleArg::GetObjectFromString(const char* text, ImodelModule*& out, bool report, void* /*parentWindow*/)
{
    const std::string given = text ? text : "";
    out = ImodelFindModule(IcmdReadComponentID(given));
    if (!out && report && !IcmdSaveProjectAs::SkipFileDoesNotExistMessage())
        AcmdDisplayArgNotFoundErrorMessage(GetDisplayName(true), given);
    return out != nullptr;
}

std::string IcmdTCLModuleArg::GetStringFromObject(ImodelModule* module) const
{
    return module ? IcmdWriteComponentID(module->GetComponentID()) : std::string();
}
