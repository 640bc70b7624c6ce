#include "icmd/cores/IcmdGenerateCore.h"

IcmdGenerateCore::IcmdGenerateCore()
    : IcmdBase(false), m_first("name", this, AcmdValueType::Single(), true, "project name", "", false),
      m_second("name", this, AcmdValueType::Single(), true, "project name", "", false),
      m_third("name", this, AcmdValueType::Single(), true, "project name", "", false)
{
}

IcmdGenerateCore::~IcmdGenerateCore() = default;

void IcmdGenerateCore::SetParams(const std::string& first, const std::string& second, const std::string& third)
{
    m_first.SetObject(first);
    m_second.SetObject(second);
    m_third.SetObject(third);
}

// The framework's check is the whole check: the three texts are required.
AcmdEnum::Result IcmdGenerateCore::checkParams() { return IcmdBase::checkParams(); }

// Nothing is generated in the project: the core generator that takes these
// texts is the host's, and the command only stands for its request.
AcmdEnum::Result IcmdGenerateCore::execDo() { return AcmdEnum::Success; }
