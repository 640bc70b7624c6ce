// refresh: builds the design hierarchy again from the project's files.
//
//   refresh
//
// Every library is emptied (its settings kept), every schematic and then
// every HDL file is parsed again, and what the user chose before stays: the
// file used for a unit that several files define, the root, and the data
// kept with each unit. Always succeeds.
#pragma once

#include "icmd/IcmdCommandFactory.h"

// Runs refresh in process; with `keep` the command manager keeps it.
void IcmdDoRefresh(bool keep);

IcmdCommandFactory IcmdRefreshFactory();
