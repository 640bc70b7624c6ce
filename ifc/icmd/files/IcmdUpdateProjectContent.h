// Applies changes found on disk to the project: the removed files leave it
// (delete_files, nobody asked), the added or changed ones are added again
// (add_file, parsed), and every unit that several files define keeps the
// definition it used before. The design's libraries are saved around the
// change and restored with `params`.
#pragma once

#include "ifile/IfileObject.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <utility>
#include <vector>

class IfileManager;
class IfileObjectEx;
struct zorpaSaveRestoreParams;

void IcmdUpdateProjectContent(const std::vector<boost::shared_ptr<IfileObjectEx>>& removed,
                              const std::vector<boost::shared_ptr<IfileObjectEx>>& added,
                              const zorpaSaveRestoreParams& params);

// The file in use of every unit that several files define: (unit name,
// file) pairs, in the order of the file manager's error groups.
std::vector<std::pair<std::string, IfileObject>> IcmdCollectUsedDefinitions(IfileManager& files);
