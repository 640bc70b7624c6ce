// The set-up files of the outside tools that follow the project: the HDL
// simulator's ("modelsim.ini", "meminit.dat") and the schematic editor's
// ("viewdraw.ini", "project.lst"). The project commands call these when a
// project is created or opened.
#pragma once

#include <string>

// Writes the simulator's set-up files of a new project.
void ItoolCreateModelSim();
// Brings the simulator's set-up files up to date; `force` rewrites them
// even while the project's update switch is off; `library` names a library
// to add (empty: none).
void ItoolUpdateModelSim(bool force, const std::string& library);
// Writes the schematic editor's set-up files of a new project.
void ItoolCreateViewdraw(bool force);
// Brings the schematic editor's set-up files up to date.
void ItoolUpdateViewdraw(bool force);
