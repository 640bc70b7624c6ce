// open_veyrun: opens a block design of the project's core workspace by its
// name.
//
//   open_veyrun -design <name>
//
// Fails when no core workspace is open or the workspace has no block
// design of that name. Changes nothing in the project.
#pragma once

#include "icmd/IcmdBase.h"

#include <foundation/AcmdParam.h>

#include <memory>
#include <string>

class IcmdOpenVeyrun : public IcmdBase {
public:
    IcmdOpenVeyrun();
    ~IcmdOpenVeyrun() override;

    std::string GetName() const override { return "open_veyrun"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdOpenVeyrun>(); }
    AcmdEnum::Result execDo() override;

    void SetDesignName(const std::string& design) { m_design.SetObject(design); }

private:
    AcmdStringParam m_design;
};

// Runs open_veyrun on the design; true when it was opened.
bool IcmdDoOpenVeyrun(const std::string& design, bool keep);
