// The set-up files of the outside tools that follow the project: the HDL
// simulator's ("modelsim.ini" and "meminit.dat" in the simulation folder)
// and the schematic editor's ("viewdraw.ini" in the "viewdraw" folder,
// "project.lst" in its "vf" folder). The project commands call these when a
// project is created or opened and when its settings change.
//
// Nothing is written while no project folder is set. Every file is written
// whole through a temporary file renamed over the old one: a file that
// cannot be written stays as it was, and the user is told which.
#pragma once

#include <string>

// Copies the simulator's "meminit.dat" of the project's language from the
// simulator's installation (found from the simulation tool profile's
// executable, else "modelsim" on the search path) into the simulation
// folder; nothing when the simulator or the file cannot be found.
void ItoolCopyMeminit();
// Writes the simulator's set-up file of a new project: the "[Library]"
// section with the family's and the vendor's library mappings, "[vcom]" and
// "[vsim]".
void ItoolCreateModelSim();
// Brings the simulator's set-up file up to date, creating it when it is
// missing; an existing file is rewritten only while the project's
// "UpdateModelSimIni" switch is on. The "[Library]" sections get the
// current family's mapping (once) and the vendor's; `oldFamily`, when not
// empty, names a family whose mapping goes; with `repoint` the mappings of
// the design states' simulation folders ("presynth", "postsynth",
// "postlayout") are pointed at the project's folders again. Every other
// line stays as it is.
void ItoolUpdateModelSim(bool repoint, const std::string& oldFamily);
// Maps `library` to `path` in the simulator's set-up file (creating the
// file first when it is missing), replacing a mapping the "[Library]"
// section had; an empty path only removes it. True when the mapping stands
// in the file.
bool ItoolAddModelSimVMap(const std::string& library, const std::string& path);
// Writes the schematic editor's set-up file and project list of a new
// project, creating its folders; `preserveCase` keeps the case of names.
void ItoolCreateViewdraw(bool preserveCase);
// Brings the schematic editor's set-up file up to date while the project's
// "UpdateViewDrawIni" switch is on (creating it, without preserve case, when
// it is missing), then writes the project list.
void ItoolUpdateViewdraw(bool preserveCase);
