// The `module` argument: a design unit named by its identity text
// ("name", "name::library" or "name::library::package"). A list argument
// takes one unit per occurrence of the option.
#pragma once

#include "icmd/args/IcmdParam.h"

class AcmdTypedParamVisitor;
class ImodelModule;

class IcmdTCLModuleArg : public IcmdParam<ImodelModule*> {
public:
    IcmdTCLModuleArg(AcmdBase* owner, bool required, bool list);

    void Accept(AcmdTypedParamVisitor& /*visitor*/) override {}
    std::string GetTypeDescription() const override;
    // The unit of that identity; a text that names none is reported (the
    // argument and the text) and fails.
    bool GetObjectFromString(const char* text, ImodelModule*& out, bool report, void* parentWindow) override;
    // The unit's identity text; empty for none.
    std::string GetStringFromObject(ImodelModule* module) const override;
};
