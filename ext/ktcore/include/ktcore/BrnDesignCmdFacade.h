// The command side of the core-design library: the Tcl commands of core
// designs, registered with the foundation's command manager.
#pragma once

namespace Brndesign {

class BrnDesignCmdFacade {
public:
    // Registers the core-design commands. This library offers no such
    // command, so it registers nothing; true.
    static bool RegisterCommands();

    BrnDesignCmdFacade() = delete;
};

}  // namespace Brndesign
