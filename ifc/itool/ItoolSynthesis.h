// The synthesis tool: each module's synthesis constraint files and the
// result file a synthesis run leaves. The project model owns the one object.
#pragma once

#include "itool/ItoolWithConstraints.h"

class ItoolSynthesis : public ItoolWithConstraints {
protected:
    ItoolSynthesis() : ItoolWithConstraints(ideSYNTHESIS) {}
};
