// The synthesis tool: each module's synthesis constraint files and the
// result file a synthesis run leaves. The project model owns the one object.
#pragma once

#include "itool/ItoolWithConstraints.h"
#include <memory>

class ItoolSynthesis : public ItoolWithConstraints {
protected:
    ItoolSynthesis() : ItoolWithConstraints(ideSYNTHESIS) {}
};

// The synthesis tool object, for the project singleton to own.
std::unique_ptr<ItoolSynthesis> ItoolCreateSynthesis();
