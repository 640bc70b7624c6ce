// The revision manager. Views are read from the project file or created by
// the revision work; until then the project has no view, and every answer
// is that of a project without views.
#pragma once

#include "imodel/ImodelRevisionManager.h"

class imodelRevisionManagerImpl : public ImodelRevisionManager {
public:
    imodelRevisionManagerImpl() = default;

    int GetCurrentRevisionNumber() const override { return 0; }
    std::string GetCurrentRevisionName() const override { return {}; }
    int GetRevisionCount() const override { return 0; }
};
