// The in-process entry points of the add-file command (IcmdAddAndDeleteFile.h
// holds the command): registers the file, parses it into design units and
// updates the flow's states. Their settings, in the command's order: the
// file, the files and units to skip, whether to update the file manager, to
// parse the file, to use it even when its units are already defined
// elsewhere, to report such units, the block-design component, whether to
// update the states, to move the file to its library, and the components
// found. Each answers the project's entry of the file; empty when it was not
// added.
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
// The same for a file value: the command makes a member file of it, with
// the attributes of a new member.
boost::shared_ptr<IfileObjectEx> IcmdDoAddFileToModel(const IfileObject& file, bool updateFileManager, bool parse,
                                                      bool useEvenIfDefined, std::deque<IfileObject>* skipFiles,
                                                      std::vector<std::string>* skipModules, bool printError,
                                                      VyIfaces::IComponent* component, bool updateState,
                                                      bool moveToLibrary,
                                                      std::vector<VyIfaces::IComponent*>* components);
