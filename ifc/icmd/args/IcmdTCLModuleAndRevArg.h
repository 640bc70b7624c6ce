// The `pallador_view` argument: a place-and-route view (revision) of a
// design unit, named exactly as the view is named. The unit comes from the
// argument's child `module`, which is converted first; when that child is
// optional and not given, the design's root unit is taken.
#pragma once

#include "icmd/args/IcmdParam.h"
#include "icmd/args/IcmdTCLModuleArg.h"

#include <memory>

class ImodelModule;
class ImodelRevContextImpl;

class IcmdTCLModuleAndRevArg : public IcmdParam<ImodelRevContextImpl*> {
public:
    // Makes the child `module` argument too, a parameter of the same command.
    IcmdTCLModuleAndRevArg(AcmdBase* owner, bool moduleRequired, bool viewRequired);
    ~IcmdTCLModuleAndRevArg() override;

    // The child's unit; null when it holds none.
    ImodelModule* GetModule() const;
    IcmdTCLModuleArg& GetModuleArg() { return *m_module; }
    // A view is set only together with its unit.
    void SetObject(ImodelModule* module, ImodelRevContextImpl* view);
    void SetObject(ImodelRevContextImpl* /*view*/) override {}

    void Accept(AcmdTypedParamVisitor& /*visitor*/) override {}
    std::string GetTypeDescription() const override { return "a pallador view name (ex: Impl1)"; }
    bool GetObjectFromString(const char* text, ImodelRevContextImpl*& out, bool report, void* parentWindow) override;
    // The view's name; empty unless the child holds a unit with views.
    std::string GetStringFromObject(ImodelRevContextImpl* view) const override;

private:
    // Owned here: the command only lists its parameters.
    std::unique_ptr<IcmdTCLModuleArg> m_module;
};
