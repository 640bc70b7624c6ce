// What the revision contexts and their tool-states managers tell the rest of
// the model after a change: the project needs a save, and the process
// manager hears of it (it routes the change to the design flow).
#pragma once

#include "imodel/design/ImodelDesignManager.h"
#include "imodel/model/Imodel.h"
#include "iprocess/IprocessManager.h"

inline void imodelContextMarkNeedSave() { Imodel::GetInstance().GetDesignManager()->SetNeedSave(true); }

inline IprocessManager& imodelContextProcessManager() { return *Imodel::GetInstance().GetProcessManager(); }

inline bool imodelContextIsDebugState() { return Imodel::GetInstance().IsDebugState(); }
