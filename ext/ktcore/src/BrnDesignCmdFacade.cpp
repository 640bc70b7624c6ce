#include "ktcore/BrnDesignCmdFacade.h"

namespace Brndesign {

bool BrnDesignCmdFacade::RegisterCommands() { return true; }

}  // namespace Brndesign
