#include "icmd/args/IcmdTCLComponentArg.h"

#include "icmd/args/IcmdComponentIDText.h"
#include "icmd/project/IcmdSaveProjectAs.h"
#include "imodel/model/Imodel.h"

#include <ktwkspace/Workspace.h>
#include <vy/IComponent.h>

IcmdTCLComponentArg::IcmdTCLComponentArg(AcmdBase* owner, bool required, bool list)
    : IcmdParam<VyIfaces::IComponent*>("component", owner, AcmdValueType(list, list), required, nullptr, true,
                                       "component")
{
}

std::string IcmdTCLComponentArg::GetTypeDescription() const
{
    return "a component name (library may be specified: \"name::library\")";
}

bool IcmdTCLComponentArg::GetObjectFromString(const char* text, VyIfaces::IComponent*& out, bool report,
                                              void* /*parentWindow*/)
{
    const std::string given = text ? text : "";
    const Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetCurrentWorkspace();
    out = workspace ? workspace->FindComponent(IcmdReadComponentID(given)) : nullptr;
    if (!out && report && !IcmdSaveProjectAs::SkipFileDoesNotExistMessage())
        AcmdDisplayArgNotFoundErrorMessage(GetDisplayName(true), given);
    return out != nullptr;
}

std::string IcmdTCLComponentArg::GetStringFromObject(VyIfaces::IComponent* component) const
{
    return component ? IcmdWriteComponentID(component->GetComponentID()) : std::string();
}
