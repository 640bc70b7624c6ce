// What the name, path and file-type rules ask of the process-wide model:
// the project folder, the current place-and-route view and the debug switch.
#pragma once

#include <string>

class ImodelFileName;

// The project folder; null when the model has no design manager.
const ImodelFileName* ImodelUtlGetProjectFolder();
// Its text; empty without one.
std::string ImodelUtlProjectFolderText();
// The number of the current place-and-route view.
int ImodelUtlGetCurrentRevisionNumber();
// Whether debug lines are printed (DEBUG_MSG).
bool ImodelUtlIsDebugMsg();
