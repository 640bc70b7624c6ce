#include "src/icmd/project/IcmdProjectMeter.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"

namespace {

bool& Running()
{
    static bool running = false;
    return running;
}

}  // namespace

IcmdProjectMeter::IcmdProjectMeter(const char* label) : m_owner(!Running()), m_callback(&ImodelUpdateCOMMAND_METER)
{
    if (!m_owner) return;
    Running() = true;
    ImodelHost* host = Imodel::GetInstance().GetHost();
    ImodelInitCOMMAND_METER(host ? host->GetParentWindow() : nullptr, label);
}

IcmdProjectMeter::~IcmdProjectMeter()
{
    if (!m_owner) return;
    ImodelKillCOMMAND_METER();
    Running() = false;
}
