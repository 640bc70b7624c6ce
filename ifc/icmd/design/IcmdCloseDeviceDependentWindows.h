// What the host calls before it changes the project's device: the editors
// whose content depends on the device (open constraint editors and open
// designs of the core workspace) must be closed first.
#pragma once

class ImodelDevice;

// Asks the user ("CLOSE_DOCS", owned by `parentWindow`; a running script
// answers OK) to close the editors that depend on `newDevice`, and closes
// them. True when none of them is left open; false when the user refused or
// an editor did not close (the device must not change then).
bool IcmdDoCloseDeviceDependentWindows(void* parentWindow, const ImodelDevice& newDevice);
