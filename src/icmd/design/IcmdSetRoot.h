// The set_root command class (ifc/icmd/design/IcmdSetRoot.h tells what it does).
#pragma once

#include "icmd/IcmdBase.h"
#include "icmd/args/IcmdTCLModuleArg.h"

#include <memory>
#include <string>
#include <vector>

class ImodelModule;
namespace VyIfaces {
class ComponentID;
}

class IcmdSetRoot : public IcmdBase {
public:
    IcmdSetRoot();
    ~IcmdSetRoot() override;

    std::string GetName() const override { return "set_root"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdSetRoot>(); }
    // Exactly one word is the module's text, whatever the option parser
    // makes of it: the module may be given without its option.
    AcmdEnum::Result ParseArgs(const std::vector<std::string>& args) override;
    // A module that may not be the root is refused ("CANNOT_SET_ROOT").
    AcmdEnum::Result checkParams() override;
    AcmdEnum::Result execDo() override;

    // The module to make the root; null: none (the module is not required then).
    void SetRootModule(ImodelModule* module);
    // The module of that identity, looked for when the command runs; the
    // default identity: none.
    void SetRootName(const VyIfaces::ComponentID& id);

private:
    IcmdTCLModuleArg m_module;
};
