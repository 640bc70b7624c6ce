// The messages of the settings commands that the model's table does not hold.
#pragma once

#include <string>

// "The library '%s' is not in the project." (error).
int IcmdDisplayLIBRARY_NOT_IN_PROJECT_MSG(const char* library);
// Refuses a value that would break its line in the project file or a set-up
// file: "INVALID_SIMULATION_PARAM" with "a single line of text". True when
// the value holds no line break.
bool IcmdCheckSingleLine(const std::string& parameter, const std::string& value);
