// The scenario scripts' loader of design units (UnitLoaderCommand.cpp).
#pragma once

#include "icmd/IcmdBase.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>

class UnitLoaderCommand : public IcmdBase {
public:
    UnitLoaderCommand();

    std::string GetName() const override { return "load_test_unit"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<UnitLoaderCommand>(); }
    AcmdEnum::Result execDo() override;

    AcmdStringParam name;
    AcmdFileNameParam file;
    AcmdStringParam library;
    AcmdFlagParam package;
    AcmdStringParam parents;
    AcmdFlagParam readOnly;
};
