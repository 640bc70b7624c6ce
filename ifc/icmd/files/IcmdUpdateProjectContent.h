// Changes to many project files at once, made file by file through the
// in-process entry points of the content commands.
#pragma once

#include "ifile/IfileObject.h"
#include "imodel/names/ImodelToolKinds.h"

#include <boost/shared_ptr.hpp>

#include <deque>
#include <string>
#include <utility>
#include <vector>

class IfileManager;
class IfileObjectEx;
class ImodelModule;
struct zorpaSaveRestoreParams;

// The project update after changes found on disk (the file watcher, the
// block-design tool): the files of `removed` leave the project (delete_files,
// nobody asked), then each file of `added` is added again and parsed; the
// units that several files define keep the definition they used before. One
// save of the design's libraries stands around the whole update (restored
// with `params`), so that it costs what it changes. Nothing for two empty
// lists.
void IcmdUpdateProjectContent(const std::vector<boost::shared_ptr<IfileObjectEx>>& removed,
                              const std::vector<boost::shared_ptr<IfileObjectEx>>& added,
                              const zorpaSaveRestoreParams& params);
// The file in use of every unit that several files define: (unit name,
// file) pairs, in the order of the file manager's error groups.
std::vector<std::pair<std::string, IfileObject>> IcmdCollectUsedDefinitions(IfileManager& files);
// The defining files of the units of `modules` and everything below them
// that the tool (and profile) does not use leave the design model; they stay
// in the project. The file list is not consulted.
void IcmdDoRemoveUnusedFile(ImodelFunctionType tool, const char* profile, const std::deque<ImodelModule*>* modules,
                            const std::deque<IfileObjectEx>& files);
// Every linked file below the folder `from` is pointed at the same place
// below `to` (change_link_source). Folders are whole path components, named
// with either separator and in any letter case; the rest of each name keeps
// its case. True when every retargeting succeeded (also when there was none).
bool IcmdDoRetargetAll(const std::string& from, const std::string& to, bool keep);
// Every linked file is copied into the project (unlink). True when every
// copy succeeded (also when there was none).
bool IcmdDoUnlinkAll(bool keep);
