#include "itool/ItoolSetupFiles.h"

// The writers of the set-up files are not part of the library yet: until
// they are, creating and opening a project write no set-up file, and these
// entry points do nothing.

void ItoolCreateModelSim() {}

void ItoolUpdateModelSim(bool, const std::string&) {}

void ItoolCreateViewdraw(bool) {}

void ItoolUpdateViewdraw(bool) {}
