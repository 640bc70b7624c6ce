// What the settings commands check alike before they take a value.
#pragma once

#include <string>

// Refuses a value that would break its line in the project file or a set-up
// file: "INVALID_SIMULATION_PARAM" with ImodelOneLineRule. True when
// the value is one line (ImodelIsOneLine).
bool IcmdCheckSingleLine(const std::string& parameter, const std::string& value);
