// The extended-info cache; descriptions are loaded into it by the
// place-and-route work, until then it holds none.
#pragma once

#include "ifile/IfileExtendedInfoManager.h"

class ifileExtendedInfoManagerImpl : public IfileExtendedInfoManager {
public:
    ifileExtendedInfoManagerImpl() = default;

    // The cache holds no description yet: with `load` the database's
    // description is read for the question (through the place-and-route
    // tool), without it there is none to ask.
    bool IsDependingOn(const IfileObject& database, const IfileObject& file, bool load) override;
};
