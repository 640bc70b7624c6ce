// dump_components: the components of the project's core workspace, for
// scripts and for diagnosis.
//
//   dump_components [-file <path>]
//
// Without an open workspace the one line "ERROR - No Component Collection
// loaded". Otherwise each component, by identity (names, then libraries,
// then packages, compared upper-cased), as six lines and an empty one:
//   Component: <name>
//      IXF File: <full name>
//      Def File: <full name>
//      Type: <component type>
//      Library: <library>
//      State: GENERATED | SAVED | OUTOFDATE | NOTREADY
#pragma once

#include <ulv/TclcmdDumpBaseCmd.h>

#include <memory>
#include <string>

class IcmdDumpComponents : public TclcmdDumpBaseCmd {
public:
    IcmdDumpComponents() = default;
    ~IcmdDumpComponents() override;

    std::string GetName() const override { return "dump_components"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdDumpComponents>(); }
    AcmdEnum::Result DoDump(std::ostream& out) override;
};
