// What the settings commands check alike before they take a value.
#pragma once

#include <string>

// Refuses a value that would break its line in the project file or a set-up
// file: "INVALID_SIMULATION_PARAM" with "a single line of printable text". True when
// the value holds no line break.
bool IcmdCheckSingleLine(const std::string& parameter, const std::string& value);
