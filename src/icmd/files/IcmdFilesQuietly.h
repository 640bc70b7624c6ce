// Two steps that the project update and the link commands share with the
// content commands: the removal of files from the project without questions
// (the road of delete_files with its confirmation, core-tool check and disk
// deletion off), and the units' chosen definitions, to be applied again
// after the files that define them were parsed anew.
#pragma once

#include "ifile/IfileObject.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <utility>
#include <vector>

class IfileObjectEx;

// Removes the files from the project, in order: a core's main file takes its
// own files along; a file that is not in the project is told ("File '%s'
// was not in the project.") and skipped.
void IcmdRemoveFilesQuietly(const std::vector<boost::shared_ptr<IfileObjectEx>>& files);
// For every unit that several files define, the file in use: (unit name,
// file), in the order of the file manager's error groups.
std::vector<std::pair<std::string, IfileObject>> IcmdGetDefinitionsInUse();
