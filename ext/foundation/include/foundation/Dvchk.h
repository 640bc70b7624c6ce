// The suite's device checks: whether the device a project targets is still
// offered. A device is obsolete when the options database says so: the
// variable IS_DEVICE_OBSOLETE, scoped by the query variables QFAM and QDIE,
// reads 1 for the family and die of the current device (the variables FAM
// and DIE).
#pragma once

// Whether the current device is obsolete; with `warn`, the warning
// DEVICE_OBSOLETE (catalogue "Dvchk") says so. No question is asked, so the
// interactive flag and the parent window change nothing here.
bool DvchkWarnIfCurrentDeviceObsolete(bool interactive, void* parentWindow, bool warn);
