// The commands of the project's settings as the host and the other
// components reach them: the project settings (default HDL and the flow's
// project-wide switches), the simulation options and the simulator's
// library options, in process, and the factories of their rows in the
// model's command table. Each entry point builds its command, runs it
// through the command manager (kept in its history with `keep`) and answers
// true when it succeeded.
#pragma once

#include "icmd/IcmdCommandFactory.h"

#include <zorpa/ZorpaLibrary.h>

#include <string>

class ImodelGlobalFlowOptions;
class ImodelSimulationOptions;
class ItoolModelSimPathOptions;

// Makes the project's default HDL `isVHDL` and its eight switches those of
// `options` (its programming input is not a setting of the command).
bool IcmdDoProjectSettings(bool keep, bool isVHDL, const ImodelGlobalFlowOptions& options);
// Makes the project's simulation options those of `options`.
bool IcmdDoSetSimulationOptions(bool keep, const ImodelSimulationOptions& options);
// Makes the simulator library options those of `options`; `flushNeeded`,
// when given, tells whether the user's options took the choice.
bool IcmdDoSetModelSimLibOptions(bool keep, const ItoolModelSimPathOptions& options, bool* flushNeeded);
// Gives the design library `library` the simulator path `path` (its name
// when empty) and the compile option `option`.
bool IcmdDoSetUserLibOptions(bool keep, const std::string& library, const std::string& path, zorpaCompileOption option);

IcmdCommandFactory IcmdProjectSettingsFactory();
IcmdCommandFactory IcmdSimulationOptionsFactory();
IcmdCommandFactory IcmdModelSimOptionsFactory();
IcmdCommandFactory IcmdUserLibraryOptionsFactory();
