#include "icmd/cores/IcmdOpenVeyrun.h"

#include "icmd/IcmdDoCommand.h"
#include "imodel/model/Imodel.h"
#include "imodel/names/ImodelMessages.h"

#include <ktwkspace/Workspace.h>

IcmdOpenVeyrun::IcmdOpenVeyrun()
    : IcmdBase(false), m_design("design", this, AcmdValueType::Single(), true, "design", "", false)
{
}

IcmdOpenVeyrun::~IcmdOpenVeyrun() = default;

AcmdEnum::Result IcmdOpenVeyrun::execDo()
{
    Ktwkspace::Workspace* workspace = Imodel::GetInstance().GetCurrentWorkspace();
    const std::string design = m_design.GetObject();
    if (workspace && workspace->OpenVeyrun(design)) return AcmdEnum::Success;
    ImodelDisplayDESIGN_NOT_OPENED_MSG(design.c_str());
    return AcmdEnum::Failure;
}

bool IcmdDoOpenVeyrun(const std::string& design, bool keep)
{
    auto command = std::make_unique<IcmdOpenVeyrun>();
    command->SetDesignName(design);
    return IcmdDoCommand(std::move(command), keep);
}
