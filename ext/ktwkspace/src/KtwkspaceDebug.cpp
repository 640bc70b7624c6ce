#include "KtwkspaceDebug.h"

#include <foundation/Def.h>
#include <foundation/Sys.h>

namespace Ktwkspace {

void DebugLine(const std::string& text)
{
    int on = 0;
    if (DefGetBoolFL("DEBUG_MSG", &on, __FILE__, __LINE__) == 0 && on == 1) SysDebugPrintf("%s\n", text.c_str());
}

}  // namespace Ktwkspace
