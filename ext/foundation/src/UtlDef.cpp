// Text options for the system layer's callers.
#include "foundation/Sys.h"

#include "foundation/Def.h"

bool UtlDefGetStr(const char* name, std::string& value) { return name && DefGetStrFL(name, value) == 0; }
