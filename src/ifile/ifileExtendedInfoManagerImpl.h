// The extended-info cache; descriptions are loaded into it by the
// place-and-route work, until then it holds none.
#pragma once

#include "ifile/IfileExtendedInfoManager.h"

class ifileExtendedInfoManagerImpl : public IfileExtendedInfoManager {
public:
    ifileExtendedInfoManagerImpl() = default;
};
