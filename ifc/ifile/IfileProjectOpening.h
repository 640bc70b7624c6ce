// What the file manager shares with the opening of a project: the add-file
// command it hands each file of the project file to, and the switch that
// keeps a reopened copy quiet about missing files. (The files found changed
// since the project was last open are listed by the project reader, from the
// registered entries.)
#pragma once

#include "icmd/IcmdAddFileToModel.h"

// The add-file command as the file manager calls it: IcmdDoAddFileToModel
// (its member-file form), which parses the file into design units and
// updates the flow's states. Tests may put another function in its place.
using IfileAddFileToModelFunction = boost::shared_ptr<IfileObjectEx> (*)(const IfileObjectEx&, bool, bool, bool,
                                                                         std::deque<IfileObject>*,
                                                                         std::vector<std::string>*, bool,
                                                                         VyIfaces::IComponent*, bool, bool,
                                                                         std::vector<VyIfaces::IComponent*>*);
IfileAddFileToModelFunction& IfileAddFileToModelHook();

// True while save-as reopens the copied project: a missing local file is
// then not traced.
bool& IfileSkipFileDoesNotExistMessage();

// The members of the project file that are no regular files (a device, a
// named pipe, a folder), in the order the read met them: each is reported
// once, not read, and left out of the project. The opening of a project
// empties the list first and answers with it.
std::vector<std::string>& IfileMembersNotRead();
