// The messages of the project commands that the model's table does not hold.
#pragma once

// "The project file '%s' is damaged: %s." (error): a project file that
// cannot be read as a whole; the second text says where.
int IcmdDisplayPROJECT_FILE_DAMAGED_MSG(const char* fileName, const char* what);
// "'%s' cannot be the %s of a project: it must be one folder name, without
// '/', '\\', '..', a double quote or a control character." (error).
int IcmdDisplayINVALID_PROJECT_NAME_MSG(const char* name, const char* what);
