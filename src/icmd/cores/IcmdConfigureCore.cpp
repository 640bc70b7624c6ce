#include "icmd/cores/IcmdConfigureCore.h"

#include "imodel/model/Imodel.h"
#include "imodel/model/ImodelHost.h"
#include "imodel/names/ImodelMessages.h"

#include <ktwkspace/IIDEObject.h>
#include <ulv/VlnvCoreId.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string>

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

AcmdEnum::Result IcmdConfigureCore::checkParams()
{
    const AcmdEnum::Result result = IcmdBase::checkParams();
    // The host gets the identity as one text, vendor:library:name:version.
    const auto clean = [](const std::string& field) {
        return std::none_of(field.begin(), field.end(),
                            [](char c) { return c == ':' || std::iscntrl(static_cast<unsigned char>(c)); });
    };
    const std::string fields[] = {m_vendor.GetObject(), m_library.GetObject(), m_name.GetObject(),
                                  m_version.GetObject()};
    if (!m_name.GetObject().empty() && std::all_of(std::begin(fields), std::end(fields), clean)) return result;
    const std::string identity = fields[0] + ":" + fields[1] + ":" + fields[2] + ":" + fields[3];
    ImodelDisplayINVALID_CORE_IDENTITY_MSG(identity.c_str());
    return AcmdEnum::Failure;
}

AcmdEnum::Result IcmdConfigureCore::execDo()
{
    const VlnvCoreId core(m_vendor.GetObject(), m_library.GetObject(), m_name.GetObject(), m_version.GetObject());
    ImodelHost* host = Imodel::GetInstance().GetHost();
    IIDEObject* environment = host ? host->GetIIDEObject() : nullptr;
    std::string output;
    return environment && environment->ConfigureCore(core, output) ? AcmdEnum::Success : AcmdEnum::Failure;
}
