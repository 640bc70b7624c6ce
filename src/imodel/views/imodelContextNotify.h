// What the revision contexts and their tool-states managers tell the rest of
// the model after a change: the project needs a save, and the process
// manager hears of it (it routes the change to the design flow).
#pragma once

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/design/ImodelModule.h"
#include "imodel/model/Imodel.h"
#include "iprocess/IprocessManager.h"

inline void imodelContextMarkNeedSave() { Imodel::GetInstance().GetDesignManager()->SetNeedSave(true); }

inline IprocessManager& imodelContextProcessManager() { return *Imodel::GetInstance().GetProcessManager(); }

inline bool imodelContextIsDebugState() { return Imodel::GetInstance().IsDebugState(); }

// Told before the unit's views change what a restore of the libraries gives
// back (states, options, used files, the views themselves): a change of the
// design's units under way keeps the unit's data as it was. Nothing for a
// context of no unit (a record kept for a restore).
inline void imodelContextWillChange(const ImodelModule* unit)
{
    if (unit != nullptr) unit->KeptDataMayChange();
}
