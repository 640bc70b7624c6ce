#include "icmd/cores/IcmdConfigureCore.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"

#include <ktwkspace/IIDEObject.h>
#include <ulv/VlnvCoreId.h>

IcmdConfigureCore::IcmdConfigureCore()
    : IcmdBase(false), m_vendor("vendor", this, AcmdValueType::Single(), true, "vendor", "", false),
      m_library("library", this, AcmdValueType::Single(), true, "library", "", false),
      m_name("name", this, AcmdValueType::Single(), true, "name", "", false),
      m_version("version", this, AcmdValueType::Single(), true, "version", "", false)
{
}

IcmdConfigureCore::~IcmdConfigureCore() = default;

void IcmdConfigureCore::SetVLNV(const VlnvCoreId& core)
{
    m_vendor.SetObject(core.vendor);
    m_library.SetObject(core.library);
    m_name.SetObject(core.name);
    m_version.SetObject(core.version);
}

AcmdEnum::Result IcmdConfigureCore::execDo()
{
    const VlnvCoreId core(m_vendor.GetObject(), m_library.GetObject(), m_name.GetObject(), m_version.GetObject());
    ImodelHost* host = Imodel::GetInstance().GetHost();
    IIDEObject* environment = host ? host->GetIIDEObject() : nullptr;
    std::string output;
    return environment && environment->ConfigureCore(core, output) ? AcmdEnum::Success : AcmdEnum::Failure;
}
