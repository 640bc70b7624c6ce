#include "icmd/args/IcmdTCLModuleAndRevArg.h"

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "imodel/views/ImodelContextImpl.h"

#include <foundation/Sys.h>

IcmdTCLModuleAndRevArg::IcmdTCLModuleAndRevArg(AcmdBase* owner, bool moduleRequired, bool viewRequired)
    : IcmdParam<ImodelRevContextImpl*>("pallador_view", owner, AcmdValueType::Single(), viewRequired, nullptr, true,
                                       "pallador view"),
      m_module(std::make_unique<IcmdTCLModuleArg>(owner, moduleRequired, false))
{
    // The unit is known before the view is looked for in it.
    AddChild(m_module.get());
}

IcmdTCLModuleAndRevArg::~IcmdTCLModuleAndRevArg() = default;

ImodelModule* IcmdTCLModuleAndRevArg::GetModule() const { return m_module->GetObject(); }

void IcmdTCLModuleAndRevArg::SetObject(ImodelModule* module, ImodelRevContextImpl* view)
{
    m_module->SetObject(module);
    StoreValue(view);
}

bool IcmdTCLModuleAndRevArg::GetObjectFromString(const char* text, ImodelRevContextImpl*& out, bool report,
                                                 void* /*parentWindow*/)
{
    const std::string given = text ? text : "";
    if (!m_module->IsRequired() && m_module->GetObject() == nullptr) {
        if (ImodelModule* root = Imodel::GetInstance().GetDesignManager()->GetRootModule()) m_module->SetObject(root);
    }
    const ImodelModule* module = m_module->GetObject();
    const ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    out = context ? context->FindRevision(given) : nullptr;
    if (!context) SysDebugPrintf("ERROR: No module defined, cannot find Pallador view\n");
    if (!out && report) AcmdDisplayArgNotFoundErrorMessage(GetDisplayName(true), given);
    return out != nullptr;
}

std::string IcmdTCLModuleAndRevArg::GetStringFromObject(ImodelRevContextImpl* view) const
{
    const ImodelModule* module = m_module->GetObject();
    const ImodelContextImpl* context = module ? module->GetContext() : nullptr;
    std::string name;
    if (context) context->GetRevisionName(view, name);
    return name;
}
