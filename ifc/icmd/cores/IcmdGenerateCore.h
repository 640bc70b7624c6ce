// generate_core: an in-process command with three texts (each named
// "name"); it checks them and succeeds, with or without a host.
#pragma once

#include "icmd/IcmdBase.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>

class IcmdGenerateCore : public IcmdBase {
public:
    IcmdGenerateCore();
    ~IcmdGenerateCore() override;

    std::string GetName() const override { return "generate_core"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdGenerateCore>(); }
    AcmdEnum::Result checkParams() override;
    AcmdEnum::Result execDo() override;

    // The three texts, in the order of the parameters.
    void SetParams(const std::string& first, const std::string& second, const std::string& third);

private:
    AcmdStringParam m_first;
    AcmdStringParam m_second;
    AcmdStringParam m_third;
};
