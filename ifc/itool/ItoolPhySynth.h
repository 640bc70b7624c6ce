// The physical-synthesis tool: the constraint-file lists kept in each
// unit's physical-synthesis options. The project model owns the one object.
#pragma once

#include "itool/ItoolWithConstraints.h"
#include <memory>

class ItoolPhySynth : public ItoolWithConstraints {
protected:
    ItoolPhySynth() : ItoolWithConstraints(idePHYSYNTH) {}
};

// The physical-synthesis tool object, for the project singleton to own.
std::unique_ptr<ItoolPhySynth> ItoolCreatePhySynth();
