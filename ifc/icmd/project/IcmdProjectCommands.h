// The commands that own the project as a whole, as the host and the other
// components reach them: creating, opening, saving and closing a project in
// process, and the factories of their rows in the model's command table.
// Each entry point builds its command, runs it through the command manager
// (kept in its history with `keep`) and answers true when it succeeded.
#pragma once

#include "icmd/IcmdCommandFactory.h"

#include <string>
#include <vector>

// Opens the project file (made absolute); `removeAllLinks` goes to the
// file manager while it reads its file list.
bool IcmdDoOpenProject(const char* file, bool keep, bool removeAllLinks);
// Saves the open project; `openedFiles`, when given, is written as the
// files open in editors instead of what the host reports.
bool IcmdDoSaveProject(bool keep, std::vector<std::string>* openedFiles);
// Creates a project named `name` in the new folder `folder`.
bool IcmdDoNewProject(bool keep, const std::string& name, const std::string& folder, bool isVHDL,
                      const std::string& family, const std::string& die, const std::string& package);
// Closes the open project, saving it first unless `openFailed` (the close
// that follows a failed open).
bool IcmdDoCloseProject(bool keep, bool openFailed);

IcmdCommandFactory IcmdNewProjectFactory();
IcmdCommandFactory IcmdCloseProjectFactory();
IcmdCommandFactory IcmdSaveProjectFactory();
IcmdCommandFactory IcmdOpenProjectFactory();
