#include "icmd/design/IcmdNewFile.h"

#include "imodel/names/ImodelMessages.h"
#include "itool/ItoolVeyrun.h"
#include "src/icmd/project/IcmdProjectFileText.h"

IcmdNewFile::IcmdNewFile()
    : IcmdBase(false), m_type("type", this, AcmdValueType::Single(), true, "type", "", false),
      m_name("name", this, AcmdValueType::Single(), true, "name", "", false)
{
}

IcmdNewFile::~IcmdNewFile() = default;

AcmdEnum::Result IcmdNewFile::checkParams()
{
    const AcmdEnum::Result result = IcmdBase::checkParams();
    const std::string type = m_type.GetObject();
    if (type != "Veyrun") {
        ImodelDisplayUNKNOWN_DESIGN_KIND_MSG(type.c_str());
        return AcmdEnum::Failure;
    }
    // The name becomes a folder of the project, as for create_design.
    return IcmdCheckDesignName(m_name.GetObject()) ? result : AcmdEnum::Failure;
}

AcmdEnum::Result IcmdNewFile::execDo()
{
    ItoolVeyrun* tool = ItoolVeyrun::GetInstance();
    const std::string name = m_name.GetObject();
    if (tool && tool->CreateNewVeyrun(name).first) return AcmdEnum::Success;
    ImodelDisplayDESIGN_NOT_CREATED_MSG(name.c_str());
    return AcmdEnum::Failure;
}
