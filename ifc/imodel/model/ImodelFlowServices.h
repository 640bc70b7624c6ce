// What the project model answers with the help of the design flow and the
// file watcher: the display name of a design state, which changed files
// concern the core workspace, and a new look at the files of one group.
#pragma once

#include "imodel/names/ImodelToolKinds.h"

#include <string>

class IfileObjectEx;
class ImodelModule;

// The display name of a design state for a module: "Pre-Synthesis" ("Pre-
// Layout" when the module's flow skips synthesis), "Post-Synthesis" ("Pre-
// Layout" for an EDIF netlist module), "Post-Physical Synthesis",
// "Post-Layout"; empty for a value outside the four states.
void ImodelGetStateString(imodelSolvatoState state, std::string& out, ImodelModule* module);

// Whether the file's project-relative folder is one of the folders that the
// options variable IDE_NOTIFY_WS_FILECHANGED_FROM lists, or lies below one
// (letter case ignored; the folder variables IDE_COMPONENT_FOLDER,
// IDE_KILTORA_FOLDER, IDE_DREMMET_FOLDER, IDE_HDL_FOLDER and
// IDE_CONSTRAINTS_FOLDER stand for their folders). False for a file outside
// the project or an unreadable variable.
bool ImodelNotifyChangeToWS(const IfileObjectEx& file);
// Whether IDE_NOTIFY_WS_FILECHANGED_FROM lists any folder: without one no
// file is told to the workspace (a walk over every file asks once).
bool ImodelNotifiesChangesToWS();
// False when the file's folder is listed the same way in
// IDE_IGNORE_CXF_CHANGES_FROM; true otherwise.
bool ImodelTrackCXFChange(const IfileObjectEx& file);
// The file watcher takes in the files of the group (zorpaFT_GROUP_*) that
// lie on disk now, by its own rules, when it is started; nothing otherwise.
void ImodelScanFilesOfGroup(int group);
