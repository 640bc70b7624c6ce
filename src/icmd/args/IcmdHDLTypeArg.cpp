#include "icmd/args/IcmdHDLTypeArg.h"

IcmdHDLTypeArg::IcmdHDLTypeArg(AcmdBase* owner, bool required, bool defaultIsVhdl)
    : AcmdEnumParam<bool>("hdl", owner, AcmdValueType::Single(), required, defaultIsVhdl, false, "HDL type")
{
    AddChoice(true, "VHDL", "");
    AddChoice(false, "VERILOG", "");
    SetCaseSensitive(false);
}
