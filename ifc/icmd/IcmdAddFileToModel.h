// The in-process entry point of the add-file command: registers the file
// (unless the caller already did), parses it into design units and updates
// the flow's states. Its settings, in the command's order: the file, the
// files and units to skip, whether to update the file manager, to parse the
// file, to use it even when its units are already defined elsewhere, to
// report such units, the block-design component, whether to update the
// states, to move the file to its library, and the components found.
// Answers the project's entry of the file; empty when it was not added.
#pragma once

#include <boost/shared_ptr.hpp>

#include <deque>
#include <string>
#include <vector>

class IfileObject;
class IfileObjectEx;
namespace VyIfaces {
class IComponent;
}

boost::shared_ptr<IfileObjectEx> IcmdDoAddFileToModel(const IfileObjectEx& file, bool updateFileManager, bool parse,
                                                      bool useEvenIfDefined, std::deque<IfileObject>* skipFiles,
                                                      std::vector<std::string>* skipModules, bool printError,
                                                      VyIfaces::IComponent* component, bool updateState,
                                                      bool moveToLibrary,
                                                      std::vector<VyIfaces::IComponent*>* components);
