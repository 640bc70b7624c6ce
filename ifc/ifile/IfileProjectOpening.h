// What the file manager shares with the opening of a project: the switch
// that keeps a reopened copy quiet about missing files. (Each file of the
// project file goes to the add-file command through ImodelCommandServices;
// the files found changed since the project was last open are listed by the
// project reader, from the registered entries.)
#pragma once

// True while save-as reopens the copied project: a missing local file is
// then not traced.
bool& IfileSkipFileDoesNotExistMessage();

// The members of the project file that are no regular files (a device, a
// named pipe, a folder), in the order the read met them: each is reported
// once, not read, and left out of the project. The opening of a project
// empties the list first and answers with it.
std::vector<std::string>& IfileMembersNotRead();
