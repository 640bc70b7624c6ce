// The `hdl` argument: the HDL of a project, "VHDL" (true) or "VERILOG"
// (false), typed in any letter case and written back in upper case.
#pragma once

#include <foundation/AcmdParam.h>

class IcmdHDLTypeArg : public AcmdEnumParam<bool> {
public:
    IcmdHDLTypeArg(AcmdBase* owner, bool required, bool defaultIsVhdl);
};
