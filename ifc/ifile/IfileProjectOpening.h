// What the file manager shares with the opening of a project: the add-file
// command it hands each file of the project file to, and the switch that
// keeps a reopened copy quiet about missing files. (The files found changed
// since the project was last open are listed by the project reader, from the
// registered entries.)
#pragma once

#include "icmd/IcmdAddFileToModel.h"

// The add-file command as the file manager calls it (IcmdDoAddFileToModel's
// signature). The design-content commands set it to IcmdDoAddFileToModel
// when they are registered. Until then it answers the project's entry of
// the file, which the file manager has just registered, without parsing the
// file into design units or updating the flow's states.
using IfileAddFileToModelFunction = decltype(&IcmdDoAddFileToModel);
IfileAddFileToModelFunction& IfileAddFileToModelHook();

// True while save-as reopens the copied project: a missing local file is
// then not traced.
bool& IfileSkipFileDoesNotExistMessage();
