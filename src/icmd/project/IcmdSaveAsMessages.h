// The messages of save_project_as that the model's table does not hold.
#pragma once

// "Unable to copy the project to '%s': there is no host application to copy
// its folder." (error).
int IcmdDisplaySAVE_AS_NO_COPY_MSG(const char* folder);
// "The project cannot be saved as '%s': that folder lies inside the project
// folder '%s'." (error).
int IcmdDisplaySAVE_AS_INSIDE_PROJECT_MSG(const char* folder, const char* project);
// "The %d linked files of the project cannot be replaced by local copies:
// the unlink command is not available." (error).
int IcmdDisplaySAVE_AS_LINKS_NOT_REPLACED_MSG(int links);
