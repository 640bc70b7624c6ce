// new_file: a new, empty design of a kind, under a name. One kind exists:
// "Veyrun", a new block design of the project's core workspace.
//
//   new_file -type Veyrun -name <name>
//
// Any other kind (letter case counts) is refused by the parameter check.
// What the creation adds to the project reaches it through the
// block-design tool.
#pragma once

#include "icmd/IcmdBase.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>

class IcmdNewFile : public IcmdBase {
public:
    IcmdNewFile();
    ~IcmdNewFile() override;

    std::string GetName() const override { return "new_file"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdNewFile>(); }
    AcmdEnum::Result checkParams() override;
    AcmdEnum::Result execDo() override;

private:
    AcmdStringParam m_type;
    AcmdStringParam m_name;
};
