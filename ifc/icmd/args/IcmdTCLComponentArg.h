// The `component` argument: a component of the project's core workspace,
// named by its identity text as a design unit is. No command of the library
// takes one; other libraries' commands do.
#pragma once

#include "icmd/args/IcmdParam.h"

namespace VyIfaces {
class IComponent;
}

class IcmdTCLComponentArg : public IcmdParam<VyIfaces::IComponent*> {
public:
    IcmdTCLComponentArg(AcmdBase* owner, bool required, bool list);

    void Accept(AcmdTypedParamVisitor& /*visitor*/) override {}
    std::string GetTypeDescription() const override;
    // The workspace's component of that identity; without a workspace or
    // such a component the text is reported and fails.
    bool GetObjectFromString(const char* text, VyIfaces::IComponent*& out, bool report, void* parentWindow) override;
    std::string GetStringFromObject(VyIfaces::IComponent* component) const override;
};
