// The device maker's cell library as the netlist database knows it: the
// Verilog library named by the options variable "VERILOGLIB". It is read on
// the first question after a start or after CvlLibFree (NdbWorld.h), and
// kept until then.
#pragma once

#include <string_view>

class NdbWorld;

// Whether `name` is a cell (macro) of the cell library, letter case ignored:
// a VHDL design names cells in any case. False when no cell library is set
// or it cannot be read. The world is the one the caller reads for; every
// world shares the one cell library.
bool CvlIsBrennicMacro(std::string_view name, NdbWorld* world);
