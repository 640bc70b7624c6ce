// refresh: builds the design hierarchy again from the project's files.
//
//   refresh
//
// Every library is emptied (its settings kept), every schematic and then
// every HDL file is parsed again, and what the user chose before stays: the
// file used for a unit that several files define, the root, and the data
// kept with each unit. Always succeeds.
#pragma once

#include "icmd/IcmdBase.h"

#include <memory>
#include <string>

class IcmdRefresh : public IcmdBase {
public:
    IcmdRefresh() : IcmdBase(false) {}

    std::string GetName() const override { return "refresh"; }
    std::unique_ptr<AcmdBase> Clone() const override { return std::make_unique<IcmdRefresh>(); }
    AcmdEnum::Result execDo() override;
};

// Runs refresh in process; with `keep` the command manager keeps it.
void IcmdDoRefresh(bool keep);
