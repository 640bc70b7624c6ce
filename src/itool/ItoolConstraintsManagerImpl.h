// The constraints manager has no state of its own beyond the registration
// list of the tools.
#pragma once

#include "itool/ItoolConstraintsManager.h"

class ItoolConstraintsManagerImpl : public ItoolConstraintsManager {
public:
    ItoolConstraintsManagerImpl() = default;
    ~ItoolConstraintsManagerImpl() override = default;
};
