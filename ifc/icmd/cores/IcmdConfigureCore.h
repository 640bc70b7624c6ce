// configure_user_core: has the host application configure a user core
// named by its identity.
//
//   configure_user_core -vendor <v> -library <l> -name <n> -version <v>
//
// The work is the host's (its core-library object's configuration); the
// command fails, without a message of its own, when there is no host or
// the host did not configure the core. An identity whose fields could not
// be told apart (a colon or a control character in one, no name) is
// refused with INVALID_CORE_IDENTITY.
#pragma once

#include "icmd/IcmdBase.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>

class VlnvCoreId;

class IcmdConfigureCore : public IcmdBase {
public:
    IcmdConfigureCore();
    ~IcmdConfigureCore() override;

    std::string GetName() const override { return "configure_user_core"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdConfigureCore>(); }
    AcmdEnum::Result checkParams() override;
    AcmdEnum::Result execDo() override;

    void SetVLNV(const VlnvCoreId& core);

private:
    AcmdStringParam m_vendor;
    AcmdStringParam m_library;
    AcmdStringParam m_name;
    AcmdStringParam m_version;
};
